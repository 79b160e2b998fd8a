#include "program/Configuratore.h"

namespace ondrix {

Configuratore::Configuratore(Host& h, SerialPort& p)
    : Proprieta(h, p), Sessione(h, canale, modello, finestra), port(p)
{
}

} // namespace ondrix
