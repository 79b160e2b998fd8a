// The simulated island behind the real command channel (and the whole
// start-up), on the fake clock: what the configurator gets is the same however
// the replies arrive.

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "island/Model.h"
#include "sim/SimulatedPort.h"
#include "support/FakeHost.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ondrix::sim {
namespace {

struct Line {
    explicit Line(Scenario s = defaultScenario()) : island(std::move(s))
    {
        m.testi.Ritardo = 0.05f;
        port.setPortNumber(1);
        port.open();
    }
    ondrix::test::FakeHost host;
    SimulatedIsland island;
    SimulatedPort port{island, host};
    Model m;
    ondrix::test::ParametriTesti parametri{m.testi, [] { return std::string("CONFIGURATORE"); }};
    Channel ch{port, host, parametri};
};

class FullDialogue : public ::testing::TestWithParam<int> {};

TEST_P(FullDialogue, SameRepliesPlainChunkedAndPaced)
{
    Scenario s = defaultScenario();
    if (GetParam() == 1) {
        s.faults.chunkSize = 7;
        s.faults.chunkGapUs = 40'000;
    } else if (GetParam() == 2) {
        s.faults.pace = true;
    }
    Line l(s);
    EXPECT_TRUE(l.ch.ProvaCollegamento());
    EXPECT_EQ(l.ch.InviaComando("ENTER SV", "OK"), "OK");
    EXPECT_EQ(l.ch.InviaComando("GET SLAVE ADDRESS", "OK"), "SLAVE ADDRESS: 5\r\nOK");
    EXPECT_EQ(l.ch.InviaComando("CLOSE VALVOLA", "INDICE:"), "INDICE:");
    EXPECT_EQ(l.ch.InviaComando("7", "OK"), "OK");
    std::string d = l.ch.InviaComando("GET DIAGNOSI", "OK");
    EXPECT_EQ(d.substr(0, 16), "STATO BOBINE\r\n0\t");
    EXPECT_EQ(d.substr(d.size() - 4), "\r\nOK");
    std::string v = l.ch.InviaComando("GET VALVOLE PRESENTI", "OK");
    EXPECT_EQ(v.substr(v.size() - 3), "\rOK");
    EXPECT_EQ(l.ch.InviaComando("EXIT SV", "OK"), "OK");

    EXPECT_TRUE(l.island.state().bodies[0].coils[7].energised);
    EXPECT_TRUE(l.island.protocolErrors().empty());
    EXPECT_EQ(l.island.lines(), (std::vector<std::string>{"", "ENTER SV", "GET SLAVE ADDRESS", "CLOSE VALVOLA", "7",
                                                          "GET DIAGNOSI", "GET VALVOLE PRESENTI", "EXIT SV"}));
}

INSTANTIATE_TEST_SUITE_P(Delivery, FullDialogue, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return std::string(i.param == 0 ? "Plain" : i.param == 1 ? "Chunked" : "Paced");
                         });

// A reply is read as it comes, so that its end is noticed when it comes. A
// command asked again gathers its reply in the port up to near the last
// reply's length, in a few wake-ups, its end noticed as soon; a reply
// shorter than the last is read late, and what came after its expected text
// begins the next reply.
TEST(ReplyEnd, NoticedWhenItComesAlsoWhenGathered)
{
    Scenario s = defaultScenario();
    s.faults.pace = true;
    Line l(s);
    l.ch.InviaComando("ENTER SV", "OK");
    const auto characters = [](std::size_t n) {
        return static_cast<std::int64_t>(std::llround(static_cast<double>(n) * 1e6 / SimulatedIsland::CharsPerSecond));
    };
    std::string first;
    for (int k = 0; k < 2; ++k) {
        const std::int64_t start = l.host.nowUs();
        const long waits = l.host.waits();
        const std::string d = l.ch.InviaComando("GET DIAGNOSI", "OK");
        // The reply's last character, then the settling pause: no later.
        const std::int64_t end = start + characters(d.size()) + 50'000;
        EXPECT_GE(l.host.nowUs(), end);
        EXPECT_LE(l.host.nowUs(), end + characters(1));
        if (k == 0) {
            first = d;
            continue;
        }
        EXPECT_EQ(d, first);
        EXPECT_LT(l.host.waits() - waits, 20) << "gathered, not read character by character";
    }

    l.island.overrideReply("GET DIAGNOSI", "STATO BOBINE\r\nOK\r\n");
    EXPECT_EQ(l.ch.InviaComando("GET DIAGNOSI", "OK"), "STATO BOBINE\r\nOK");
    EXPECT_EQ(l.ch.InviaComando("EXIT SV", "OK"), "OK");
    EXPECT_TRUE(l.island.protocolErrors().empty());
}

// --- The whole start-up ------------------------------------------------

TEST(IslandRigTest, PacedAndChunkedStartUpReadsTheSame)
{
    Scenario s = defaultScenario();
    s.faults.pace = true;
    s.faults.chunkSize = 16;
    s.faults.chunkGapUs = 20'000;
    IslandRig rig(s);
    rig.startUp();
    EXPECT_TRUE(rig.island.protocolErrors().empty());
    EXPECT_EQ(rig.c.m.TotaleBobine, 21);
    EXPECT_EQ(rig.c.m.TotaleIngressi, 24);
    EXPECT_EQ(rig.c.m.Moduli(2).Indirizzo, 1);
}

} // namespace
} // namespace ondrix::sim
