// The coil commands on the simulated island after a real start-up: the lines
// the island received, what it did with them, and the Form and the model.
//
// The default island: head of 8 stations, coils at positions 1..14 with
// index position - 1 (row r of Diagnosi holds index r - 1); index 1
// energised, 3 short-circuited, 6 interrupted, position 6 disabled; relax on
// 0, 4, 9; expansion 1 (4 stations) with indexes 14..20 at positions 1..7.

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Linee = std::vector<std::string>;
using test::ProgramEnded;

struct Banco : IslandRig {
    explicit Banco(sim::Scenario s = sim::defaultScenario()) : IslandRig(std::move(s)) { ready(); }
    Form& f = c.f;
    Model& m = c.m;
    const Testi& t = c.m.testi;

    void corpo(int k) { eventoSceltaLista(c, f.Combo1, k); }
    void amministratore()
    {
        host.inputAnswers.push_back("VELIROMANTICO");
        eventoDblClick(c, f.Image1);
        ASSERT_TRUE(f.CmdAzzera.visible());
        clearLines();
    }
};

// --- CmdAziona -------------------------------------------------------------

TEST(CmdAziona, EnergiseThenDeEnergiseOneCoil)
{
    Banco b;
    b.click(b.bobina(1));
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.taken(), (Linee{"CLOSE VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_TRUE(b.coil(0, 1).energised);
    EXPECT_EQ(b.bobina(1).backColor(), colore::Verde);
    EXPECT_EQ(b.m.Diagnosi(1).Stato, stato::Attivata);
    EXPECT_EQ(b.f.CmdAziona.caption(), b.t.CaptApri);
    EXPECT_TRUE(b.f.CmdAziona.enabled());
    EXPECT_EQ(b.f.CmdAbilita.caption(), b.t.CaptDisabilita);
    EXPECT_FALSE(b.f.CmdAbilita.enabled());  // an energised coil cannot be disabled

    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.taken(), (Linee{"OPEN VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_FALSE(b.coil(0, 1).energised);
    EXPECT_EQ(b.bobina(1).backColor(), colore::Arancio);
    EXPECT_EQ(b.m.Diagnosi(1).Stato, stato::Presente);
    EXPECT_EQ(b.f.CmdAziona.caption(), b.t.CaptChiudi);
    EXPECT_TRUE(b.f.CmdAbilita.enabled());
    b.expectCleanDialogues();
}

TEST(CmdAziona, AFaultAfterTheActionPaintsRedAndLocksTheCoil)
{
    for (char lettera : {'C', 'I'}) {
        SCOPED_TRACE(lettera);
        Banco b;
        b.click(b.bobina(8));  // index 7
        b.coil(0, 8).diagnosis = lettera;
        b.click(b.f.CmdAziona);
        EXPECT_EQ(b.bobina(8).backColor(), colore::Rosso);
        EXPECT_EQ(b.m.Diagnosi(8).Stato, lettera == 'C' ? stato::GuastaC : stato::GuastaI);
        EXPECT_FALSE(b.bobina(8).enabled());
        EXPECT_FALSE(b.f.CmdAziona.enabled());
        EXPECT_FALSE(b.f.CmdAbilita.enabled());
        EXPECT_FALSE(b.f.CmdRelax.enabled());
        b.expectCleanDialogues();
    }
}

TEST(CmdAziona, TheCoilsOwnRecordCountsNotOneWhoseIndexEndsTheSame)
{
    Banco b;
    // Records of 11 and 21 (faulty) come before the record of coil 1.
    std::string r = "STATO BOBINE\r\n11\tCORTOCIRCUITO\r\n21\tINTERROTTA\r\n";
    for (int i = 0; i < 30; ++i)
        r += std::to_string(i == 11 || i == 21 ? 30 + i : i) + "\tPRESENTE\r\n";
    b.island.overrideReply("GET DIAGNOSI", r + "OK\r\n");
    b.click(b.bobina(2));  // index 1, green
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.bobina(2).backColor(), colore::Arancio);
    EXPECT_TRUE(b.bobina(2).enabled());
    EXPECT_EQ(b.m.Diagnosi(2).Stato, stato::Presente);

    // No record of the coil at all: its row keeps its index, the action decides.
    b.island.overrideReply("GET DIAGNOSI", "STATO BOBINE\r\n11\tASSENTE\r\nOK\r\n");
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.bobina(2).backColor(), colore::Verde);
    EXPECT_EQ(b.m.Diagnosi(2).Stato, stato::Attivata);
    EXPECT_EQ(b.m.Diagnosi(2).Indice, 1);
}

TEST(CmdAziona, ACoilMissingFromTheDiagnosisUsesTheSentinelWithoutWritingIt)
{
    Banco b;
    b.click(b.bobina(5));
    b.m.Diagnosi(5).Indice = 25;            // no row holds 4 any more
    b.m.Diagnosi(33).Stato = stato::Presente;  // would turn 5 if it were written
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.taken(), (Linee{"CLOSE VALVOLA", "4", "GET DIAGNOSI"}));
    EXPECT_EQ(b.m.Diagnosi(33).Indice, 255);
    EXPECT_EQ(b.m.Diagnosi(33).Stato, stato::Presente);
    EXPECT_EQ(b.bobina(5).backColor(), colore::Arancio);  // painted from the sentinel's state
}

// --- CmdAll ----------------------------------------------------------------

TEST(CmdAll, CloseAllRepaintsOnlyOrangeButtonsThenOpenAll)
{
    Banco b;
    b.coil(0, 4).diagnosis = 'P';  // red on the window: not repainted, whatever the island says
    b.coil(0, 1).diagnosis = 'I';  // turns faulty during the command
    const std::string aziona = b.f.CmdAziona.caption();
    b.click(b.f.CmdAll);
    EXPECT_EQ(b.taken(), (Linee{"CLOSE ALL", "GET DIAGNOSI"}));
    EXPECT_EQ(b.f.CmdAll.caption(), b.t.CaptApriAll);
    for (int p : {2, 3, 5, 8, 9, 10, 14})
        EXPECT_EQ(b.bobina(p).backColor(), colore::Verde) << p;
    EXPECT_EQ(b.bobina(1).backColor(), colore::Rosso);
    EXPECT_FALSE(b.bobina(1).enabled());
    EXPECT_EQ(b.bobina(4).backColor(), colore::Rosso);
    EXPECT_EQ(b.bobina(7).backColor(), colore::Rosso);
    EXPECT_EQ(b.bobina(6).backColor(), colore::GialloPallido);
    EXPECT_EQ(b.bobina(15).backColor(), colore::Grigio);
    for (int r = 1; r <= 21; ++r)  // rows hold index r - 1; index 5 is free
        EXPECT_EQ(b.m.Diagnosi(r).Stato, r == 1 || r == 7 ? stato::GuastaI
                                         : r == 6         ? stato::Assente
                                                          : stato::Attivata)
            << r;
    EXPECT_TRUE(b.coil(1, 3).energised);  // the expansion's coils too
    EXPECT_EQ(b.f.CmdAziona.caption(), aziona);  // CmdAll leaves the coil buttons' commands

    b.click(b.f.CmdAll);
    EXPECT_EQ(b.taken(), (Linee{"OPEN ALL", "GET DIAGNOSI"}));
    EXPECT_EQ(b.f.CmdAll.caption(), b.t.CaptChiudiAll);
    for (int p : {2, 3, 14})
        EXPECT_EQ(b.bobina(p).backColor(), colore::Arancio) << p;
    EXPECT_EQ(b.bobina(1).backColor(), colore::Rosso);
    EXPECT_EQ(b.m.Diagnosi(2).Stato, stato::Presente);
    EXPECT_FALSE(b.coil(1, 3).energised);
    b.expectCleanDialogues();
}

// --- CmdAbilita ------------------------------------------------------------

sim::Scenario conIndiceCinqueInPosizioneTre()
{
    sim::Scenario s = sim::defaultScenario();
    s.bodies[0].coils[2].index = 5;  // position 3 holds index 5 (row 6), relax on
    s.bodies[0].coils[2].relax = true;
    s.bodies[0].coils[7].index = 21;  // index 7 free
    return s;
}

TEST(CmdAbilita, DisableThenEnableWithSeven)
{
    Banco b(conIndiceCinqueInPosizioneTre());
    Form& f = b.f;
    ASSERT_TRUE(b.bobina(3).bold());
    b.click(b.bobina(3));
    b.click(f.CmdAbilita);
    EXPECT_EQ(b.taken(), (Linee{"DISABLE VALVOLA", "5"}));
    EXPECT_EQ(b.bobina(3).caption(), "3");
    EXPECT_EQ(b.bobina(3).backColor(), colore::GialloPallido);
    EXPECT_FALSE(b.bobina(3).bold());
    EXPECT_EQ(b.m.ConfBobine(3).Indice, IndiceDisabilitato);
    EXPECT_EQ(b.m.Diagnosi(6).Indice, IndiceDisabilitato);
    EXPECT_EQ(b.m.Diagnosi(6).Stato, stato::Presente);
    EXPECT_EQ(b.m.Diagnosi(6).Relax, 0);
    EXPECT_EQ(b.coil(0, 3).index, sim::DisabledIndex);
    EXPECT_EQ(f.CmdAziona.caption(), b.t.CaptChiudi);
    EXPECT_FALSE(f.CmdAziona.enabled());
    EXPECT_EQ(f.CmdAbilita.caption(), b.t.CaptAbilita);
    EXPECT_TRUE(f.CmdAbilita.enabled());
    EXPECT_EQ(f.CmdRelax.caption(), b.t.CaptNoRelax);
    EXPECT_FALSE(f.CmdRelax.enabled());

    // Cancelled: nothing sent, nothing changed.
    b.click(b.bobina(3));
    b.click(f.CmdAbilita);
    EXPECT_EQ(b.host.inputs.size(), 1u);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_EQ(b.bobina(3).caption(), "3");
    EXPECT_EQ(b.m.ConfBobine(3).Indice, IndiceDisabilitato);

    // 32 and -1 are outside 0..31, 0 is held by a coil: the box comes back.
    b.host.inputAnswers = {"32", "-1", "0", "7"};
    b.click(f.CmdAbilita);
    ASSERT_EQ(b.host.inputs.size(), 5u);
    EXPECT_EQ(b.host.inputs[1].prompt, b.t.TestiInput(2));
    EXPECT_EQ(b.host.inputs[1].title, f.caption());
    EXPECT_EQ(b.taken(), (Linee{"ENABLE VALVOLA", "0", "3", "7"}));
    EXPECT_EQ(b.bobina(3).caption(), "7");
    EXPECT_EQ(b.bobina(3).backColor(), colore::Arancio);
    EXPECT_EQ(b.m.ConfBobine(3).Indice, 7);
    EXPECT_EQ(b.m.ConfBobine(3).Posizione, 3);
    EXPECT_EQ(b.m.Diagnosi(3).Indice, 7);  // the first free row (index 2 is free)
    EXPECT_EQ(b.m.Diagnosi(3).Stato, stato::Presente);
    EXPECT_EQ(b.coil(0, 3).index, 7);
    EXPECT_EQ(f.CmdAziona.caption(), b.t.CaptChiudi);
    EXPECT_TRUE(f.CmdAziona.enabled());
    EXPECT_EQ(f.CmdAbilita.caption(), b.t.CaptDisabilita);
    EXPECT_EQ(f.CmdRelax.caption(), b.t.CaptRelax);
    EXPECT_TRUE(f.CmdRelax.enabled());
    EXPECT_EQ(b.m.PrimaBobina, 0);
    b.expectCleanDialogues();
}

TEST(CmdAbilita, EnableOnAnExpansionUsesItsOwnRows)
{
    sim::Scenario s = sim::defaultScenario();
    s.bodies[1].coils[2].index = sim::DisabledIndex;  // expansion, position 3 (row 17)
    s.bodies[1].coils[2].relax = false;
    Banco b(s);
    b.corpo(1);
    b.m.PrimaBobina = 0;  // stale: recomputed for the displayed body
    // No number reads as 0, which coil 0 holds; 2.6 would round to 3, held.
    b.host.inputAnswers = {"abc", "2.6", "22"};
    b.click(b.bobina(3));
    b.clearLines();
    b.click(b.f.CmdAbilita);
    EXPECT_EQ(b.host.inputs.size(), 3u);
    EXPECT_EQ(b.taken(), (Linee{"ENABLE VALVOLA", "1", "3", "22"}));
    EXPECT_EQ(b.m.ConfBobine(17).Indice, 22);
    EXPECT_EQ(b.m.ConfBobine(3).Indice, 2);  // the head's position 3 is untouched
    EXPECT_EQ(b.m.PrimaBobina, 14);
    EXPECT_EQ(b.coil(1, 3).index, 22);
    b.expectCleanDialogues();
}

TEST(CmdAbilita, NoMatchingRowSendsNothingAndChangesNothing)
{
    {
        SCOPED_TRACE("disabling a coil whose index no configured coil carries");
        Banco b;
        b.m.ConfBobine(22) = {25, 3};  // left over beyond the coils read
        b.m.Diagnosi(26).Indice = 25;
        Control& x = b.bobina(13);
        x.setCaption("25");
        b.click(x);
        b.click(b.f.CmdAbilita);
        EXPECT_TRUE(b.taken().empty());
        EXPECT_EQ(x.caption(), "25");
        EXPECT_EQ(x.backColor(), colore::Arancio);
        EXPECT_EQ(b.m.ConfBobine(22).Indice, 25);
        EXPECT_EQ(b.m.Diagnosi(26).Indice, 25);
    }
    {
        SCOPED_TRACE("disabling a coil that no diagnosis row holds: the sentinel is not written");
        Banco b;
        b.m.Diagnosi(3).Indice = -1;
        b.click(b.bobina(3));
        b.click(b.f.CmdAbilita);
        EXPECT_TRUE(b.taken().empty());
        EXPECT_EQ(b.m.ConfBobine(3).Indice, 2);
        EXPECT_EQ(b.m.Diagnosi(33).Indice, 255);
        EXPECT_EQ(b.bobina(3).backColor(), colore::Arancio);
    }
    {
        SCOPED_TRACE("enabling at a position the displayed body does not hold");
        Banco b;
        Control& x = b.bobina(15);
        x.setBackColor(colore::GialloPallido);
        x.setEnabled(true);
        x.setCaption("15");
        b.host.inputAnswers = {"25"};
        b.click(x);
        b.click(b.f.CmdAbilita);
        EXPECT_TRUE(b.taken().empty());
        EXPECT_EQ(x.caption(), "15");
    }
    {
        SCOPED_TRACE("enabling when no diagnosis row is free (none holds 170 or -1)");
        Banco b;
        for (int r = 1; r <= 32; ++r)
            b.m.Diagnosi(r) = {static_cast<std::int16_t>(r == 6 ? 40 : r - 1), stato::Presente, 0};
        b.host.inputAnswers = {"5"};
        b.click(b.bobina(6));
        b.click(b.f.CmdAbilita);
        EXPECT_TRUE(b.taken().empty());
        EXPECT_EQ(b.m.ConfBobine(6).Indice, IndiceDisabilitato);
        EXPECT_EQ(b.m.Diagnosi(33).Indice, 255);
    }
}

// --- CmdDisableAll ---------------------------------------------------------

TEST(CmdDisableAll, AnsweredNoSendsNothing)
{
    Banco b;
    b.host.messageAnswers = {MessageAnswer::No};
    b.click(b.f.CmdDisableAll);
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].text, b.t.Messaggi(msg::DisableAll));
    EXPECT_EQ(b.host.messages[0].title, b.f.caption());
    EXPECT_EQ(b.host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_TRUE(b.host.busyHistory.empty());
    EXPECT_EQ(b.bobina(1).backColor(), colore::Arancio);
}

