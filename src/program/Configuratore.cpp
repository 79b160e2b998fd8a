#include "program/Configuratore.h"

#include "channel/Dispositivi.h"

namespace ondrix {

Configuratore::Configuratore(Host& h, SerialPort& p)
    : Proprieta(h, p), Sessione(h, canale, modello, finestra), port(p)
{
    for (int n = PrimaPorta; n <= UltimaPorta; ++n)
        porteRicerca.push_back(n);
    // A port that fails by itself, at any moment, ends the program as a
    // time-out does, at once.
    perdita = port.onLost([this] { canale.portLost(); });
}

} // namespace ondrix
