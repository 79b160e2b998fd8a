// Coil selection: the action buttons by the coil's colour, the red outline,
// the Ctrl-click, and the stroke counter of administrator mode.

#include "island/Risposte.h"

#include "commands/IsolaBobine.h"
#include "program/Gestori.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::BancoBobine;
using test::Linee;

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
    BancoBobine t;
    const Testi& x = t.c.m.testi;
    Form& f = t.c.f;
    f.Bobina[1]->setBackColor(colore::Verde);
    f.Bobina[4]->setBackColor(colore::Rosso);
    f.Bobina[5]->setBackColor(colore::GialloPallido);
    f.Bobina[5]->setCaption("6");

    Bobina_Click(t.c, 0, [&] { CmdAziona_Click(t.c); });
    verifica(pulsanti(f), {x.CaptChiudi, true, x.CaptDisabilita, true, true}, "orange");
    Bobina_Click(t.c, 1, [&] { CmdAziona_Click(t.c); });
    verifica(pulsanti(f), {x.CaptApri, true, x.CaptDisabilita, false, true}, "green");
    Bobina_Click(t.c, 4, [&] { CmdAziona_Click(t.c); });
    verifica(pulsanti(f), {x.CaptChiudi, false, x.CaptDisabilita, false, true}, "red");
    Bobina_Click(t.c, 5, [&] { CmdAziona_Click(t.c); });
    verifica(pulsanti(f), {x.CaptChiudi, false, x.CaptAbilita, true, false}, "pale yellow");
    // Any other colour leaves the action buttons as they were; relax is offered.
    f.Bobina[8]->setBackColor(colore::Bianco);
    Bobina_Click(t.c, 8, [&] { CmdAziona_Click(t.c); });
    verifica(pulsanti(f), {x.CaptChiudi, false, x.CaptAbilita, true, true}, "other");
    EXPECT_EQ(t.c.m.BobinaCorrente, 8);
    EXPECT_TRUE(t.lines().empty());  // outside administrator mode no exchange
}

TEST(BobinaClick, RelaxCaptionFollowsTheBoldCaptionAndOneOutlineShows)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.Bobina[1]->setBold(true);
    Bobina_Click(t.c, 1, [&] { CmdAziona_Click(t.c); });
    EXPECT_EQ(f.CmdRelax.caption(), t.c.m.testi.CaptNoRelax);
    Bobina_Click(t.c, 0, [&] { CmdAziona_Click(t.c); });
    EXPECT_EQ(f.CmdRelax.caption(), t.c.m.testi.CaptRelax);
    for (int i : {4, 9, 0}) {
        t.click(*f.Bobina[static_cast<std::size_t>(i)]);
        int shown = 0;
        for (int k = 0; k < 16; ++k)
            if (f.Shape6[static_cast<std::size_t>(k)]->visible()) {
                ++shown;
                EXPECT_EQ(k, i);
            }
        EXPECT_EQ(shown, 1);
    }
}

TEST(BobinaClick, CtrlClickSwitchesOrangeAndGreenCoilsAtOnce)
{
    BancoBobine t;
    Form& f = t.c.f;
    t.host.ctrl = true;
    t.click(t.bobina("2"));
    EXPECT_EQ(t.lines(), (Linee{"CLOSE VALVOLA", "2", "GET DIAGNOSI"}));
    EXPECT_EQ(t.bobina("2").backColor(), colore::Verde);
    EXPECT_EQ(f.CmdAziona.caption(), t.c.m.testi.CaptApri);
    EXPECT_EQ(t.c.m.Diagnosi(3).Stato, stato::Attivata);

    t.click(t.bobina("2"));  // green now: switched off again
    EXPECT_EQ(t.lines(3), (Linee{"OPEN VALVOLA", "2", "GET DIAGNOSI"}));
    EXPECT_EQ(t.bobina("2").backColor(), colore::Arancio);

    // Red and pale-yellow coils cannot be switched.
    f.Bobina[4]->setBackColor(colore::Rosso);
    f.Bobina[4]->setEnabled(true);
    t.click(*f.Bobina[4]);
    f.Bobina[5]->setBackColor(colore::GialloPallido);
    t.click(*f.Bobina[5]);
    EXPECT_EQ(t.lines().size(), 6u);

    // Without Ctrl only the selection changes.
    t.host.ctrl = false;
    t.click(t.bobina("0"));
    EXPECT_EQ(t.lines().size(), 6u);
}

TEST(BobinaClick, StrokeCounterInAdministratorMode)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.TxtColpi.setVisible(true);
    t.island.contacolpi = "00125";
    t.click(t.bobina("2"));  // head, row 3, position 5
    EXPECT_EQ(t.lines(), (Linee{"LEGGI CONTACOLPI", "0", "5"}));
    EXPECT_EQ(f.TxtColpi.text(), "125,000");

    t.host.separator = ".";
    t.island.contacolpi = "01234";
    t.click(t.bobina("2"));
    EXPECT_EQ(f.TxtColpi.text(), "1.234.000");

    t.island.contacolpi = "00000";
    t.click(t.bobina("0"));
    EXPECT_EQ(f.TxtColpi.text(), "0");

    // Fewer than five digits before the line end: no number, an empty box.
    t.island.contacolpi = "12";
    t.click(t.bobina("0"));
    EXPECT_EQ(f.TxtColpi.text(), "");
    EXPECT_EQ(t.island.lines.size(), 12u);
}

TEST(BobinaClick, CounterOfADisabledCoilUsesThePositionOnTheDisplayedBody)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.TxtColpi.setVisible(true);
    // Expansion 1, coil at position 3 (row 9) disabled; row 3 of the table
    // belongs to the head (position 5) and must not be used.
    t.c.m.ConfBobine(9).Indice = IndiceDisabilitato;
    t.disegna(1);
    Control& gialla = *f.Bobina[2];
    ASSERT_EQ(gialla.caption(), "3");
    ASSERT_EQ(gialla.backColor(), colore::GialloPallido);
    t.click(gialla);
    EXPECT_EQ(t.lines(), (Linee{"LEGGI CONTACOLPI", "1", "3"}));
    EXPECT_EQ(f.TxtColpi.text(), "125,000");

    // A pale-yellow button whose position the body does not hold: no exchange.
    f.TxtColpi.setText("7");
    f.Bobina[6]->setVisible(true);
    f.Bobina[6]->setBackColor(colore::GialloPallido);
    f.Bobina[6]->setEnabled(true);
    f.Bobina[6]->setCaption("7");
    t.click(*f.Bobina[6]);
    EXPECT_EQ(t.lines().size(), 3u);
    EXPECT_EQ(f.TxtColpi.text(), "");
}

TEST(BobinaClick, CounterOfACoilWhoseIndexNoRowHoldsIsNotRead)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.TxtColpi.setVisible(true);
    f.TxtColpi.setText("5,000");
    // Made red by the re-check of interrupted coils: its caption is the
    // diagnosed index, which no configured coil carries (20 is only in a
    // row left over beyond the coils read).
    f.Bobina[12]->setBackColor(colore::Rosso);
    f.Bobina[12]->setEnabled(true);
    f.Bobina[12]->setCaption("20");
    t.click(*f.Bobina[12]);
    EXPECT_TRUE(t.lines().empty());
    EXPECT_EQ(f.TxtColpi.text(), "");
    EXPECT_TRUE(f.Shape6[12]->visible());
}

} // namespace
} // namespace ondrix
