#include "frame/Configuratore.h"
#include "frame/Gestori.h"

#include <cstdlib>

// Placeholder until this subsystem is built.
namespace ondrix {
void Image1_DblClick(Configuratore&) {}
void CmdBootloader_Click(Configuratore&) {}
void CmdEsci_Click(Configuratore& c) { Form_Unload(c); }
void Form_Unload(Configuratore& c) { c.host.endProgram(0); std::abort(); }
} // namespace ondrix
