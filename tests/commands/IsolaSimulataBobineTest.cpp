// The coil work on the simulated island after a real start-up: the lines the
// island received, what it did with them, and the Form and the model.

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Linee = std::vector<std::string>;

// The default island: head of 8 stations, coils at positions 1..14 with
// index position - 1; index 1 energised, 3 short-circuited, 6 interrupted,
// position 6 disabled; relax on 0, 4, 9; expansion 1 with indexes 14..20.
struct Banco {
    explicit Banco(sim::Scenario s = sim::defaultScenario()) : rig(std::move(s))
    {
        rig.startUp();
        rig.clearLines();
        rig.host.busyHistory.clear();
        rig.host.messages.clear();
        rig.host.inputs.clear();
    }
    IslandRig rig;
    Configuratore& c = rig.c;
    Form& f = rig.c.f;
    const Testi& t = rig.c.m.testi;

    Control& bobina(int posizione) { return *f.Bobina[static_cast<std::size_t>(posizione - 1)]; }
    void click(Control& ctl) { eventoClick(c, ctl); }
    const sim::Coil& coil(int body, int posizione)
    {
        for (const sim::Coil& k : rig.island.state().bodies[static_cast<std::size_t>(body)].coils)
            if (k.position == posizione)
                return k;
        throw std::runtime_error("no coil");
    }
    void amministratore()
    {
        rig.host.inputAnswers.push_back("VELIROMANTICO");
        eventoDblClick(c, f.Image1);
        ASSERT_TRUE(f.TxtColpi.visible());
    }
    void senzaErrori() const
    {
        EXPECT_TRUE(rig.island.protocolErrors().empty());
        EXPECT_TRUE(rig.island.rejected().empty());
        EXPECT_EQ(rig.island.pendingDialogue(), "");
    }
};

TEST(BobineIsola, TheDefaultIslandIsDrawnAsExpected)
{
    Banco b;
    EXPECT_EQ(b.bobina(1).backColor(), colore::Arancio);
    EXPECT_EQ(b.bobina(2).backColor(), colore::Verde);
    EXPECT_EQ(b.bobina(4).backColor(), colore::Rosso);
    EXPECT_EQ(b.bobina(6).backColor(), colore::GialloPallido);
    EXPECT_EQ(b.bobina(15).backColor(), colore::Grigio);
    EXPECT_EQ(b.bobina(1).caption(), "0");
}

