// Coil selection: the action buttons by the coil's colour, the red outline,
// the Ctrl-click, and the stroke counter of administrator mode, on the
// simulated default island (see the coil commands' tests).

#include "island/Risposte.h"

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Linee = std::vector<std::string>;

TEST(FormattaColpi, GroupsByThreeWithTheLocaleSeparator)
{
    EXPECT_EQ(formattaColpi(0, ","), "0");
    EXPECT_EQ(formattaColpi(999, ","), "999");
    EXPECT_EQ(formattaColpi(1000, ","), "1,000");
    EXPECT_EQ(formattaColpi(125000, ","), "125,000");
    EXPECT_EQ(formattaColpi(99999000, "."), "99.999.000");
    EXPECT_EQ(formattaColpi(1234567, "\xC2\xA0"), "1\xC2\xA0" "234\xC2\xA0" "567");
    EXPECT_EQ(formattaColpi(123456, ""), "123456");
    EXPECT_EQ(formattaColpi(-1234, ","), "-1,234");
}

TEST(ContacolpiDaRisposta, FirstFiveCharactersAsAWholeNumber)
{
    EXPECT_EQ(contacolpiDaRisposta("00125\r\nOK\r\n"), 125);
    EXPECT_EQ(contacolpiDaRisposta("00000\r\nOK"), 0);
    EXPECT_EQ(contacolpiDaRisposta("99999"), 99999);
    EXPECT_EQ(contacolpiDaRisposta("  42 rest"), 42);
    EXPECT_FALSE(contacolpiDaRisposta("12\r\nOK"));
    EXPECT_FALSE(contacolpiDaRisposta("OK"));
    EXPECT_FALSE(contacolpiDaRisposta(""));
    EXPECT_FALSE(contacolpiDaRisposta("-0012"));
    EXPECT_FALSE(contacolpiDaRisposta("1.5E3"));
}

struct Banco : IslandRig {
    Banco(sim::Scenario s = sim::defaultScenario()) : IslandRig(std::move(s)) { ready(); }
    Form& f = c.f;
    const Testi& t = c.m.testi;
    void seleziona(int p) { Bobina_Click(c, p - 1, [&] { CmdAziona_Click(c); }); }
    void amministratore()
    {
        host.inputAnswers.push_back("VELIROMANTICO");
        eventoDblClick(c, f.Image1);
        ASSERT_TRUE(f.TxtColpi.visible());
        clearLines();
    }
};

struct AttesiPulsanti {
    std::string aziona;
    bool azionaOn;
    std::string abilita;
    bool abilitaOn;
    bool relaxOn;
};

AttesiPulsanti pulsanti(const Form& f)
{
    return {f.CmdAziona.caption(), f.CmdAziona.enabled(), f.CmdAbilita.caption(),
            f.CmdAbilita.enabled(), f.CmdRelax.enabled()};
}

void verifica(const AttesiPulsanti& a, const AttesiPulsanti& b, const char* what)
{
    EXPECT_EQ(a.aziona, b.aziona) << what;
    EXPECT_EQ(a.azionaOn, b.azionaOn) << what;
    EXPECT_EQ(a.abilita, b.abilita) << what;
    EXPECT_EQ(a.abilitaOn, b.abilitaOn) << what;
    EXPECT_EQ(a.relaxOn, b.relaxOn) << what;
}

TEST(BobinaClick, ActionButtonsFollowTheCoilsColour)
{
    Banco b;
    const Testi& x = b.t;
    b.seleziona(1);
    verifica(pulsanti(b.f), {x.CaptChiudi, true, x.CaptDisabilita, true, true}, "orange");
    b.seleziona(2);
    verifica(pulsanti(b.f), {x.CaptApri, true, x.CaptDisabilita, false, true}, "green");
    b.seleziona(4);
    verifica(pulsanti(b.f), {x.CaptChiudi, false, x.CaptDisabilita, false, true}, "red");
    b.seleziona(6);
    verifica(pulsanti(b.f), {x.CaptChiudi, false, x.CaptAbilita, true, false}, "pale yellow");
    // Any other colour leaves the action buttons as they were; relax is offered.
    b.bobina(9).setBackColor(colore::Bianco);
    b.seleziona(9);
    verifica(pulsanti(b.f), {x.CaptChiudi, false, x.CaptAbilita, true, true}, "other");
    EXPECT_EQ(b.c.m.BobinaCorrente, 8);
    EXPECT_TRUE(b.lines().empty());  // outside administrator mode no exchange
}

TEST(BobinaClick, RelaxCaptionFollowsTheBoldCaptionAndOneOutlineShows)
{
    Banco b;
    ASSERT_TRUE(b.bobina(1).bold());  // relax on
    b.seleziona(1);
    EXPECT_EQ(b.f.CmdRelax.caption(), b.t.CaptNoRelax);
    b.seleziona(3);
    EXPECT_EQ(b.f.CmdRelax.caption(), b.t.CaptRelax);
    for (int p : {5, 10, 1}) {
        b.click(b.bobina(p));
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(b.f.Shape6[static_cast<std::size_t>(k - 1)]->visible(), k == p) << p << " " << k;
    }
}

