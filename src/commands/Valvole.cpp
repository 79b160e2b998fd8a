#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void CmdAziona_Click(Configuratore&) {}
void CmdAll_Click(Configuratore&) {}
} // namespace ondrix
