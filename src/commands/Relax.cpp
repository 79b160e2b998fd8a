#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void CmdRelax_Click(Configuratore&) {}
void CmdAzzera_Click(Configuratore&) {}
void CmdReset_Click(Configuratore&) {}
} // namespace ondrix
