#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void Bobina_Click(Configuratore&, int) {}
} // namespace ondrix