TEST(BobineIsola, EnergiseAndDeEnergiseOneCoil)
{
    Banco b;
    b.click(b.bobina(1));
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.rig.lines(), (Linee{"CLOSE VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_TRUE(b.coil(0, 1).energised);
    EXPECT_EQ(b.bobina(1).backColor(), colore::Verde);
    EXPECT_EQ(b.f.CmdAziona.caption(), b.t.CaptApri);
    EXPECT_FALSE(b.f.CmdAbilita.enabled());
    EXPECT_EQ(b.c.m.Diagnosi(1).Stato, stato::Attivata);

    b.rig.clearLines();
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.rig.lines(), (Linee{"OPEN VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_FALSE(b.coil(0, 1).energised);
    EXPECT_EQ(b.bobina(1).backColor(), colore::Arancio);
    EXPECT_TRUE(b.f.CmdAbilita.enabled());
    EXPECT_EQ(b.f.CmdAziona.caption(), b.t.CaptChiudi);
    b.senzaErrori();
}

TEST(BobineIsola, AFaultAfterTheActionPaintsTheCoilRed)
{
    Banco b;
    b.click(b.bobina(8));  // index 7
    b.rig.island.state().bodies[0].coils[7].diagnosis = 'I';
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.bobina(8).backColor(), colore::Rosso);
    EXPECT_FALSE(b.bobina(8).enabled());
    EXPECT_FALSE(b.f.CmdAziona.enabled());
    EXPECT_FALSE(b.f.CmdAbilita.enabled());
    EXPECT_FALSE(b.f.CmdRelax.enabled());
    EXPECT_EQ(b.c.m.Diagnosi(8).Stato, stato::GuastaI);
    b.senzaErrori();
}

TEST(BobineIsola, CloseAllRepaintsOnlyOrangeButtons)
{
    Banco b;
    b.click(b.f.CmdAll);
    EXPECT_EQ(b.rig.lines(), (Linee{"CLOSE ALL", "GET DIAGNOSI"}));
    for (int p : {1, 3, 5, 8, 9, 10, 14})
        EXPECT_EQ(b.bobina(p).backColor(), colore::Verde) << p;
    EXPECT_EQ(b.bobina(2).backColor(), colore::Verde);  // was green already
    EXPECT_EQ(b.bobina(4).backColor(), colore::Rosso);
    EXPECT_EQ(b.bobina(7).backColor(), colore::Rosso);
    EXPECT_EQ(b.bobina(6).backColor(), colore::GialloPallido);
    EXPECT_EQ(b.bobina(15).backColor(), colore::Grigio);
    EXPECT_EQ(b.f.CmdAll.caption(), b.t.CaptApriAll);
    EXPECT_TRUE(b.coil(1, 3).energised);  // the expansion's coils too

    b.rig.clearLines();
    b.click(b.f.CmdAll);
    EXPECT_EQ(b.rig.lines(), (Linee{"OPEN ALL", "GET DIAGNOSI"}));
    for (int p : {1, 2, 3, 14})
        EXPECT_EQ(b.bobina(p).backColor(), colore::Arancio) << p;
    EXPECT_EQ(b.bobina(4).backColor(), colore::Rosso);
    b.senzaErrori();
}

TEST(BobineIsola, CtrlClickSwitchesAtOnce)
{
    Banco b;
    b.rig.host.ctrl = true;
    b.click(b.bobina(3));
    EXPECT_EQ(b.rig.lines(), (Linee{"CLOSE VALVOLA", "2", "GET DIAGNOSI"}));
    EXPECT_TRUE(b.coil(0, 3).energised);
    EXPECT_EQ(b.bobina(3).backColor(), colore::Verde);
    EXPECT_TRUE(b.f.Shape6[2]->visible());
    b.senzaErrori();
}

TEST(BobineIsola, StrokeCounterInAdministratorMode)
{
    Banco b;
    b.amministratore();
    b.rig.island.state().bodies[0].coils[0].strokes = 0;
    b.click(b.bobina(3));  // index 2: 125,000 strokes
    EXPECT_EQ(b.rig.lines(), (Linee{"LEGGI CONTACOLPI", "0", "3"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "125,000");
    b.click(b.bobina(1));
    EXPECT_EQ(b.f.TxtColpi.text(), "0");

    // A disabled coil is read by its place on the body.
    b.rig.island.state().bodies[0].coils[5].strokes = 7'000;
    b.click(b.bobina(6));
    EXPECT_EQ(b.f.TxtColpi.text(), "7,000");

    // Reset it, then read it again.
    b.click(b.bobina(3));
    b.rig.clearLines();
    b.click(b.f.CmdAzzera);
    EXPECT_EQ(b.rig.lines(), (Linee{"ZERO CONTACOLPI", "0", "3"}));
    EXPECT_EQ(b.f.TxtColpi.text(), "0");
    EXPECT_EQ(b.coil(0, 3).strokes, 0);
    b.senzaErrori();
}

sim::Scenario conIndiceCinqueInPosizioneTre()
{
    sim::Scenario s = sim::defaultScenario();
    s.bodies[0].coils[2].index = 5;   // position 3 holds index 5
    s.bodies[0].coils[7].index = 21;  // index 7 free
    return s;
}

TEST(BobineIsola, DisableThenEnableWithSeven)
{
    Banco b(conIndiceCinqueInPosizioneTre());
    Model& m = b.c.m;
    b.click(b.bobina(3));
    b.click(b.f.CmdAbilita);
    EXPECT_EQ(b.rig.lines(), (Linee{"DISABLE VALVOLA", "5"}));
    EXPECT_EQ(b.bobina(3).caption(), "3");
    EXPECT_EQ(b.bobina(3).backColor(), colore::GialloPallido);
    EXPECT_EQ(m.ConfBobine(3).Indice, IndiceDisabilitato);
    EXPECT_EQ(m.Diagnosi(6).Indice, IndiceDisabilitato);
    EXPECT_EQ(b.coil(0, 3).index, sim::DisabledIndex);

    // Cancelled: nothing sent.
    b.rig.clearLines();
    b.click(b.bobina(3));
    b.click(b.f.CmdAbilita);
    EXPECT_TRUE(b.rig.lines().empty());

    // 32, -1 and the index of a present coil bring the box back.
    b.rig.host.inputAnswers = {"32", "-1", "0", "7"};
    b.click(b.f.CmdAbilita);
    EXPECT_EQ(b.rig.host.inputs.size(), 5u);
    EXPECT_EQ(b.rig.lines(), (Linee{"ENABLE VALVOLA", "0", "3", "7"}));
    EXPECT_EQ(b.bobina(3).caption(), "7");
    EXPECT_EQ(b.bobina(3).backColor(), colore::Arancio);
    EXPECT_EQ(m.ConfBobine(3).Indice, 7);
    EXPECT_EQ(b.coil(0, 3).index, 7);
    b.senzaErrori();
}

TEST(BobineIsola, DisableAllAnsweredNoSendsNothing)
{
    Banco b;
    b.rig.host.messageAnswers = {MessageAnswer::No};
    b.click(b.f.CmdDisableAll);
    EXPECT_TRUE(b.rig.lines().empty());
    EXPECT_EQ(b.bobina(1).backColor(), colore::Arancio);
}

TEST(BobineIsola, DisableAllTakesEveryPresentCoilOutOfService)
{
    Banco b;
    b.click(b.f.CmdDisableAll);
    for (const sim::Body& body : b.rig.island.state().bodies)
        for (const sim::Coil& k : body.coils)
            EXPECT_EQ(k.index, sim::DisabledIndex) << k.position;
    EXPECT_EQ(b.rig.host.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_EQ(b.bobina(4).backColor(), colore::GialloPallido);
    EXPECT_EQ(b.bobina(4).caption(), "4");
    EXPECT_EQ(b.bobina(15).backColor(), colore::Grigio);
    b.senzaErrori();
}

TEST(BobineIsola, RelaxSendsTheWholeList)
{
    sim::Scenario s = sim::defaultScenario();
    for (sim::Body& body : s.bodies)
        for (sim::Coil& k : body.coils)
            k.relax = k.index == 0 || k.index == 3;
    Banco b(s);
    b.click(b.bobina(10));  // index 9
    b.click(b.f.CmdRelax);
    EXPECT_EQ(b.rig.lines(), (Linee{"SET RELAX", "0", "3", "9", "1000"}));
    EXPECT_TRUE(b.coil(0, 10).relax);
    EXPECT_TRUE(b.bobina(10).bold());
    b.senzaErrori();
}

TEST(BobineIsola, ClearEndsTheProgramAfterExitSv)
{
    Banco b;
    EXPECT_THROW(b.click(b.f.CmdReset), test::ProgramEnded);
    EXPECT_EQ(b.rig.lines(), (Linee{"CLEAR", "EXIT SV"}));
    EXPECT_EQ(b.rig.island.clears(), 1);
    ASSERT_EQ(b.rig.host.messages.size(), 1u);
    EXPECT_EQ(b.rig.host.messages[0].text, b.t.Messaggi(msg::Spegnere));
    EXPECT_FALSE(b.rig.port.isOpen());
}

TEST(BobineIsola, TheCoilsOwnRecordIsReadNotOneEndingInTheSameDigit)
{
    Banco b;
    // An island listing index 11 (faulty) before index 1.
    std::string r = "STATO BOBINE\r\n11\tCORTOCIRCUITO\r\n21\tINTERROTTA\r\n";
    for (int i = 0; i < 30; ++i)
        r += std::to_string(i == 11 || i == 21 ? 30 + i : i) + "\tPRESENTE\r\n";
    b.rig.island.overrideReply("GET DIAGNOSI", r + "OK\r\n");
    b.click(b.bobina(2));  // index 1, green
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.bobina(2).backColor(), colore::Arancio);
    EXPECT_TRUE(b.bobina(2).enabled());
}

TEST(BobineIsola, ClicksDuringADialogueAreIgnored)
{
    Banco b;
    b.click(b.bobina(1));
    // Inside the wait for the island's prompt the user clicks elsewhere.
    b.rig.host.soon([&] {
        b.click(b.f.CmdAll);
        b.click(b.bobina(3));
        b.click(b.f.CmdRelax);
    });
    b.rig.host.at(b.rig.host.nowUs() + 1000, [&] { b.click(b.f.CmdDisableAll); });
    b.click(b.f.CmdAziona);
    EXPECT_EQ(b.rig.lines(), (Linee{"CLOSE VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_EQ(b.c.m.BobinaCorrente, 0);
    EXPECT_TRUE(b.rig.host.messages.empty());
    b.senzaErrori();
}

} // namespace
} // namespace ondrix
