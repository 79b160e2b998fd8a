// The input poll on the simulated default island (16 + 8 inputs).

#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

struct PollingIsola : ::testing::Test {
    IslandRig rig;
    Configuratore& c = rig.c;
    void SetUp() override
    {
        rig.startUp();
        rig.clearLines();
    }
    void TearDown() override { EXPECT_TRUE(rig.island.protocolErrors().empty()); }
};

TEST_F(PollingIsola, TicksWithTheOutputsShownSendNothing)
{
    for (int i = 0; i < 3; ++i)
        eventoTimer(c);
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(PollingIsola, AStateChangeShowsWithinOneTick)
{
    eventoClick(c, c.f.OptInput);
    EXPECT_EQ(c.f.DInput[1]->backColor(), colore::Giallo);
    rig.island.state().modules[0].inputs[1].on = true;
    rig.island.state().modules[1].inputs[7].on = true;
    eventoTimer(c);
    EXPECT_EQ(rig.lines(), Lines{"GET DIGITAL INPUT"});
    EXPECT_EQ(c.f.DInput[1]->backColor(), colore::Verde);
    // The second module's inputs land in rows 17..24.
    EXPECT_EQ(c.m.StatoIngressi(24), 1);
    EXPECT_EQ(c.m.NumeriIngressi(24), 7);
    EXPECT_EQ(c.m.StatoIngressi(18), 1);
    EXPECT_EQ(c.m.StatoIngressi(17), 0);
}

TEST_F(PollingIsola, HeadRevision38RedrawsWithoutAsking)
{
    eventoClick(c, c.f.OptInput);
    c.m.Espansioni(1).RevPic = 38;
    c.m.StatoIngressi(2) = 1;
    eventoTimer(c);
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_EQ(c.f.DInput[1]->backColor(), colore::Verde);
}

TEST_F(PollingIsola, OnWithBlanksAroundItCountsAsOn)
{
    eventoClick(c, c.f.OptInput);
    std::string r = rig.island.replyTo("GET DIGITAL INPUT", rig.host.nowUs());
    const std::size_t p = r.find("1\tIN02\tOFF\r");
    ASSERT_NE(p, std::string::npos) << r;
    r.replace(p, 11, "1\tIN02\t  ON  \r");
    rig.island.overrideReply("GET DIGITAL INPUT", r + "OK\r\n");
    eventoTimer(c);
    EXPECT_EQ(c.m.StatoIngressi(2), 1);
    EXPECT_EQ(c.f.DInput[1]->backColor(), colore::Verde);
}

TEST_F(PollingIsola, MalformedRepliesKeepWhatWasReadAndNeverStopTheProgram)
{
    eventoClick(c, c.f.OptInput);
    // The island's own reply, without its closing "OK".
    const std::string corpo = rig.island.replyTo("GET DIGITAL INPUT", rig.host.nowUs());
    const std::string fine = "OK\r\n";
    const std::size_t secondo = corpo.find("\nMOD 2");
    ASSERT_NE(secondo, std::string::npos);

    struct Caso {
        const char* nome;
        std::string risposta;
        std::function<void()> poi;
    };
    std::string accesi = corpo;
    for (std::size_t p; (p = accesi.find("OFF")) != std::string::npos;)
        accesi.replace(p, 3, "ON");
    std::string nonNumerico = accesi;
    nonNumerico.replace(nonNumerico.find("5\tIN06"), 1, "x");
    std::string undici = corpo;
    for (int i = 0; i < 9; ++i)
        undici += corpo.substr(secondo);
    const Caso casi[] = {
        {"more blocks", accesi + corpo.substr(27) + fine,
         [&] {
             EXPECT_EQ(c.m.StatoIngressi(2), 1);
             EXPECT_EQ(c.m.StatoIngressi(17), 1);
         }},
        // Only the first module: the second keeps what the last poll read.
        {"fewer records", corpo.substr(0, secondo) + fine,
         [&] {
             EXPECT_EQ(c.m.StatoIngressi(2), 0);
             EXPECT_EQ(c.m.StatoIngressi(17), 1);
         }},
        {"eleven blocks", undici + fine, [&] { EXPECT_EQ(c.m.StatoIngressi(17), 0); }},
        // Records before the bad number are read, the rest keep their state.
        {"non-numeric number", nonNumerico + fine,
         [&] {
             EXPECT_EQ(c.m.StatoIngressi(2), 1);
             EXPECT_EQ(c.m.StatoIngressi(7), 0);
         }},
        {"nothing but OK", fine, [] {}},
        {"empty lines", "\r\n\r\n\t\t\t\r" + fine, [] {}},
    };
    for (const Caso& k : casi) {
        SCOPED_TRACE(k.nome);
        rig.island.overrideReply("GET DIGITAL INPUT", k.risposta);
        EXPECT_NO_THROW(eventoTimer(c));
        EXPECT_TRUE(c.f.Frame1.visible());
        k.poi();
    }
}

TEST_F(PollingIsola, ATickDueWhileAnotherDialogueWaitsIsSkipped)
{
    eventoClick(c, c.f.OptInput);
    rig.clearLines();
    int ticks = 0;
    // Due while the slave-address dialogue waits for the island.
    rig.host.at(rig.host.nowUs() + 1, [&] {
        ++ticks;
        eventoTimer(c);
    });
    rig.host.inputAnswers = {"9"};
    // The address button is on the header; show it as the outputs would.
    c.f.CmdPAddress.setVisible(true);
    eventoClick(c, c.f.CmdPAddress);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(rig.lines(), (Lines{"SET SLAVE ADDRESS", "9"}));
    EXPECT_EQ(rig.island.state().slaveAddress, 9);
}

} // namespace
} // namespace ondrix
