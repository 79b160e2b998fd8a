#pragma once
// The program object: the configurator's one window and everything it owns,
// the island model, the control set and the command channel, on the host it
// runs on and its serial port. Its handlers see it as a Sessione.

#include "channel/Channel.h"
#include "channel/Host.h"
#include "channel/SerialPort.h"
#include "form/Form.h"
#include "frame/Sessione.h"
#include "island/Model.h"

#include <functional>
#include <string>
#include <vector>

namespace ondrix {

namespace detail {

// What the program owns, built before the session that refers to it. The
// channel's pause and time-out message come from the texts, its title from
// the window's caption.
class Proprieta : public ParametriCanale {
public:
    Proprieta(Host& h, SerialPort& p) : canale(p, h, *this) {}

    float Ritardo() const override { return modello.testi.Ritardo; }
    std::string messaggioTimeout() const override { return modello.testi.MessaggioTimeout(); }
    std::string titolo() const override { return finestra.caption(); }

    Model modello;
    Form finestra;
    Channel canale;
};

} // namespace detail

struct Configuratore : private detail::Proprieta, public Sessione {
    Configuratore(Host& h, SerialPort& p);

    SerialPort& port;

    // The ports the search tries: 1..16, or the one named on the command line.
    std::vector<int> porteRicerca;
    // "ENTER SV" has been sent: leaving owes "EXIT SV".
    bool servizio = false;
    // The port search is running; the user or the system asked it to stop.
    bool inRicerca = false;
    bool ricercaInterrotta = false;

    // A tick of the input poll holds the line. The poll is not the user's
    // doing: the last click or list choice that comes during it (the close
    // box before any click) waits here and runs once the tick is over.
    struct Rinvio {
        bool polling = false;
        bool chiusura = false;  // the event kept is the close box
        std::function<void()> evento;
    };
    Rinvio rinvio;

    // The port's loss callback, which refers to this object: unregistered
    // when it goes.
    Registration perdita;
};

} // namespace ondrix
