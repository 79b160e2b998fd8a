// Switching valve coils: the selected one (CmdAziona) or all of them (CmdAll).
// The island's words run the electrical way: "CLOSE" energises a coil.

#include "commands/Comandi.h"

#include "frame/Bobine.h"
#include "frame/Sessione.h"
#include "island/Diagnosi.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

namespace ondrix {

void CmdAziona_Click(Sessione& c)
{
    Control* b = bobinaCorrente(c.m, c.f);
    if (!b)
        return;
    // The caption is the coil's fieldbus index; without one there is no coil to name.
    const auto indice = numeroCaption(b->caption());
    if (!indice)
        return;
    const std::string caption = b->caption();
    const Testi& t = c.m.testi;
    const bool eccita = c.f.CmdAziona.caption() == t.CaptChiudi;

    c.invia(eccita ? dialogo::CloseValvola(caption) : dialogo::OpenValvola(caption));

    c.f.CmdAziona.setCaption(eccita ? t.CaptApri : t.CaptChiudi);
    c.f.CmdAziona.setEnabled(true);
    // An energised coil cannot be disabled.
    c.f.CmdAbilita.setCaption(t.CaptDisabilita);
    c.f.CmdAbilita.setEnabled(!eccita);
    b->setBackColor(*coloreStato(eccita ? stato::Attivata : stato::Presente));

    const int r = rigaDiagnosiOSentinella(c.m, *indice);
    DiagnosiBobina(c.ch, c.m, r, *indice);

    int s = c.m.Diagnosi(r).Stato;
    if (r != RigaSentinella) {
        // The diagnosis does not tell energised from not; the command does.
        RigaDiagnosi& d = c.m.Diagnosi(r);
        if (eccita && d.Stato == stato::Presente)
            d.Stato = stato::Attivata;
        else if (!eccita && d.Stato == stato::Attivata)
            d.Stato = stato::Presente;
        s = d.Stato;
    }
    if (auto col = coloreStato(s))
        b->setBackColor(*col);
    if (guasta(s)) {
        c.f.CmdAziona.setEnabled(false);
        c.f.CmdAbilita.setEnabled(false);
        c.f.CmdRelax.setEnabled(false);
        b->setEnabled(false);
    }
}

void CmdAll_Click(Sessione& c)
{
    const Testi& t = c.m.testi;
    const bool eccita = c.f.CmdAll.caption() == t.CaptChiudiAll;

    c.invia(eccita ? dialogo::CloseAll() : dialogo::OpenAll());
    c.f.CmdAll.setCaption(eccita ? t.CaptApriAll : t.CaptChiudiAll);
    c.f.CmdAll.setEnabled(true);

    DiagnosiIsola(c.ch, c.m);

    for (int r = 1; r <= MaxDiagnosi; ++r) {
        RigaDiagnosi& d = c.m.Diagnosi(r);
        if (eccita && d.Stato == stato::Presente)
            d.Stato = stato::Attivata;
        else if (!eccita && d.Stato == stato::Attivata)
            d.Stato = stato::Presente;
    }

    // Only the coils the command switched are repainted: absent, disabled and
    // faulty ones keep their colour.
    const Rgb switched = *coloreStato(eccita ? stato::Presente : stato::Attivata);
    for (Control* b : c.f.Bobina) {
        if (b->backColor() != switched)
            continue;
        const auto indice = numeroCaption(b->caption());
        const int r = indice ? rigaDiagnosiOSentinella(c.m, *indice) : RigaSentinella;
        const int s = c.m.Diagnosi(r).Stato;
        if (auto col = coloreStato(s))
            b->setBackColor(*col);
        if (guasta(s))
            b->setEnabled(false);
    }
}

} // namespace ondrix
