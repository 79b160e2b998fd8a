#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void DiagnosiIsola(Configuratore&) {}
void DiagnosiBobina(Configuratore&, int, int) {}
} // namespace ondrix
