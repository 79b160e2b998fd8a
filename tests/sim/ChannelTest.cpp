// The simulated island behind the real command channel (and the whole
// start-up), on the fake clock: what the configurator gets is what it parses.

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "island/Model.h"
#include "sim/SimulatedPort.h"
#include "support/FakeHost.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix::sim {
namespace {

struct Line {
    explicit Line(Scenario s = defaultScenario()) : island(std::move(s))
    {
        m.testi.Ritardo = 0.05f;
        m.testi.Messaggi(msg::Timeout1) = "NESSUNA RISPOSTA";
        m.testi.Messaggi(msg::Timeout2) = "IL PROGRAMMA TERMINA";
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

Scenario with(void (*tweak)(Faults&))
{
    Scenario s = defaultScenario();
    tweak(s.faults);
    return s;
}

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

TEST(ChannelOnIsland, PacedReplyTakesItsLineTime)
{
    Line l(with([](Faults& f) { f.pace = true; }));
    const std::int64_t t0 = l.host.nowUs();
    std::string r = l.ch.InviaComando("GET DIAGNOSI", "OK");
    const double took = static_cast<double>(l.host.nowUs() - t0);
    // The reply's characters at 960 per second, then the 50 ms settling pause.
    EXPECT_NEAR(took, r.size() * 1e6 / 960 + 50'000, 2'000);
}

TEST(ChannelOnIsland, SilentIslandEndsTheProgram)
{
    Line l(with([](Faults& f) { f.silentAtCommand = "GET CONF"; }));
    l.ch.InviaComando("ENTER SV", "OK");
    EXPECT_THROW(l.ch.InviaComando("GET CONF", "OK"), ondrix::test::ProgramEnded);
    ASSERT_EQ(l.host.messages.size(), 1u);
    EXPECT_EQ(l.host.messages[0].text, "NESSUNA RISPOSTA\r\nIL PROGRAMMA TERMINA");
}

TEST(ChannelOnIsland, LinkCheckAnsweredLateOrInTime)
{
    Line late(with([](Faults& f) { f.linkCheckDelayUs = 4'200'000; }));
    EXPECT_FALSE(late.ch.ProvaCollegamento());
    EXPECT_TRUE(late.host.messages.empty());
    Line inTime(with([](Faults& f) { f.linkCheckDelayUs = 3'500'000; }));
    EXPECT_TRUE(inTime.ch.ProvaCollegamento());
}

TEST(ChannelOnIsland, DroppedPortIsAPortError)
{
    Line l(with([](Faults& f) { f.dropAfterLines = 1; }));
    l.ch.InviaComando("ENTER SV", "OK");
    EXPECT_THROW(l.ch.InviaComandoOppureErrore("GET CONF", "OK"), PortError);
}

// --- The whole start-up on the rig ---------------------------------------

TEST(IslandRigTest, StartUpReadsTheDefaultIsland)
{
    IslandRig rig;
    rig.startUp();
    EXPECT_TRUE(rig.island.protocolErrors().empty());
    EXPECT_EQ(rig.island.pendingDialogue(), "");
    std::vector<std::string> l = rig.lines();
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(l[0], "");
    EXPECT_EQ(l[1], "ENTER SV");
    EXPECT_EQ(l[2], "GET SLAVE ADDRESS");
    EXPECT_NE(std::find(l.begin(), l.end(), "GET CONF"), l.end());
    EXPECT_NE(std::find(l.begin(), l.end(), "STATO TERMINAZIONE"), l.end());

    const Model& m = rig.c.m;
    EXPECT_EQ(m.NumEspansioni, 2);
    EXPECT_EQ(m.TotaleBobine, 21);
    EXPECT_EQ(m.RevAtmel, 47);
    EXPECT_EQ(m.Protocollo, 1);
    EXPECT_EQ(m.NumModuli, 2);
    EXPECT_EQ(m.TotaleIngressi, 24);
    EXPECT_EQ(m.Moduli(1).Indirizzo, 0);
    EXPECT_EQ(m.Moduli(2).Indirizzo, 1);
    EXPECT_EQ(m.Moduli(2).RevPic, 22);
    EXPECT_EQ(m.NumeriIngressi(3), 170);
    EXPECT_EQ(m.Diagnosi(2).Stato, 5);  // the energised coil, from STATO VALVOLA
    EXPECT_EQ(m.Diagnosi(4).Stato, 3);
    EXPECT_EQ(m.Diagnosi(7).Stato, 4);
    EXPECT_EQ(m.Diagnosi(1).Relax, 1);
    EXPECT_EQ(m.ConfBobine(6).Indice, 170);
    EXPECT_EQ(m.ConfBobine(15).Indice, 14);
    EXPECT_EQ(m.Espansioni(2).RevPic, 46);
    EXPECT_FALSE(rig.host.ended);
}

TEST(IslandRigTest, PortSearchPassesTwoSilentPorts)
{
    IslandRig rig;
    rig.port.setPort(1, PortKind::Silent);
    rig.port.setPort(2, PortKind::Silent);
    rig.port.setPort(3, PortKind::Island);
    const std::int64_t t0 = rig.host.nowUs();
    rig.startUp();
    EXPECT_EQ(rig.port.portNumber(), 3);
    EXPECT_GT(rig.host.nowUs() - t0, 8'000'000);
    EXPECT_EQ(rig.c.m.NumEspansioni, 2);
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

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
