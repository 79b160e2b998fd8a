// Administrator mode (the password on Image1) and the exit paths, which all
// take the island out of service mode.

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::ProgramEnded;

bool amministratore(const Form& f)
{
    return f.CmdBootloader.visible() && f.TxtColpi.visible() && f.CmdAzzera.visible();
}
bool nascosti(const Form& f)
{
    return !f.CmdBootloader.visible() && !f.TxtColpi.visible() && !f.CmdAzzera.visible();
}

TEST(Amministratore, PasswordAndFirmwareOfTheSelectedBody)
{
    // The default island's expansion at firmware 34: one below the counters' gate.
    sim::Scenario s = sim::defaultScenario();
    s.bodies[1].rev = 34;
    IslandRig r(s);
    r.ready();

    // Cancel: nothing.
    Image1_DblClick(r.c);
    ASSERT_EQ(r.host.inputs.size(), 1u);
    EXPECT_EQ(r.host.inputs[0].title, "PASSWORD");
    EXPECT_EQ(r.host.inputs[0].prompt, "");
    EXPECT_TRUE(nascosti(r.c.f));

    r.host.inputAnswers = {"veliromantico"};
    Image1_DblClick(r.c);
    EXPECT_TRUE(nascosti(r.c.f)) << "case-sensitive";

    eventoSceltaLista(r.c, r.c.f.Combo1, 1);  // the body with firmware 34
    r.host.inputAnswers = {"VELIROMANTICO"};
    Image1_DblClick(r.c);
    EXPECT_TRUE(nascosti(r.c.f));

    r.c.m.Espansioni(2).RevPic = 35;
    r.host.inputAnswers = {"VELIROMANTICO"};
    Image1_DblClick(r.c);
    EXPECT_TRUE(amministratore(r.c.f));
    EXPECT_EQ(r.host.inputs.size(), 4u);

    r.host.inputAnswers = {"wrong"};
    r.clearLines();
    Image1_DblClick(r.c);
    EXPECT_TRUE(amministratore(r.c.f)) << "administrator mode lasts";
    EXPECT_TRUE(r.lines().empty()) << "no word to the island";
}

TEST(Amministratore, SelectionOutsideTheBodyTableUnlocksNothing)
{
    IslandRig r;
    r.ready();
    r.c.m.Espansioni.fill({0, 8, 8, 50});
    for (int corrente : {-1, -2, 16, 300}) {
        r.c.m.EspansioneCorrente = static_cast<std::int16_t>(corrente);
        r.host.inputAnswers = {"VELIROMANTICO"};
        EXPECT_NO_THROW(Image1_DblClick(r.c)) << corrente;
        EXPECT_TRUE(nascosti(r.c.f)) << corrente;
    }
}

TEST(Uscita, ExitButtonAndCloseBoxLeaveServiceModeCloseThePortAndEnd)
{
    for (bool chiusura : {false, true}) {
        IslandRig rig;
        rig.startUp();
        rig.clearLines();
        try {
            if (chiusura)
                eventoChiusura(rig.c);
            else
                eventoClick(rig.c, rig.c.f.CmdEsci);
            FAIL() << "the program should have ended";
        } catch (const ProgramEnded& e) {
            EXPECT_EQ(e.status, 0);
        }
        EXPECT_EQ(rig.lines(), (std::vector<std::string>{"EXIT SV"})) << chiusura;
        EXPECT_FALSE(rig.island.serviceMode());
        EXPECT_FALSE(rig.c.port.isOpen());
        EXPECT_TRUE(rig.host.messages.empty());
    }
}

// The close of the exit step never runs; the time-out itself closes the port
// so that its lock file does not outlive the program.
TEST(Uscita, NoAnswerToExitEndsAfterTheTimeoutWithThePortReleased)
{
    IslandRig rig;
    rig.startUp();
    rig.island.faults().silentAtCommand = "EXIT SV";
    try {
        CmdEsci_Click(rig.c);
        FAIL();
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.status, StatoTimeout);
    }
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.c.port.isOpen());
}

} // namespace
} // namespace ondrix
