// Taking coils out of service and back: CmdAbilita for the selected coil,
// CmdDisableAll for every coil. A disabled coil carries 170 in place of its
// fieldbus index, in Diagnosi and in ConfBobine, and its button shows its
// position on the body on pale yellow.

#include "commands/Comandi.h"

#include "frame/Bobine.h"
#include "frame/Sessione.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

#include <cmath>

namespace ondrix {

namespace {

// The commands a coil offers once it is disabled (enable it again) or
// enabled (switch it, disable it, relax).
void pulsantiBobina(Sessione& c, bool disabilitata)
{
    const Testi& t = c.m.testi;
    c.f.CmdAziona.setCaption(t.CaptChiudi);
    c.f.CmdAziona.setEnabled(!disabilitata);
    c.f.CmdAbilita.setCaption(disabilitata ? t.CaptAbilita : t.CaptDisabilita);
    c.f.CmdAbilita.setEnabled(true);
    c.f.CmdRelax.setCaption(disabilitata ? t.CaptNoRelax : t.CaptRelax);
    c.f.CmdRelax.setEnabled(!disabilitata);
}

constexpr RigaDiagnosi RigaDisabilitata{IndiceDisabilitato, stato::Presente, 0};

void disabilita(Sessione& c, Control& b)
{
    // Every row is found before anything is sent, so the island and the
    // tables either both change or neither does.
    const auto indice = numeroCaption(b.caption());
    if (!indice || *indice == IndiceDisabilitato)
        return;
    const auto conf = rigaConfPerIndice(c.m, *indice);
    if (!conf)
        return;
    const auto diag = rigaDiagnosi(c.m, *indice);
    if (!diag)
        return;

    c.invia(dialogo::DisableValvola(b.caption()));

    pulsantiBobina(c, true);
    b.setBackColor(ColoreDisabilitata);
    b.setBold(false);
    ConfBobina& cb = c.m.ConfBobine(*conf);
    b.setCaption(testo(cb.Posizione));
    cb.Indice = IndiceDisabilitato;
    c.m.Diagnosi(*diag) = RigaDisabilitata;
}

// The typed index, when it is acceptable: 0..31 and held by no coil.
std::optional<int> indiceAccettabile(const Model& m, const std::string& risposta)
{
    const double v = valoreIniziale(risposta);
    // Rounded before the checks, so "2.6" cannot slip in as a used 3.
    if (!(v > -0.5 && v < MaxDiagnosi - 0.5))
        return std::nullopt;
    const int n = arrotonda16(v);
    if (n < 0 || n >= MaxDiagnosi || rigaDiagnosi(m, n))
        return std::nullopt;
    return n;
}

std::optional<int> rigaLibera(const Model& m)
{
    for (int r = 1; r <= MaxDiagnosi; ++r) {
        const int i = m.Diagnosi(r).Indice;
        if (i == IndiceDisabilitato || i == IndiceAssente)
            return r;
    }
    return std::nullopt;
}

void abilita(Sessione& c, Control& b)
{
    const auto posizione = numeroCaption(b.caption());
    if (!posizione)
        return;
    const auto conf = rigaConfPerPosizione(c.m, c.f, *posizione);
    const auto diag = rigaLibera(c.m);
    if (!conf || !diag)
        return;

    std::optional<int> nuovo;
    while (!nuovo) {
        const std::string risposta = c.host.inputBox(c.m.testi.TestiInput(2), c.f.caption(), "");
        if (risposta.empty())
            return;
        nuovo = indiceAccettabile(c.m, risposta);
    }

    const std::string posizioneTesto = b.caption();
    c.invia(dialogo::EnableValvola(c.f.Combo1.text(), posizioneTesto, *nuovo));

    pulsantiBobina(c, false);
    b.setBackColor(*coloreStato(stato::Presente));
    b.setBold(false);

    c.m.PrimaBobina = static_cast<std::int16_t>(corpoMostrato(c.m, c.f).prima);
    b.setCaption(testo(*nuovo));
    c.m.ConfBobine(*conf).Indice = static_cast<std::int16_t>(*nuovo);
    c.m.Diagnosi(*diag) = RigaDiagnosi{static_cast<std::int16_t>(*nuovo), stato::Presente, 0};
}

struct Clessidra {
    explicit Clessidra(Host& h) : h_(h) { h_.setBusyPointer(true); }
    ~Clessidra() { h_.setBusyPointer(false); }
    Host& h_;
};

} // namespace

void CmdAbilita_Click(Sessione& c)
{
    Control* b = bobinaCorrente(c.m, c.f);
    if (!b)
        return;
    if (c.f.CmdAbilita.caption() == c.m.testi.CaptAbilita)
        abilita(c, *b);
    else
        disabilita(c, *b);
}

void CmdDisableAll_Click(Sessione& c)
{
    if (c.host.messageBox(c.m.testi.Messaggi(msg::DisableAll), c.f.caption(),
                          MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    Clessidra busy(c.host);

    for (int r = 1; r <= MaxDiagnosi; ++r) {
        RigaDiagnosi& d = c.m.Diagnosi(r);
        // Absent coils, coils already disabled and rows without a fieldbus
        // index (nothing the island could be asked to disable) are skipped.
        if (d.Stato == stato::Assente || d.Indice < 0 || d.Indice >= MaxDiagnosi)
            continue;
        const int vecchio = d.Indice;
        c.invia(dialogo::DisableValvola(testo(vecchio)));
        c.m.Diagnosi(r) = RigaDisabilitata;
        if (auto conf = rigaConfPerIndice(c.m, vecchio))
            c.m.ConfBobine(*conf).Indice = IndiceDisabilitato;
    }

    for (std::size_t k = 0; k < c.f.Bobina.size(); ++k) {
        Control& b = *c.f.Bobina[k];
        if (b.backColor() == coloreStato(stato::Assente))
            continue;
        b.setBackColor(ColoreDisabilitata);
        b.setBold(false);
        b.setCaption(testo(static_cast<long>(k) + 1));
    }
    pulsantiBobina(c, true);
}

} // namespace ondrix
