// The coil commands driven on the Form against a small island: the lines the
// island received, and the Form and the model afterwards.

#include "commands/IsolaBobine.h"
#include "program/Gestori.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::BancoBobine;
using test::Linee;
using test::ProgramEnded;

// --- CmdAziona -------------------------------------------------------------

TEST(CmdAziona, EnergiseThenDeEnergiseOneCoil)
{
    BancoBobine t;
    Form& f = t.c.f;
    const Testi& x = t.c.m.testi;
    Control& b = t.bobina("3");
    t.click(b);
    t.click(f.CmdAziona);
    EXPECT_EQ(t.lines(), (Linee{"CLOSE VALVOLA", "3", "GET DIAGNOSI"}));
    EXPECT_EQ(b.backColor(), colore::Verde);
    EXPECT_EQ(t.c.m.Diagnosi(4).Stato, stato::Attivata);
    EXPECT_EQ(f.CmdAziona.caption(), x.CaptApri);
    EXPECT_TRUE(f.CmdAziona.enabled());
    EXPECT_EQ(f.CmdAbilita.caption(), x.CaptDisabilita);
    EXPECT_FALSE(f.CmdAbilita.enabled());  // an energised coil cannot be disabled

    t.click(f.CmdAziona);
    EXPECT_EQ(t.lines(3), (Linee{"OPEN VALVOLA", "3", "GET DIAGNOSI"}));
    EXPECT_EQ(b.backColor(), colore::Arancio);
    EXPECT_EQ(t.c.m.Diagnosi(4).Stato, stato::Presente);
    EXPECT_EQ(f.CmdAziona.caption(), x.CaptChiudi);
    EXPECT_TRUE(f.CmdAbilita.enabled());
}

TEST(CmdAziona, FaultyDiagnosisAfterTheActionPaintsRedAndLocksTheCoil)
{
    for (char lettera : {'C', 'I'}) {
        BancoBobine t;
        Form& f = t.c.f;
        Control& b = t.bobina("4");
        t.click(b);
        t.island.slot[4].lettera = lettera;
        t.click(f.CmdAziona);
        EXPECT_EQ(b.backColor(), colore::Rosso) << lettera;
        EXPECT_EQ(t.c.m.Diagnosi(5).Stato, lettera == 'C' ? 3 : 4);
        EXPECT_FALSE(f.CmdAziona.enabled());
        EXPECT_FALSE(f.CmdAbilita.enabled());
        EXPECT_FALSE(f.CmdRelax.enabled());
        EXPECT_FALSE(b.enabled());
    }
}

TEST(CmdAziona, TheCoilsOwnRecordCountsNotOneWhoseIndexEndsTheSame)
{
    BancoBobine t;
    // Records of 11 and 21 (faulty) come before the record of coil 1.
    t.island.diagnosi = "GET DIAGNOSI\r\n11\tC\r\n21\tI\r\n0\tP\r\n1\tP\r\nOK\r\n";
    Control& b = t.bobina("1");
    t.click(b);
    t.click(t.c.f.CmdAziona);
    EXPECT_EQ(b.backColor(), colore::Verde);
    EXPECT_EQ(t.c.m.Diagnosi(2).Stato, stato::Attivata);

    // No record of the coil at all: its row stays as it was.
    t.island.diagnosi = "GET DIAGNOSI\r\n11\tA\r\nOK\r\n";
    t.click(t.c.f.CmdAziona);
    EXPECT_EQ(b.backColor(), colore::Arancio);
    EXPECT_EQ(t.c.m.Diagnosi(2).Stato, stato::Presente);
    EXPECT_EQ(t.c.m.Diagnosi(2).Indice, 1);
}

TEST(CmdAziona, ACoilMissingFromTheDiagnosisUsesTheSentinelWithoutWritingIt)
{
    BancoBobine t;
    Model& m = t.c.m;
    Control& b = t.bobina("5");
    t.click(b);
    m.Diagnosi(6).Indice = 25;  // no row holds 5 any more
    m.Diagnosi(33).Stato = stato::Presente;  // would turn 5 if it were written
    t.click(t.c.f.CmdAziona);
    EXPECT_EQ(t.lines(), (Linee{"CLOSE VALVOLA", "5", "GET DIAGNOSI"}));
    EXPECT_EQ(m.Diagnosi(33).Indice, 255);
    EXPECT_EQ(m.Diagnosi(33).Stato, stato::Presente);
    EXPECT_EQ(b.backColor(), colore::Arancio);  // painted from the sentinel's state
}

