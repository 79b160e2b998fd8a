// A click on a coil button: remember the coil, offer the commands its state
// allows, frame it in red, and in administrator mode show its stroke counter.

#include "view/Vista.h"

#include "frame/Bobine.h"
#include "frame/Sessione.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Risposte.h"

namespace ondrix {

std::string formattaColpi(long long n, const std::string& separatore)
{
    const bool negativo = n < 0;
    std::string cifre = std::to_string(negativo ? -(n + 1) + 1ULL : static_cast<unsigned long long>(n));
    std::string out;
    const std::size_t len = cifre.size();
    for (std::size_t i = 0; i < len; ++i) {
        if (i > 0 && (len - i) % 3 == 0)
            out += separatore;
        out += cifre[i];
    }
    return negativo ? "-" + out : out;
}

namespace {

void leggiContacolpi(Sessione& c, int i)
{
    // No row, no reading: a wrong row would show another coil's counter.
    const auto riga = rigaConfDellaBobina(c.m, c.f, i);
    if (!riga) {
        c.f.TxtColpi.setText("");
        return;
    }
    const int posizione = c.m.ConfBobine(*riga).Posizione;
    const auto migliaia =
        contacolpiDaRisposta(c.invia(dialogo::LeggiContacolpi(c.f.Combo1.text(), posizione)));
    c.f.TxtColpi.setText(migliaia ? formattaColpi(*migliaia * 1000LL, c.host.groupSeparator())
                                  : std::string());
}

} // namespace

void Bobina_Click(Sessione& c, int i, const std::function<void()>& commuta)
{
    if (i < 0 || i >= static_cast<int>(c.f.Bobina.size()))
        return;
    Control& b = *c.f.Bobina[static_cast<std::size_t>(i)];
    const Testi& t = c.m.testi;

    c.f.CmdRelax.setCaption(b.bold() ? t.CaptNoRelax : t.CaptRelax);
    c.f.CmdRelax.setEnabled(true);
    c.m.BobinaCorrente = static_cast<std::int16_t>(i);

    const std::optional<int> st = statoDelColore(b.backColor());
    bool commutabile = false;
    if (st == stato::Presente) {
        c.f.CmdAziona.setCaption(t.CaptChiudi);
        c.f.CmdAziona.setEnabled(true);
        c.f.CmdAbilita.setCaption(t.CaptDisabilita);
        c.f.CmdAbilita.setEnabled(true);
        commutabile = true;
    } else if (st == stato::Attivata) {
        c.f.CmdAziona.setCaption(t.CaptApri);
        c.f.CmdAziona.setEnabled(true);
        c.f.CmdAbilita.setCaption(t.CaptDisabilita);
        c.f.CmdAbilita.setEnabled(false);
        commutabile = true;
    } else if (st && guasta(*st)) {
        c.f.CmdAziona.setCaption(t.CaptChiudi);
        c.f.CmdAziona.setEnabled(false);
        c.f.CmdAbilita.setCaption(t.CaptDisabilita);
        c.f.CmdAbilita.setEnabled(false);
    } else if (b.backColor() == ColoreDisabilitata) {
        c.f.CmdAziona.setCaption(t.CaptChiudi);
        c.f.CmdAziona.setEnabled(false);
        c.f.CmdAbilita.setCaption(t.CaptAbilita);
        c.f.CmdAbilita.setEnabled(true);
        c.f.CmdRelax.setEnabled(false);
    }

    // Ctrl held at the moment of the click: switch the coil at once.
    if (commutabile && c.host.ctrlKeyDown() && commuta)
        commuta();

    if (c.f.TxtColpi.visible())
        leggiContacolpi(c, i);

    for (Control* s : c.f.Shape6)
        s->setVisible(false);
    c.f.Shape6[static_cast<std::size_t>(i)]->setVisible(true);
}

} // namespace ondrix
