// Administrator mode, exit, and leaving service mode on unload.

#include "frame/Uscita.h"

#include "frame/Sessione.h"
#include "island/Regole.h"

namespace ondrix {

namespace {
constexpr const char* PasswordAmministratore = "VELIROMANTICO";
} // namespace

void Image1_DblClick(Sessione& c)
{
    Model& m = c.m;
    if (c.host.inputBox("", m.testi.TitoloPassword, "") != PasswordAmministratore)
        return;
    // The body chosen in the list; a selection that names no row unlocks nothing.
    const int riga = m.EspansioneCorrente + 1;
    if (!m.Espansioni.valid(riga) || m.Espansioni(riga).RevPic < firmware::CorpoAmministratore)
        return;
    c.f.CmdBootloader.setVisible(true);
    c.f.TxtColpi.setVisible(true);
    c.f.CmdAzzera.setVisible(true);
}

void CmdBootloader_Click(Sessione&) {}

void CmdEsci_Click(Sessione& c) { Form_Unload(c); }

void Form_Unload(Sessione& c)
{
    c.invia(dialogo::ExitSv());
    c.ch.end(0);
}

} // namespace ondrix