// --- CmdAll ----------------------------------------------------------------

TEST(CmdAll, CloseAllRepaintsOnlyOrangeButtonsThenOpenAll)
{
    BancoBobine t;
    Form& f = t.c.f;
    const Testi& x = t.c.m.testi;
    Control& gialla = *f.Bobina[5];  // coil 3 disabled
    gialla.setBackColor(colore::GialloPallido);
    gialla.setCaption("6");
    Control& rossa = t.bobina("4");
    rossa.setBackColor(colore::Rosso);
    rossa.setEnabled(false);
    t.island.slot[4].lettera = 'P';  // the island sees it present: still not repainted
    t.island.slot[1].lettera = 'I';  // coil 1 turns faulty during the command

    const std::string aziona = f.CmdAziona.caption();
    t.click(f.CmdAll);
    EXPECT_EQ(t.lines(), (Linee{"CLOSE ALL", "GET DIAGNOSI"}));
    EXPECT_EQ(f.CmdAll.caption(), x.CaptApriAll);
    EXPECT_EQ(t.bobina("0").backColor(), colore::Verde);
    EXPECT_EQ(t.bobina("5").backColor(), colore::Verde);
    EXPECT_EQ(t.bobina("1").backColor(), colore::Rosso);
    EXPECT_FALSE(t.bobina("1").enabled());
    EXPECT_EQ(gialla.backColor(), colore::GialloPallido);
    EXPECT_EQ(rossa.backColor(), colore::Rosso);
    EXPECT_EQ(f.Bobina[15]->backColor(), colore::Grigio);
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(t.c.m.Diagnosi(r).Stato, r == 2 ? 4 : 5) << r;
    EXPECT_EQ(f.CmdAziona.caption(), aziona);  // CmdAll leaves the coil buttons' commands

    t.click(f.CmdAll);
    EXPECT_EQ(t.lines(2), (Linee{"OPEN ALL", "GET DIAGNOSI"}));
    EXPECT_EQ(f.CmdAll.caption(), x.CaptChiudiAll);
    EXPECT_EQ(t.bobina("0").backColor(), colore::Arancio);
    EXPECT_EQ(t.c.m.Diagnosi(1).Stato, stato::Presente);
}

// --- CmdAbilita ------------------------------------------------------------

TEST(CmdAbilita, DisableThenEnableWithSeven)
{
    BancoBobine t;
    Form& f = t.c.f;
    Model& m = t.c.m;
    const Testi& x = m.testi;
    m.Diagnosi(8) = {-1, 1, 0};  // index 7 reported absent: free for the coil
    Control& b = t.bobina("2");  // index 2 at position 5 of the head, row 3
    b.setBold(true);
    m.Diagnosi(3).Relax = 1;
    t.click(b);
    t.click(f.CmdAbilita);
    EXPECT_EQ(t.lines(), (Linee{"DISABLE VALVOLA", "2"}));
    EXPECT_EQ(b.caption(), "5");
    EXPECT_EQ(b.backColor(), colore::GialloPallido);
    EXPECT_FALSE(b.bold());
    EXPECT_EQ(m.ConfBobine(3).Indice, IndiceDisabilitato);
    EXPECT_EQ(m.Diagnosi(3).Indice, IndiceDisabilitato);
    EXPECT_EQ(m.Diagnosi(3).Stato, 2);
    EXPECT_EQ(m.Diagnosi(3).Relax, 0);
    EXPECT_EQ(f.CmdAziona.caption(), x.CaptChiudi);
    EXPECT_FALSE(f.CmdAziona.enabled());
    EXPECT_EQ(f.CmdAbilita.caption(), x.CaptAbilita);
    EXPECT_TRUE(f.CmdAbilita.enabled());
    EXPECT_EQ(f.CmdRelax.caption(), x.CaptNoRelax);
    EXPECT_FALSE(f.CmdRelax.enabled());

    // 32 and -1 are outside 0..31, 4 is held by a coil: the box comes back.
    t.host.inputAnswers = {"32", "-1", "4", "7"};
    t.click(b);
    t.click(f.CmdAbilita);
    EXPECT_EQ(t.host.inputs.size(), 4u);
    EXPECT_EQ(t.host.inputs[0].prompt, x.TestiInput(2));
    EXPECT_EQ(t.host.inputs[0].title, f.caption());
    EXPECT_EQ(t.lines(2), (Linee{"ENABLE VALVOLA", "0", "5", "7"}));
    EXPECT_EQ(b.caption(), "7");
    EXPECT_EQ(b.backColor(), colore::Arancio);
    EXPECT_EQ(m.ConfBobine(3).Indice, 7);
    EXPECT_EQ(m.ConfBobine(3).Posizione, 5);
    EXPECT_EQ(m.Diagnosi(3).Indice, 7);
    EXPECT_EQ(m.Diagnosi(3).Stato, 2);
    EXPECT_EQ(f.CmdAziona.caption(), x.CaptChiudi);
    EXPECT_TRUE(f.CmdAziona.enabled());
    EXPECT_EQ(f.CmdAbilita.caption(), x.CaptDisabilita);
    EXPECT_EQ(f.CmdRelax.caption(), x.CaptRelax);
    EXPECT_TRUE(f.CmdRelax.enabled());
    EXPECT_EQ(m.PrimaBobina, 0);
}

