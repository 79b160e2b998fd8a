#include "program/Configuratore.h"

namespace ondrix {

Configuratore::Configuratore(Host& h, SerialPort& p)
    : Proprieta(h, p), Sessione(h, canale, modello, finestra), port(p)
{
    for (int n = 1; n <= 16; ++n)
        porteRicerca.push_back(n);
    // A port that fails by itself, at any moment, ends the program as a
    // time-out does, at once.
    port.onLost([this] { canale.portLost(); });
}

} // namespace ondrix
