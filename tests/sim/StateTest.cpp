// The island's state changed through its dialogues, as read back by its own
// replies or its state.

#include "Talk.h"
#include "sim/Scenario.h"

#include <gtest/gtest.h>

namespace ondrix::sim {
namespace {

using test::enter;

struct IslandState : ::testing::Test {
    SimulatedIsland island{defaultScenario()};
    test::Talk talk = enter(island);

    const Coil& coil(int body, int position)
    {
        for (const Coil& c : island.state().bodies.at(body).coils)
            if (c.position == position)
                return c;
        throw std::runtime_error("no coil");
    }
    void expectClean()
    {
        EXPECT_TRUE(island.protocolErrors().empty()) << island.protocolErrors().front();
        EXPECT_EQ(island.pendingDialogue(), "");
    }
};

TEST_F(IslandState, ValveDialoguesEnergiseAndCount)
{
    EXPECT_EQ(talk("CLOSE VALVOLA"), "INDICE:\r\n");
    EXPECT_EQ(talk("7"), "OK\r\n");
    EXPECT_TRUE(coil(0, 8).energised);
    EXPECT_EQ(talk.dialogue({"STATO VALVOLA", "7"}), "ON\r\nOK\r\n");
    const std::int64_t strokes = coil(0, 8).strokes;
    talk.dialogue({"OPEN VALVOLA", "7"});
    EXPECT_EQ(talk.dialogue({"STATO VALVOLA", "7"}), "OFF\r\nOK\r\n");
    talk.dialogue({"CLOSE VALVOLA", "7"});
    EXPECT_EQ(coil(0, 8).strokes, strokes + 1);

    talk("CLOSE ALL");
    EXPECT_TRUE(coil(1, 7).energised);
    EXPECT_FALSE(coil(0, 6).energised);  // the disabled coil stays off
    talk("OPEN ALL");
    EXPECT_FALSE(coil(0, 2).energised);
    expectClean();
}

TEST_F(IslandState, DisableAndEnableMoveTheFieldbusIndex)
{
    talk.dialogue({"DISABLE VALVOLA", "4"});
    EXPECT_EQ(coil(0, 5).index, DisabledIndex);
    EXPECT_FALSE(coil(0, 5).relax);
    EXPECT_NE(talk("GET DIAGNOSI").find("\n4\tASSENTE\r"), std::string::npos);

    EXPECT_EQ(talk("ENABLE VALVOLA"), "ESP:\r\n");
    EXPECT_EQ(talk("0"), "POS:\r\n");
    EXPECT_EQ(talk("6"), "INDICE:\r\n");
    EXPECT_EQ(talk("25"), "OK\r\n");
    EXPECT_EQ(coil(0, 6).index, 25);
    EXPECT_NE(talk("GET VALVOLE PRESENTI").find("\n  25\t6\r"), std::string::npos);
    EXPECT_NE(talk("GET DIAGNOSI").find("\n25\tPRESENTE\r"), std::string::npos);

    // An index already in use, or a place without a coil, changes nothing.
    talk.dialogue({"ENABLE VALVOLA", "0", "5", "0"});
    EXPECT_EQ(coil(0, 5).index, DisabledIndex);
    talk.dialogue({"ENABLE VALVOLA", "1", "8", "30"});
    EXPECT_EQ(island.rejected().size(), 2u);
    expectClean();
}

TEST_F(IslandState, RelaxListReplacesTheWholeList)
{
    EXPECT_EQ(talk("SET RELAX"), "INDICE:\r\n");
    EXPECT_EQ(talk("2"), "INDICE:\r\n");
    EXPECT_EQ(talk("14"), "INDICE:\r\n");
    EXPECT_EQ(talk("1000"), "OK\r\n");
    std::string r = talk("GET RELAX");
    EXPECT_NE(r.find("\n2\tCLOSE \r"), std::string::npos);
    EXPECT_NE(r.find("\n14\tCLOSE \r"), std::string::npos);
    EXPECT_NE(r.find("\r\n0\tOPEN \r"), std::string::npos);  // was on, not in the list
    talk.dialogue({"SET RELAX", "1000"});
    EXPECT_EQ(talk("GET RELAX").find("CLOSE"), std::string::npos);
    expectClean();
}

TEST_F(IslandState, FieldbusSettings)
{
    talk.dialogue({"SET SLAVE ADDRESS", "12"});
    EXPECT_EQ(talk("GET SLAVE ADDRESS"), "SLAVE ADDRESS: 12\r\nOK\r\n");
    EXPECT_EQ(talk("SET BAUD RATE"), "NUM:\r\n");
    EXPECT_EQ(talk(" 2"), "OK\r\n");  // the index comes with a leading blank
    EXPECT_EQ(island.state().baudIndex, 2);
    talk("TERMINAZIONE ON");
    EXPECT_TRUE(island.state().termination);
    talk("TERMINAZIONE OFF");
    EXPECT_FALSE(island.state().termination);
    talk.dialogue({"SET SLAVE ADDRESS", "300"});
    EXPECT_EQ(island.state().slaveAddress, 12);
    expectClean();
}

TEST_F(IslandState, InputModulesAreReaddressedAfterDisableDigital)
{
    // Swap the two modules' addresses 0 and 1: only disabled modules move, so
    // the first move cannot catch the second module.
    talk("DISABLE DIGITAL");
    EXPECT_NE(talk("GET CONF").find("IND: 0 OFF"), std::string::npos);
    EXPECT_EQ(talk("ENABLE DIGITAL"), "OLD ADDR\r\n");
    EXPECT_EQ(talk("0"), "NEW ADDR\r\n");
    EXPECT_EQ(talk("1"), "OK\r\n");
    talk.dialogue({"ENABLE DIGITAL", "1", "0"});
    EXPECT_EQ(island.state().modules[0].address, 1);
    EXPECT_EQ(island.state().modules[1].address, 0);
    std::string conf = talk("GET CONF");
    EXPECT_NE(conf.find("MOD 1 16IN IND: 1 ON\r\n"), std::string::npos);
    EXPECT_NE(conf.find("MOD 2 8IN IND: 0 ON\r\n"), std::string::npos);
    expectClean();
}

TEST_F(IslandState, StrokeCounterResetAndClear)
{
    talk.dialogue({"ZERO CONTACOLPI", "0", "3"});
    EXPECT_EQ(talk.dialogue({"LEGGI CONTACOLPI", "0", "3"}), "00000\r\nOK\r\n");
    talk("CLEAR");
    EXPECT_EQ(island.clears(), 1);
    EXPECT_FALSE(coil(0, 2).energised);
    EXPECT_FALSE(island.serviceMode());
    EXPECT_EQ(talk("EXIT SV"), "OK\r\n");
    expectClean();
}

TEST_F(IslandState, ToggledInputsFollowTheClock)
{
    island.state().modules[1].inputs[3].toggleUs = 2'000'000;
    const std::int64_t t = 8'000'000;  // an even number of periods
    EXPECT_FALSE(island.inputOn(1, 3, t));
    EXPECT_TRUE(island.inputOn(1, 3, t + 2'000'000));
    EXPECT_FALSE(island.inputOn(1, 3, t + 4'000'000));
    EXPECT_TRUE(island.inputOn(1, 1, t + 2'000'000));  // steady input
}

TEST(IslandFirmware, OlderFirmwareDoesNotKnowNewerCommands)
{
    Scenario s = defaultScenario();
    s.revAtmel = 40;
    s.bodies[0].rev = 38;
    SimulatedIsland island(s);
    test::Talk talk = enter(island);
    EXPECT_EQ(talk("GET DIGITAL INPUT"), "ERROR\r\n");
    EXPECT_EQ(talk("INTERFACCIA"), "ERROR\r\n");
    EXPECT_EQ(talk("GET CONF"), "ERROR\r\n");
    EXPECT_EQ(talk("STATO VALVOLA"), "INDICE:\r\n");
    EXPECT_EQ(island.rejected().size(), 3u);
}

TEST(IslandOverride, ReplacesOneReply)
{
    SimulatedIsland island;
    test::Talk talk = enter(island);
    island.overrideReply("STATO VALVOLA", "VALVOLA: IONICA\r\nOK\r\n");
    EXPECT_EQ(talk.dialogue({"STATO VALVOLA", "0"}), "VALVOLA: IONICA\r\nOK\r\n");
    island.overrideReply("GET BAUD RATE", "BAUD 7;\r\nOK\r\n");
    EXPECT_EQ(talk("GET BAUD RATE"), "BAUD 7;\r\nOK\r\n");
}

} // namespace
} // namespace ondrix::sim
