// Faults on demand, the in-process port, and the dialogue checks that the
// re-entrancy tests rely on.

#include "Talk.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPort.h"

#include <gtest/gtest.h>

namespace ondrix::sim {
namespace {

using test::enter;

struct ManualClock : Clock {
    std::int64_t t = 1'000'000;
    std::int64_t nowUs() const override { return t; }
};

TEST(IslandFaults, SilentAfterTheNthLine)
{
    Scenario s = defaultScenario();
    s.faults.silentAfterLines = 2;
    SimulatedIsland island(s);
    test::Talk talk{island};
    EXPECT_EQ(talk(""), "ERROR\r\n");
    EXPECT_EQ(talk("ENTER SV"), "OK\r\n");
    EXPECT_EQ(talk("GET SLAVE ADDRESS"), "");
    EXPECT_EQ(talk(""), "");
    EXPECT_EQ(island.lines().size(), 4u);  // still heard
    EXPECT_FALSE(island.nextArrivalUs());
}

TEST(IslandFaults, SilentAtACommand)
{
    Scenario s = defaultScenario();
    s.faults.silentAtCommand = "GET CONF";
    SimulatedIsland island(s);
    test::Talk talk = enter(island);
    EXPECT_NE(talk("GET DIAGNOSI"), "");
    EXPECT_EQ(talk("GET CONF"), "");
    EXPECT_EQ(talk("GET DIAGNOSI"), "");
}

TEST(IslandFaults, ChunksArriveWithGapsAndTheTailLast)
{
    Scenario s = defaultScenario();
    s.faults.chunkSize = 10;
    s.faults.chunkGapUs = 30'000;
    SimulatedIsland island(s);
    test::Talk talk = enter(island);
    const std::int64_t t0 = talk.now;
    island.receive("GET SLAVE ADDRESS\r\n", t0);  // "SLAVE ADDRESS: 5\r\nOK\r\n": 22 characters
    EXPECT_EQ(island.take(t0), "SLAVE ADDR");
    EXPECT_EQ(island.nextArrivalUs(), t0 + 30'000);
    EXPECT_EQ(island.take(t0 + 29'999), "");
    EXPECT_EQ(island.take(t0 + 30'000), "ESS: 5\r\nOK");
    EXPECT_EQ(island.readable(t0 + 30'000 + Faults{}.tailDelayUs - 1), 0u);
    EXPECT_EQ(island.take(t0 + 30'000 + Faults{}.tailDelayUs), "\r\n");
}

TEST(IslandFaults, ALateReadStillEndsWithTheAwaitedText)
{
    SimulatedIsland island;
    island.receive("ENTER SV\r\n", 0);
    island.receive("GET SLAVE ADDRESS\r\n", 0);  // (reported: sent unread)
    EXPECT_EQ(island.readable(1'000'000), 26u);
    EXPECT_EQ(island.take(1'000'000), "OK");
    EXPECT_EQ(island.take(1'000'000), "\r\nSLAVE ADDRESS: 5\r\nOK");
    EXPECT_EQ(island.take(1'000'000), "\r\n");
}

TEST(IslandFaults, PacedAt960CharactersPerSecond)
{
    Scenario s = defaultScenario();
    s.faults.pace = true;
    SimulatedIsland island(s);
    test::Talk talk = enter(island);
    const std::int64_t t0 = talk.now;
    island.receive("GET DIAGNOSI\r\n", t0);
    std::string all;
    std::int64_t okAt = -1, endAt = -1;
    while (auto next = island.nextArrivalUs()) {
        all += island.take(*next);
        if (okAt < 0 && all.find("OK") != std::string::npos)
            okAt = *next;
        endAt = *next;
    }
    const double n = static_cast<double>(all.size());
    EXPECT_NEAR(static_cast<double>(endAt - t0), n * 1e6 / 960, 1.0);
    EXPECT_NEAR(static_cast<double>(okAt - t0), (n - 2) * 1e6 / 960, 1.0);
    // A second reply queues behind the first on the line.
    island.receive("ENTER SV\r\n", t0 + 1000);
    EXPECT_EQ(*island.nextArrivalUs(), endAt + 1042);
}

TEST(IslandFaults, LateLinkCheck)
{
    Scenario s = defaultScenario();
    s.faults.linkCheckDelayUs = 4'500'000;
    SimulatedIsland island(s);
    island.receive("\r\n", 0);
    EXPECT_EQ(island.take(4'499'999), "");
    EXPECT_EQ(island.take(4'500'000), "ERROR");
}

TEST(SimulatedPortTest, PortKindsForThePortSearch)
{
    ManualClock clock;
    SimulatedIsland island;
    SimulatedPort port(island, clock);
    port.setPort(1, PortKind::Silent);
    port.setPort(2, PortKind::Silent);
    port.setPort(3, PortKind::Island);
    port.setPortNumber(4);
    EXPECT_FALSE(port.open());
    EXPECT_THROW(port.write("\r\n"), PortError);
    port.setPortNumber(1);
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.open());  // already open
    port.write("\r\n");
    clock.t += 5'000'000;
    EXPECT_EQ(port.inputCount(), 0);
    EXPECT_FALSE(port.nextArrivalUs());
    port.close();
    EXPECT_TRUE(island.lines().empty());
    port.setPortNumber(3);
    ASSERT_TRUE(port.open());
    port.write("\r\n");
    EXPECT_EQ(port.nextArrivalUs(), clock.t);
    EXPECT_EQ(port.inputCount(), 5);
    EXPECT_EQ(port.readAll(), "ERROR");
    EXPECT_EQ(port.outputCount(), 0);
    EXPECT_EQ(port.openAttempts(), (std::vector<int>{4, 1, 1, 3}));
}

TEST(SimulatedPortTest, ClosingLosesWhatWasOnItsWay)
{
    ManualClock clock;
    SimulatedIsland island;
    SimulatedPort port(island, clock);
    port.setPortNumber(1);
    ASSERT_TRUE(port.open());
    port.write("ENTER SV\r\n");
    port.close();
    ASSERT_TRUE(port.open());
    clock.t += 10'000;
    EXPECT_EQ(port.inputCount(), 0);
    port.write("GET SLAVE ADDRESS\r\n");  // no complaint: nothing was left unread
    EXPECT_TRUE(island.protocolErrors().empty());
}

TEST(SimulatedPortTest, DroppedPortFailsEveryOperation)
{
    ManualClock clock;
    Scenario s = defaultScenario();
    s.faults.dropAtCommand = "GET CONF";
    SimulatedIsland island(s);
    SimulatedPort port(island, clock);
    ASSERT_TRUE(port.open());
    port.write("ENTER SV\r\n");
    EXPECT_EQ(port.readAll(), "OK");
    EXPECT_THROW(port.write("GET CONF\r\n"), PortError);
    EXPECT_THROW(port.inputCount(), PortError);
    EXPECT_THROW(port.outputCount(), PortError);
    EXPECT_THROW(port.readAll(), PortError);
    EXPECT_THROW(port.write("\r\n"), PortError);
    port.close();
    EXPECT_FALSE(port.open());
    EXPECT_EQ(island.lines().back(), "GET CONF");

    SimulatedIsland island2;
    island2.faults().dropAfterLines = 1;
    SimulatedPort port2(island2, clock);
    ASSERT_TRUE(port2.open());
    port2.write("\r\n");
    EXPECT_THROW(port2.write("ENTER SV\r\n"), PortError);
}

// --- The dialogue checks ------------------------------------------------

TEST(DialogueChecks, CleanDialoguesLeaveNoComplaint)
{
    SimulatedIsland island;
    test::Talk talk = enter(island);
    talk.dialogue({"ENABLE VALVOLA", "0", "6", "5"});
    talk.dialogue({"SET RELAX", "0", "1000"});
    talk("GET CONF");
    EXPECT_TRUE(island.protocolErrors().empty());
    EXPECT_EQ(island.pendingDialogue(), "");
    EXPECT_EQ(island.lines(),
              (std::vector<std::string>{"ENTER SV", "ENABLE VALVOLA", "0", "6", "5", "SET RELAX", "0", "1000",
                                        "GET CONF"}));
}

TEST(DialogueChecks, ArgumentSentBeforeThePromptWasRead)
{
    SimulatedIsland island;
    test::Talk talk = enter(island);
    island.receive("CLOSE VALVOLA\r\n", talk.now);
    island.receive("7\r\n", talk.now);  // the prompt was never read
    ASSERT_EQ(island.protocolErrors().size(), 1u);
    EXPECT_NE(island.protocolErrors()[0].find("before the reply to 'CLOSE VALVOLA'"), std::string::npos);
}

TEST(DialogueChecks, CommandInsideAnotherDialogue)
{
    SimulatedIsland island;
    test::Talk talk = enter(island);
    EXPECT_EQ(talk("LEGGI CONTACOLPI"), "ESP:\r\n");
    EXPECT_EQ(island.pendingDialogue(), "LEGGI CONTACOLPI");
    // A polling tick slipping in: answered, but reported.
    EXPECT_NE(talk("GET DIGITAL INPUT").find("OK"), std::string::npos);
    ASSERT_EQ(island.protocolErrors().size(), 1u);
    EXPECT_EQ(island.protocolErrors()[0], "dialogue of 'LEGGI CONTACOLPI' interrupted by 'GET DIGITAL INPUT'");
    EXPECT_EQ(island.pendingDialogue(), "");
    // The rest of the broken dialogue is no command.
    EXPECT_EQ(talk("0"), "ERROR\r\n");
    EXPECT_EQ(island.protocolErrors().size(), 2u);
}

TEST(DialogueChecks, BadLines)
{
    SimulatedIsland island;
    test::Talk talk{island};
    talk("GET DIAGNOSI");  // before ENTER SV
    talk("ENTER SV");
    talk("get diagnosi");  // commands are upper case
    talk("SET SLAVE ADDRESS");
    EXPECT_EQ(talk("12abc"), "ERROR\r\n");
    island.receive("EXIT SV\n", talk.now);  // no CR
    const auto& e = island.protocolErrors();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0], "'GET DIAGNOSI' outside service mode");
    EXPECT_EQ(e[1], "unknown command 'get diagnosi'");
    EXPECT_EQ(e[2], "argument '12abc' of 'SET SLAVE ADDRESS' is not a number");
    EXPECT_EQ(e[3], "line 'EXIT SV' not ended by CR LF");
}

} // namespace
} // namespace ondrix::sim