TEST(CmdDisableAll, DisablesPresentCoilsOnlyUnderTheBusyPointer)
{
    Banco b;
    b.m.Diagnosi(3) = {IndiceDisabilitato, stato::Presente, 0};  // already disabled
    b.m.Diagnosi(8) = {-1, stato::Presente, 0};                  // no index: nothing to name
    b.click(b.f.CmdDisableAll);
    // Faulty coils (3, 6) too; the free index 5 and the unused 21..31 are absent.
    Linee attese;
    for (int i = 0; i <= 20; ++i)
        if (i != 2 && i != 5 && i != 7)
            attese.insert(attese.end(), {"DISABLE VALVOLA", std::to_string(i)});
    EXPECT_EQ(b.taken(), attese);
    EXPECT_EQ(b.host.busyHistory, (std::vector<bool>{true, false}));
    for (int r = 1; r <= 21; ++r) {
        if (r == 3 || r == 6 || r == 8)
            continue;
        EXPECT_EQ(b.m.Diagnosi(r).Indice, IndiceDisabilitato) << r;
        EXPECT_EQ(b.m.Diagnosi(r).Stato, stato::Presente) << r;
        EXPECT_EQ(b.m.ConfBobine(r).Indice, IndiceDisabilitato) << r;
    }
    EXPECT_EQ(b.m.Diagnosi(22).Indice, -1);
    EXPECT_EQ(b.m.Diagnosi(22).Stato, stato::Assente);
    EXPECT_EQ(b.m.ConfBobine(3).Indice, 2);
    EXPECT_EQ(b.m.ConfBobine(8).Indice, 7);
    for (const sim::Body& body : b.island.state().bodies)
        for (const sim::Coil& k : body.coils)
            EXPECT_EQ(k.index == sim::DisabledIndex, k.index != 2 && k.index != 7) << k.index;
    // Every coil button shows its position on pale yellow; empty places stay grey.
    for (int p = 1; p <= 14; ++p) {
        EXPECT_EQ(b.bobina(p).backColor(), colore::GialloPallido) << p;
        EXPECT_EQ(b.bobina(p).caption(), std::to_string(p)) << p;
    }
    EXPECT_EQ(b.bobina(15).backColor(), colore::Grigio);
    EXPECT_EQ(b.f.CmdAbilita.caption(), b.t.CaptAbilita);
    EXPECT_FALSE(b.f.CmdAziona.enabled());
    EXPECT_FALSE(b.f.CmdRelax.enabled());
    b.expectCleanDialogues();
}

