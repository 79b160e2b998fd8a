// Administrator mode, exit, and leaving service mode on unload.

#include "frame/Configuratore.h"
#include "frame/Gestori.h"

#include <cstdlib>

namespace ondrix {

namespace {
constexpr const char* PasswordAmministratore = "VELIROMANTICO";
constexpr int RevPicAmministratore = 35;
} // namespace

void Image1_DblClick(Configuratore& c)
{
    Model& m = c.m;
    m.Risposta = c.host.inputBox("", "PASSWORD", "");
    if (m.Risposta != PasswordAmministratore)
        return;
    // The body chosen in the list; a selection that names no row unlocks nothing.
    const int riga = m.EspansioneCorrente + 1;
    if (!m.Espansioni.valid(riga) || m.Espansioni(riga).RevPic < RevPicAmministratore)
        return;
    c.f.CmdBootloader.setVisible(true);
    c.f.TxtColpi.setVisible(true);
    c.f.CmdAzzera.setVisible(true);
}

void CmdBootloader_Click(Configuratore&) {}

void CmdEsci_Click(Configuratore& c) { Form_Unload(c); }

void Form_Unload(Configuratore& c)
{
    c.invia("EXIT SV", "OK");
    try {
        if (c.port.isOpen())
            c.port.close();
    } catch (const PortError&) {
        // The program ends all the same.
    }
    c.host.endProgram(0);
    std::abort();  // endProgram never returns
}

} // namespace ondrix
