// Relax of the selected coil, its stroke counter reset, and the island reset.

#include "commands/Comandi.h"

#include "frame/Bobine.h"
#include "frame/Sessione.h"
#include "frame/Uscita.h"
#include "island/Numeri.h"

#include <vector>

namespace ondrix {

void CmdRelax_Click(Sessione& c)
{
    Control* b = bobinaCorrente(c.m, c.f);
    if (!b)
        return;
    // Row n + 1 holds the coil of index n; anything else names no row.
    const auto indice = indiceCaption(b->caption());
    if (!indice)
        return;
    RigaDiagnosi& d = c.m.Diagnosi(*indice + 1);
    const Testi& t = c.m.testi;
    if (!b->bold()) {
        b->setBold(true);
        c.f.CmdRelax.setCaption(t.CaptNoRelax);
        d.Relax = 1;
    } else {
        b->setBold(false);
        c.f.CmdRelax.setCaption(t.CaptRelax);
        d.Relax = 0;
    }

    // The island always gets the whole list, ended by "1000".
    std::vector<int> indici;
    for (int r = 1; r <= MaxDiagnosi; ++r)
        if (c.m.Diagnosi(r).Relax == 1)
            indici.push_back(r - 1);
    c.invia(dialogo::SetRelax(indici));
}

void CmdAzzera_Click(Sessione& c)
{
    const auto riga = rigaConfDellaBobina(c.m, c.f, c.m.BobinaCorrente);
    if (!riga)
        return;
    const int posizione = c.m.ConfBobine(*riga).Posizione;
    c.invia(dialogo::ZeroContacolpi(c.f.Combo1.text(), posizione));
    c.f.TxtColpi.setText("0");
}

void CmdReset_Click(Sessione& c)
{
    c.invia(dialogo::Clear());
    c.host.messageBox(c.m.testi.Messaggi(msg::Spegnere), c.f.caption(), MessageButtons::Ok);
    Form_Unload(c);
}

} // namespace ondrix
