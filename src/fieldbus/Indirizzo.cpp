// The island's slave address: asked for until it lies in the protocol's range.

#include "fieldbus/Fieldbus.h"

#include "frame/Sessione.h"
#include "island/Numeri.h"
#include "island/Regole.h"

namespace ondrix {

void CmdPAddress_Click(Sessione& c)
{
    const Intervallo r = intervalloIndirizzo(c.m.Protocollo);
    // The command word goes first and the island then waits for the number:
    // the dialogue is always completed, a cancel re-sends the current address.
    const Dialogo comando = dialogo::SetSlaveAddress(0);
    c.invia(std::span(comando).first(1));
    double valore;
    for (;;) {
        std::string risposta = c.host.inputBox(c.m.testi.TestiInput(1), c.f.caption(), "");
        if (risposta.empty()) {
            const std::string& cap = c.f.PROFIBUS.caption();
            const std::size_t p = cap.find(':');
            risposta = trim(p == std::string::npos ? std::string_view() : std::string_view(cap).substr(p + 1));
        }
        valore = valoreIniziale(risposta);
        if (r.contiene(valore))
            break;
    }
    // What the island gets and the label shows is the number accepted, never
    // the raw typed text ("12abc" is sent as 12).
    const std::int16_t indirizzo = arrotonda16(valore);
    c.f.PROFIBUS.setCaption(finoAlDuePunti(c.f.PROFIBUS.caption()) + testo(indirizzo));
    c.m.IndirizzoSlave = indirizzo;
    const Dialogo d = dialogo::SetSlaveAddress(indirizzo);
    c.invia(std::span(d).subspan(1));
}

} // namespace ondrix