// --- CmdRelax --------------------------------------------------------------

TEST(CmdRelax, SendsTheWholeListEndedBy1000)
{
    sim::Scenario s = sim::defaultScenario();
    for (sim::Body& body : s.bodies)
        for (sim::Coil& k : body.coils)
            k.relax = k.index == 0 || k.index == 2;
    Banco b(s);
    const auto relax = [&](int p) {
        b.click(b.bobina(p));
        b.click(b.f.CmdRelax);
        return b.taken();
    };
    EXPECT_EQ(relax(10), (Linee{"SET RELAX", "0", "2", "9", "1000"}));  // index 9
    EXPECT_TRUE(b.bobina(10).bold());
    EXPECT_EQ(b.m.Diagnosi(10).Relax, 1);
    EXPECT_EQ(b.f.CmdRelax.caption(), b.t.CaptNoRelax);
    EXPECT_TRUE(b.coil(0, 10).relax);

    EXPECT_EQ(relax(10), (Linee{"SET RELAX", "0", "2", "1000"}));
    EXPECT_FALSE(b.bobina(10).bold());
    EXPECT_EQ(b.f.CmdRelax.caption(), b.t.CaptRelax);
    EXPECT_EQ(relax(1), (Linee{"SET RELAX", "2", "1000"}));
    EXPECT_EQ(relax(3), (Linee{"SET RELAX", "1000"}));  // the last coil with relax on
    EXPECT_FALSE(b.coil(0, 3).relax);
    b.expectCleanDialogues();
}

