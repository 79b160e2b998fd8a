#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void Form_Activate(Configuratore&) {}
} // namespace ondrix