TEST(CmdAbilita, EnableOnAnExpansionUsesItsOwnRows)
{
    BancoBobine t;
    Model& m = t.c.m;
    m.ConfBobine(9).Indice = IndiceDisabilitato;  // expansion 1, position 3
    m.Diagnosi(9).Indice = IndiceDisabilitato;
    t.disegna(1);
    m.PrimaBobina = 0;  // stale: recomputed for the displayed body
    t.host.inputAnswers = {"abc"};  // no number reads as 0, which coil 0 holds
    t.host.inputAnswers.push_back("2.6");  // would round to 3, held
    t.host.inputAnswers.push_back("12");
    t.click(*t.c.f.Bobina[2]);
    t.click(t.c.f.CmdAbilita);
    EXPECT_EQ(t.host.inputs.size(), 3u);
    EXPECT_EQ(t.lines(), (Linee{"ENABLE VALVOLA", "1", "3", "12"}));
    EXPECT_EQ(m.ConfBobine(9).Indice, 12);
    EXPECT_EQ(m.ConfBobine(3).Indice, 2);  // the head's row 3 is untouched
    EXPECT_EQ(m.PrimaBobina, 6);
    EXPECT_EQ(m.Diagnosi(9).Indice, 12);
}

TEST(CmdAbilita, CancelledInputSendsNothing)
{
    BancoBobine t;
    Model& m = t.c.m;
    m.ConfBobine(1).Indice = IndiceDisabilitato;
    m.Diagnosi(1).Indice = IndiceDisabilitato;
    t.disegna(0);
    t.click(*t.c.f.Bobina[0]);
    t.click(t.c.f.CmdAbilita);  // no answer queued: cancelled
    EXPECT_EQ(t.host.inputs.size(), 1u);
    EXPECT_TRUE(t.lines().empty());
    EXPECT_EQ(t.c.f.Bobina[0]->caption(), "1");
    EXPECT_EQ(m.ConfBobine(1).Indice, IndiceDisabilitato);
}

TEST(CmdAbilita, NoMatchingRowSendsNothingAndChangesNothing)
{
    // Disabling a coil whose index no configured coil carries.
    {
        BancoBobine t;
        Control& b = *t.c.f.Bobina[12];
        b.setBackColor(colore::Arancio);
        b.setEnabled(true);
        b.setCaption("20");
        t.c.m.Diagnosi(21).Indice = 20;
        t.click(b);
        t.click(t.c.f.CmdAbilita);
        EXPECT_TRUE(t.lines().empty());
        EXPECT_EQ(b.caption(), "20");
        EXPECT_EQ(b.backColor(), colore::Arancio);
        EXPECT_EQ(t.c.m.ConfBobine(11).Indice, 20);
        EXPECT_EQ(t.c.m.Diagnosi(21).Indice, 20);
    }
    // Disabling a coil that no diagnosis row holds: the sentinel is not written.
    {
        BancoBobine t;
        t.c.m.Diagnosi(2).Indice = -1;
        Control& b = t.bobina("1");
        t.click(b);
        t.click(t.c.f.CmdAbilita);
        EXPECT_TRUE(t.lines().empty());
        EXPECT_EQ(t.c.m.ConfBobine(2).Indice, 1);
        EXPECT_EQ(t.c.m.Diagnosi(33).Indice, 255);
        EXPECT_EQ(b.backColor(), colore::Arancio);
    }
    // Enabling at a position the displayed body does not hold.
    {
        BancoBobine t;
        Control& b = *t.c.f.Bobina[2];
        b.setBackColor(colore::GialloPallido);
        b.setEnabled(true);
        b.setCaption("3");
        t.host.inputAnswers = {"12"};
        t.click(b);
        t.click(t.c.f.CmdAbilita);
        EXPECT_TRUE(t.lines().empty());
        EXPECT_EQ(b.caption(), "3");
    }
    // Enabling when no diagnosis row is free (none holds 170 or -1).
    {
        BancoBobine t;
        Model& m = t.c.m;
        for (int r = 1; r <= 32; ++r)
            m.Diagnosi(r) = {static_cast<std::int16_t>(r == 1 ? 40 : r - 1), 2, 0};
        m.ConfBobine(1).Indice = IndiceDisabilitato;
        t.disegna(0);
        t.host.inputAnswers = {"0"};
        t.click(*t.c.f.Bobina[0]);
        t.click(t.c.f.CmdAbilita);
        EXPECT_TRUE(t.lines().empty());
        EXPECT_EQ(m.ConfBobine(1).Indice, IndiceDisabilitato);
        EXPECT_EQ(m.Diagnosi(33).Indice, 255);
    }
}

