#pragma once
// What the window's handlers work on: the host (dialogs, pointer, keyboard,
// screen), the channel to the island, the island model and the window's
// controls. The program object provides it; a handler takes nothing else.

#include "channel/Channel.h"
#include "channel/Host.h"
#include "form/Form.h"
#include "island/Dialoghi.h"
#include "island/Model.h"

#include <span>
#include <string>

namespace ondrix {

struct Sessione {
    Sessione(Host& h, Channel& c, Model& mo, Form& fo) : host(h), ch(c), m(mo), f(fo) {}
    Sessione(const Sessione&) = delete;
    Sessione& operator=(const Sessione&) = delete;

    Host& host;
    Channel& ch;
    Model& m;
    Form& f;

    // A dialogue with the island on the one port; the reply to its last line.
    std::string invia(std::span<const Scambio> dialogo) { return InviaDialogo(ch, dialogo); }
};

} // namespace ondrix
