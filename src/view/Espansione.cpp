#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void DisegnaEspansione(Configuratore&, int) {}
void Combo1_Click(Configuratore&) {}
} // namespace ondrix