// --- CmdDisableAll ---------------------------------------------------------

TEST(CmdDisableAll, AnsweredNoSendsNothing)
{
    BancoBobine t;
    t.host.messageAnswers = {MessageAnswer::No};
    t.click(t.c.f.CmdDisableAll);
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].text, t.c.m.testi.Messaggi(msg::DisableAll));
    EXPECT_EQ(t.host.messages[0].title, t.c.f.caption());
    EXPECT_EQ(t.host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(t.lines().empty());
    EXPECT_TRUE(t.host.busyHistory.empty());
    EXPECT_EQ(t.bobina("0").backColor(), colore::Arancio);
}

TEST(CmdDisableAll, DisablesPresentCoilsOnlyUnderTheBusyPointer)
{
    BancoBobine t;
    Model& m = t.c.m;
    Form& f = t.c.f;
    m.Diagnosi(3) = {IndiceDisabilitato, 2, 0};  // already disabled
    m.ConfBobine(3).Indice = IndiceDisabilitato;
    m.Diagnosi(5).Stato = stato::GuastaI;         // faulty: disabled too
    m.Diagnosi(8) = {-1, 2, 0};                  // no index: nothing to name
    t.disegna(0);
    t.click(f.CmdDisableAll);
    EXPECT_EQ(t.lines(), (Linee{"DISABLE VALVOLA", "0", "DISABLE VALVOLA", "1", "DISABLE VALVOLA",
                                "3", "DISABLE VALVOLA", "4", "DISABLE VALVOLA", "5", "DISABLE VALVOLA",
                                "6", "DISABLE VALVOLA", "8", "DISABLE VALVOLA", "9"}));
    EXPECT_EQ(t.host.busyHistory, (std::vector<bool>{true, false}));
    for (int r : {1, 2, 4, 5, 6, 7, 9, 10}) {
        EXPECT_EQ(m.Diagnosi(r).Indice, IndiceDisabilitato) << r;
        EXPECT_EQ(m.Diagnosi(r).Stato, 2) << r;
    }
    EXPECT_EQ(m.Diagnosi(11).Indice, -1);
    EXPECT_EQ(m.Diagnosi(11).Stato, 1);
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(m.ConfBobine(r).Indice, r == 8 ? 7 : IndiceDisabilitato) << r;
    for (int k : {0, 1, 4, 5, 8, 9}) {
        EXPECT_EQ(f.Bobina[static_cast<std::size_t>(k)]->backColor(), colore::GialloPallido) << k;
        EXPECT_EQ(f.Bobina[static_cast<std::size_t>(k)]->caption(), std::to_string(k + 1));
    }
    EXPECT_EQ(f.Bobina[2]->backColor(), colore::Grigio);
    EXPECT_EQ(f.CmdAbilita.caption(), m.testi.CaptAbilita);
    EXPECT_FALSE(f.CmdAziona.enabled());
    EXPECT_FALSE(f.CmdRelax.enabled());
}

// --- CmdRelax --------------------------------------------------------------

