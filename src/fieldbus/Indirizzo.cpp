#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Numeri.h"

#include <cmath>

namespace ondrix {

namespace {

struct Intervallo {
    int min, max;
};

// Slave addresses each fieldbus allows.
Intervallo intervallo(int protocollo)
{
    switch (protocollo) {
    case 2:  // CANOPEN
        return {1, 127};
    case 3:  // DEVICENET
        return {1, 63};
    default:  // PROFIBUS
        return {3, 126};
    }
}

} // namespace

void CmdPAddress_Click(Configuratore& c)
{
    const Intervallo r = intervallo(c.m.Protocollo);
    c.m.Risposta = c.invia("SET SLAVE ADDRESS", "NUM:");
    // The island now waits for a number: the dialogue is always completed,
    // a cancel re-sends the current address.
    double valore;
    for (;;) {
        std::string risposta = c.host.inputBox(c.m.testi.TestiInput(1), c.f.caption(), "");
        if (risposta.empty()) {
            const std::string& cap = c.f.PROFIBUS.caption();
            const std::size_t p = cap.find(':');
            risposta = trim(p == std::string::npos ? std::string_view() : std::string_view(cap).substr(p + 1));
        }
        c.m.Risposta = risposta;
        valore = valoreIniziale(risposta);
        if (valore >= r.min && valore <= r.max)
            break;
    }
    // What the island gets and the label shows is the number accepted, never
    // the raw typed text ("12abc" is sent as 12).
    const std::string indirizzo = testo(arrotonda16(valore));
    c.f.PROFIBUS.setCaption(finoAlDuePunti(c.f.PROFIBUS.caption()) + indirizzo);
    c.m.Risposta = c.invia(indirizzo, "OK");
}

} // namespace ondrix