TEST(CmdRelax, ACaptionThatIsNoIndexDoesNothing)
{
    Banco b;
    for (const char* caption : {"", "32", "-1", "170", "abc", "3x"}) {
        b.click(b.bobina(3));
        b.bobina(3).setCaption(caption);
        b.click(b.f.CmdRelax);
        EXPECT_TRUE(b.taken().empty()) << caption;
        EXPECT_FALSE(b.bobina(3).bold()) << caption;
    }
}

// --- CmdAzzera -------------------------------------------------------------

TEST(CmdAzzera, ResetsTheCounterOfTheSelectedCoil)
{
    Banco b;
    b.amministratore();
    b.click(b.bobina(3));
    b.clearLines();
    b.click(b.f.CmdAzzera);
    EXPECT_EQ(b.taken(), (Linee{"ZERO CONTACOLPI", "0", "3"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "0");
    EXPECT_EQ(b.coil(0, 3).strokes, 0);

    // A disabled coil is found by its position on the body.
    b.click(b.bobina(6));
    b.clearLines();
    b.click(b.f.CmdAzzera);
    EXPECT_EQ(b.taken(), (Linee{"ZERO CONTACOLPI", "0", "6"}));
    EXPECT_EQ(b.coil(0, 6).strokes, 0);

    // On an expansion, its number and the position on it.
    b.corpo(1);
    b.click(b.bobina(3));
    b.clearLines();
    b.click(b.f.CmdAzzera);
    EXPECT_EQ(b.taken(), (Linee{"ZERO CONTACOLPI", "1", "3"}));
    EXPECT_EQ(b.coil(1, 3).strokes, 0);
    b.expectCleanDialogues();
}

TEST(CmdAzzera, NoMatchingRowSendsNothing)
{
    Banco b;
    b.f.CmdAzzera.setVisible(true);
    b.f.TxtColpi.setText("3,000");
    Control& x = b.bobina(13);
    x.setBackColor(colore::Rosso);
    x.setCaption("25");
    b.click(x);
    b.click(b.f.CmdAzzera);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_EQ(b.f.TxtColpi.text(), "3,000");
}

// --- CmdReset --------------------------------------------------------------

TEST(CmdReset, ClearThenMessageThenLeaveServiceModeAndEnd)
{
    Banco b;
    EXPECT_THROW(b.click(b.f.CmdReset), ProgramEnded);
    EXPECT_EQ(b.taken(), (Linee{"CLEAR", "EXIT SV"}));
    EXPECT_EQ(b.island.clears(), 1);
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].text, b.t.Messaggi(msg::Spegnere));
    EXPECT_EQ(b.host.messages[0].title, b.f.caption());
    EXPECT_EQ(b.host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_TRUE(b.host.ended);
}

// --- One dialogue at a time ------------------------------------------------

TEST(Dialoghi, ClicksDuringADialogueAreIgnored)
{
    Banco b;
    b.click(b.bobina(1));
    // Inside the waits for the island's prompt and reply the user clicks
    // elsewhere and tries to close the window.
    std::optional<bool> chiusa;
    b.host.soon([&] {
        b.click(b.f.CmdAll);
        b.click(b.bobina(3));
        b.click(b.f.CmdRelax);
        b.click(b.f.CmdReset);
        chiusa = eventoChiusura(b.c);
    });
    b.host.at(b.host.nowUs() + 1000, [&] { b.click(b.f.CmdDisableAll); });
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.taken(), (Linee{"CLOSE VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_EQ(b.m.BobinaCorrente, 0);
    EXPECT_EQ(b.f.CmdAll.caption(), b.t.CaptChiudiAll);
    EXPECT_TRUE(b.host.messages.empty());
    EXPECT_EQ(chiusa, false);  // the close is refused
    EXPECT_FALSE(b.host.ended);
    EXPECT_TRUE(b.island.serviceMode());
    b.expectCleanDialogues();

    // Afterwards clicks work again.
    b.click(b.f.CmdAll);
    EXPECT_EQ(b.taken(), (Linee{"CLOSE ALL", "GET DIAGNOSI"}));
}

} // namespace
} // namespace ondrix
