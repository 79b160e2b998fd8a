#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void CmdAbilita_Click(Configuratore&) {}
void CmdDisableAll_Click(Configuratore&) {}
} // namespace ondrix