TEST(BobinaClick, CtrlClickSwitchesOrangeAndGreenCoilsAtOnce)
{
    Banco b;
    b.host.ctrl = true;
    b.click(b.bobina(3));
    EXPECT_EQ(b.taken(), (Linee{"CLOSE VALVOLA", "2", "GET DIAGNOSI"}));
    EXPECT_TRUE(b.coil(0, 3).energised);
    EXPECT_EQ(b.bobina(3).backColor(), colore::Verde);
    EXPECT_EQ(b.f.CmdAziona.caption(), b.t.CaptApri);
    EXPECT_EQ(b.c.m.Diagnosi(3).Stato, stato::Attivata);
    EXPECT_TRUE(b.f.Shape6[2]->visible());

    b.click(b.bobina(3));  // green now: switched off again
    EXPECT_EQ(b.taken(), (Linee{"OPEN VALVOLA", "2", "GET DIAGNOSI"}));
    EXPECT_EQ(b.bobina(3).backColor(), colore::Arancio);

    // Red and pale-yellow coils cannot be switched.
    b.bobina(4).setEnabled(true);
    b.click(b.bobina(4));
    b.click(b.bobina(6));
    EXPECT_TRUE(b.taken().empty());

    // Without Ctrl only the selection changes.
    b.host.ctrl = false;
    b.click(b.bobina(1));
    EXPECT_TRUE(b.taken().empty());
    b.expectCleanDialogues();
}

TEST(BobinaClick, StrokeCounterInAdministratorMode)
{
    Banco b;
    b.amministratore();
    b.click(b.bobina(3));  // index 2: 125,000 strokes
    EXPECT_EQ(b.taken(), (Linee{"LEGGI CONTACOLPI", "0", "3"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "125,000");

    b.host.separator = ".";
    b.coil(0, 3).strokes = 1'234'000;
    b.click(b.bobina(3));
    EXPECT_EQ(b.f.TxtColpi.text(), "1.234.000");

    b.coil(0, 1).strokes = 0;
    b.click(b.bobina(1));
    EXPECT_EQ(b.f.TxtColpi.text(), "0");

    // A disabled coil is read by its place on the body.
    b.coil(0, 6).strokes = 7'000;
    b.taken();
    b.click(b.bobina(6));
    EXPECT_EQ(b.taken(), (Linee{"LEGGI CONTACOLPI", "0", "6"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "7.000");

    // Fewer than five digits before the line end: no number, an empty box.
    b.island.overrideReply("LEGGI CONTACOLPI", "12\r\nOK\r\n");
    b.click(b.bobina(1));
    EXPECT_EQ(b.f.TxtColpi.text(), "");
    EXPECT_EQ(b.taken().size(), 3u);
    b.expectCleanDialogues();
}

TEST(BobinaClick, CounterOfADisabledCoilUsesThePositionOnTheDisplayedBody)
{
    // Expansion 1, coil at position 3 disabled; position 3 of the head must
    // not be read instead.
    sim::Scenario s = sim::defaultScenario();
    s.bodies[1].coils[2].index = sim::DisabledIndex;
    s.bodies[1].coils[2].relax = false;
    Banco b(s);
    b.amministratore();
    eventoSceltaLista(b.c, b.f.Combo1, 1);
    Control& gialla = b.bobina(3);
    ASSERT_EQ(gialla.caption(), "3");
    ASSERT_EQ(gialla.backColor(), colore::GialloPallido);
    b.clearLines();
    b.click(gialla);
    EXPECT_EQ(b.taken(), (Linee{"LEGGI CONTACOLPI", "1", "3"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "33,000");

    // A pale-yellow button whose position the body does not hold: no exchange.
    Control& vuota = b.bobina(8);
    vuota.setBackColor(colore::GialloPallido);
    vuota.setEnabled(true);
    vuota.setCaption("8");
    b.click(vuota);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_EQ(b.f.TxtColpi.text(), "");
}

TEST(BobinaClick, CounterOfACoilWhoseIndexNoRowHoldsIsNotRead)
{
    Banco b;
    b.amministratore();
    b.f.TxtColpi.setText("5,000");
    // Made red by the re-check of interrupted coils: its caption is the
    // diagnosed index, which no configured coil carries.
    Control& rossa = b.bobina(13);
    rossa.setBackColor(colore::Rosso);
    rossa.setCaption("25");
    b.click(rossa);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_EQ(b.f.TxtColpi.text(), "");
    EXPECT_TRUE(b.f.Shape6[12]->visible());
}

} // namespace
} // namespace ondrix
