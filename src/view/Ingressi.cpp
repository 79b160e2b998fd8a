#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void DisegnaInput(Configuratore&, int) {}
void OptInput_Click(Configuratore&) {}
void OptOutput_Click(Configuratore&) {}
void Combo2_Click(Configuratore&) {}
} // namespace ondrix
