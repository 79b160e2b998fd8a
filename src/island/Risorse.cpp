#include "island/Risorse.h"

#include "channel/Host.h"
#include "frame/Configuratore.h"

// Placeholder until the text resources are built.
namespace ondrix {
std::string percorsoRisorse(Host& host) { return host.programDir() + "/Stringhe.txt"; }
void CaricaTesti(Configuratore&) {}
int LeggiChiaveFinestra(Host&, const std::string&) { return 0; }
} // namespace ondrix
