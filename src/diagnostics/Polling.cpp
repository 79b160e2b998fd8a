#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void Timer1_Timer(Configuratore&) {}
} // namespace ondrix