TEST(CmdRelax, SendsTheWholeListEndedBy1000)
{
    BancoBobine t;
    Model& m = t.c.m;
    Form& f = t.c.f;
    m.Diagnosi(1).Relax = 1;
    m.Diagnosi(4).Relax = 1;
    t.disegna(1);
    Control& b = t.bobina("9");
    t.click(b);
    t.click(f.CmdRelax);
    EXPECT_EQ(t.lines(), (Linee{"SET RELAX", "0", "3", "9", "1000"}));
    EXPECT_TRUE(b.bold());
    EXPECT_EQ(m.Diagnosi(10).Relax, 1);
    EXPECT_EQ(f.CmdRelax.caption(), m.testi.CaptNoRelax);

    t.click(f.CmdRelax);
    EXPECT_EQ(t.lines(5), (Linee{"SET RELAX", "0", "3", "1000"}));
    EXPECT_FALSE(b.bold());
    EXPECT_EQ(f.CmdRelax.caption(), m.testi.CaptRelax);

    m.Diagnosi(1).Relax = 0;
    m.Diagnosi(4).Relax = 0;
    b.setBold(true);
    m.Diagnosi(10).Relax = 1;
    t.click(f.CmdRelax);  // the last coil with relax on
    EXPECT_EQ(t.lines(9), (Linee{"SET RELAX", "1000"}));
}

TEST(CmdRelax, ACaptionThatIsNoIndexDoesNothing)
{
    for (const char* caption : {"", "32", "-1", "170", "abc", "3x"}) {
        BancoBobine t;
        Control& b = t.bobina("0");
        t.click(b);
        b.setCaption(caption);
        t.click(t.c.f.CmdRelax);
        EXPECT_TRUE(t.lines().empty()) << caption;
        EXPECT_FALSE(b.bold());
    }
}

// --- CmdAzzera -------------------------------------------------------------

TEST(CmdAzzera, ResetsTheCounterOfTheSelectedCoil)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.CmdAzzera.setVisible(true);
    t.disegna(1);
    t.click(t.bobina("8"));  // expansion 1, position 3
    t.click(f.CmdAzzera);
    EXPECT_EQ(t.lines(), (Linee{"ZERO CONTACOLPI", "1", "3"}));
    EXPECT_EQ(f.TxtColpi.text(), "0");

    // A disabled coil is found by its position on the body.
    t.c.m.ConfBobine(10).Indice = IndiceDisabilitato;
    t.disegna(1);
    t.click(*f.Bobina[3]);
    t.click(f.CmdAzzera);
    EXPECT_EQ(t.lines(3), (Linee{"ZERO CONTACOLPI", "1", "4"}));
}

TEST(CmdAzzera, NoMatchingRowSendsNothing)
{
    BancoBobine t;
    Form& f = t.c.f;
    f.CmdAzzera.setVisible(true);
    f.TxtColpi.setText("3,000");
    Control& b = *f.Bobina[12];
    b.setBackColor(colore::Rosso);
    b.setEnabled(true);
    b.setCaption("20");
    t.click(b);
    t.click(f.CmdAzzera);
    EXPECT_TRUE(t.lines().empty());
    EXPECT_EQ(f.TxtColpi.text(), "3,000");
}

// --- CmdReset --------------------------------------------------------------

TEST(CmdReset, ClearThenMessageThenLeaveServiceModeAndEnd)
{
    BancoBobine t;
    EXPECT_THROW(t.click(t.c.f.CmdReset), ProgramEnded);
    EXPECT_EQ(t.lines(), (Linee{"CLEAR", "EXIT SV"}));
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].text, t.c.m.testi.Messaggi(msg::Spegnere));
    EXPECT_EQ(t.host.messages[0].title, t.c.f.caption());
    EXPECT_EQ(t.host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(t.island.isOpen());
    EXPECT_TRUE(t.host.ended);
}

// --- One dialogue at a time ------------------------------------------------

TEST(Dialoghi, AClickDuringADialogueIsIgnored)
{
    BancoBobine t;
    Form& f = t.c.f;
    t.click(t.bobina("3"));
    // While CmdAziona waits for the island, the user clicks CmdAll, another
    // coil and CmdReset.
    t.host.soon([&] {
        t.click(f.CmdAll);
        t.click(t.bobina("0"));
        t.click(f.CmdReset);
    });
    t.click(f.CmdAziona);
    EXPECT_EQ(t.lines(), (Linee{"CLOSE VALVOLA", "3", "GET DIAGNOSI"}));
    EXPECT_EQ(t.c.m.BobinaCorrente, 5);
    EXPECT_EQ(f.CmdAll.caption(), t.c.m.testi.CaptChiudiAll);
    EXPECT_FALSE(t.host.ended);

    // Afterwards clicks work again.
    t.click(f.CmdAll);
    EXPECT_EQ(t.lines(3), (Linee{"CLOSE ALL", "GET DIAGNOSI"}));
}

} // namespace
} // namespace ondrix
