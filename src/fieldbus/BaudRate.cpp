#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void CmdTerminazione_Click(Configuratore&) {}
void CmdBaudRate_Click(Configuratore&) {}
} // namespace ondrix
