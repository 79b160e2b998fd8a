#include "diagnostics/Diagnosi.h"
#include "island/Risposte.h"
#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/ReplyPort.h"

#include <gtest/gtest.h>

#include <random>

namespace ondrix {
namespace {

using test::Record;
using test::records;
using test::rispostaIngressi;

std::vector<std::int16_t> conteggi(std::initializer_list<int> n)
{
    return std::vector<std::int16_t>(n.begin(), n.end());
}

// ---- The reply parser ----------------------------------------------------

TEST(LeggiIngressi, ModulesOf16And8FillRows1To16And17To24)
{
    auto a = records(16, "OFF", 0);
    a[2].stato = "ON";
    auto b = records(8, "ON", 100);
    b[7].stato = "OFF";
    auto l = LeggiStatiIngressi(rispostaIngressi({a, b}), conteggi({16, 8}));
    ASSERT_EQ(l.ingressi.size(), 24u);
    EXPECT_FALSE(l.interrotta);
    EXPECT_EQ(l.moduli, 2);
    EXPECT_EQ(l.ingressi[2].riga, 3);
    EXPECT_EQ(l.ingressi[2].stato, 1);
    EXPECT_EQ(l.ingressi[15].stato, 0);
    EXPECT_EQ(l.ingressi[16].riga, 17);
    EXPECT_EQ(l.ingressi[16].numero, 100);
    EXPECT_EQ(l.ingressi[16].stato, 1);
    EXPECT_EQ(l.ingressi[23].riga, 24);
    EXPECT_EQ(l.ingressi[23].numero, 107);
    EXPECT_EQ(l.ingressi[23].stato, 0);
}

TEST(LeggiIngressi, StateTextsAreTrimmedOfBlanksAndOthersLeaveTheState)
{
    auto a = records(8, "OFF");
    a[0] = {0, "  ON "};
    a[1] = {1, " OFF"};
    a[2] = {170, "DIS"};
    a[3] = {3, "on"};
    a[4] = {4, "\tON"};  // a tab is no blank
    auto l = LeggiStatiIngressi(rispostaIngressi({a}), conteggi({8}));
    ASSERT_EQ(l.ingressi.size(), 8u);
    EXPECT_EQ(l.ingressi[0].stato, 1);
    EXPECT_EQ(l.ingressi[1].stato, 0);
    EXPECT_EQ(l.ingressi[2].stato, -1);
    EXPECT_EQ(l.ingressi[2].numero, 170);
    EXPECT_EQ(l.ingressi[3].stato, -1);
    EXPECT_EQ(l.ingressi[4].stato, -1);

    Model m;
    m.StatoIngressi(3) = 1;
    m.NumeriIngressi(3) = 9;
    applicaIngressi(m, l);
    EXPECT_EQ(m.NumeriIngressi(3), 170);  // the number is still taken
    EXPECT_EQ(m.StatoIngressi(3), 1);     // the state is not
    EXPECT_EQ(m.StatoIngressi(1), 1);
    EXPECT_EQ(m.StatoIngressi(2), 0);
}

// Replies that do not match the modules: reading stops there, what was read
// whole before stays.
TEST(LeggiIngressi, StopsWhereTheReplyStopsMatchingAndKeepsWhatWasRead)
{
    const std::string due = rispostaIngressi({records(16, "ON"), records(8, "ON")});

    // More blocks than modules.
    auto l = LeggiStatiIngressi(due, conteggi({16}));
    EXPECT_EQ(l.ingressi.size(), 16u);
    EXPECT_TRUE(l.interrotta);

    // Fewer records than the modules hold.
    l = LeggiStatiIngressi(due, conteggi({16, 16}));
    EXPECT_EQ(l.ingressi.size(), 24u);
    EXPECT_TRUE(l.interrotta);
    l = LeggiStatiIngressi(rispostaIngressi({records(16, "ON")}), conteggi({16, 8}));
    EXPECT_EQ(l.ingressi.size(), 16u);
    EXPECT_EQ(l.moduli, 1);

    // A record cut short: the records before it stay, it does not.
    std::string corta = rispostaIngressi({records(8, "ON")});
    corta.erase(corta.rfind("\tIN\t"));
    corta += "OK";
    l = LeggiStatiIngressi(corta, conteggi({8}));
    EXPECT_EQ(l.ingressi.size(), 7u);
    EXPECT_TRUE(l.interrotta);

    // A non-numeric input number.
    std::string r = rispostaIngressi({records(8, "ON")});
    r.replace(r.find("6\tIN"), 1, "x");
    l = LeggiStatiIngressi(r, conteggi({8}));
    EXPECT_EQ(l.ingressi.size(), 6u);
    EXPECT_TRUE(l.interrotta);

    // A module whose input count is unknown (type not read).
    l = LeggiStatiIngressi(due, conteggi({16, -1}));
    EXPECT_EQ(l.ingressi.size(), 16u);
    EXPECT_TRUE(l.interrotta);

    // Shorter than heading and tail.
    l = LeggiStatiIngressi("OK", conteggi({16}));
    EXPECT_TRUE(l.ingressi.empty());
}

TEST(LeggiIngressi, NeverMoreThan10BlocksOr50Inputs)
{
    // Eleven 8-input modules: 88 inputs announced, 50 rows to hold them.
    std::vector<std::vector<Record>> undici(11, records(8, "ON"));
    std::vector<std::int16_t> otto(11, 8);
    auto l = LeggiStatiIngressi(rispostaIngressi(undici), otto);
    ASSERT_EQ(l.ingressi.size(), 50u);
    EXPECT_EQ(l.ingressi.back().riga, 50);
    EXPECT_TRUE(l.interrotta);

    // Eleven 1-input blocks: the eleventh is never read.
    std::vector<std::vector<Record>> piccoli(11, records(1, "ON"));
    std::vector<std::int16_t> uno(11, 1);
    l = LeggiStatiIngressi(rispostaIngressi(piccoli), uno);
    EXPECT_EQ(l.ingressi.size(), 10u);
    EXPECT_EQ(l.moduli, 10);
    EXPECT_TRUE(l.interrotta);
}

// Any text at all: no throw, no hang, rows in 1..50 and in order.
TEST(LeggiIngressi, ArbitraryRepliesNeverFailAndStayInBounds)
{
    std::mt19937 rng(5);
    const std::string alfabeto = "\t\t\t\r\r\n 0123456789ONF-+.xDK";
    std::uniform_int_distribution<std::size_t> lettera(0, alfabeto.size() - 1);
    std::uniform_int_distribution<int> lunghezza(0, 400);
    std::uniform_int_distribution<int> conteggio(-2, 20);
    for (int giro = 0; giro < 3000; ++giro) {
        std::string r(static_cast<std::size_t>(lunghezza(rng)), ' ');
        for (char& ch : r)
            ch = alfabeto[lettera(rng)];
        std::vector<std::int16_t> n(static_cast<std::size_t>(giro % 13));
        for (auto& x : n)
            x = static_cast<std::int16_t>(conteggio(rng));
        LetturaIngressi l;
        ASSERT_NO_THROW(l = LeggiStatiIngressi(r, n));
        int prima = 0;
        for (const auto& i : l.ingressi) {
            ASSERT_GT(i.riga, prima);
            ASSERT_LE(i.riga, MaxIngressi);
            prima = i.riga;
        }
        Model m;
        ASSERT_NO_THROW(applicaIngressi(m, l));
    }
}

// ---- The tick ---------------------------------------------------------------

struct Tick : ::testing::Test {
    test::ScriptedRig rig;
    Configuratore& c = rig.c;
    void SetUp() override { rig.moduli({16, 8}); }
};

TEST_F(Tick, WithTheOutputsShownSendsAndDrawsNothing)
{
    rig.port.replies.push_back(rispostaIngressi({records(16, "ON"), records(8, "ON")}));
    eventoTimer(c);
    eventoTimer(c);
    EXPECT_TRUE(rig.taken().empty());
    EXPECT_FALSE(c.f.Frame1.visible());
    EXPECT_EQ(c.m.StatoIngressi(1), 0);
}

TEST_F(Tick, PollsStoresAndRedrawsTheModuleShownWithinOneTick)
{
    rig.mostraIngressi();
    c.f.Combo2.setText(" 2");
    auto a = records(16, "OFF");
    auto b = records(8, "OFF", 16);
    b[1].stato = "ON";
    rig.port.replies.push_back(rispostaIngressi({a, b}));
    eventoTimer(c);
    EXPECT_EQ(rig.taken(), std::vector<std::string>{"GET DIGITAL INPUT"});
    EXPECT_EQ(c.m.StatoIngressi(18), 1);
    EXPECT_EQ(c.m.NumeriIngressi(17), 16);
    EXPECT_TRUE(c.f.Frame1.visible());
    EXPECT_FALSE(c.f.Frame2.visible());
    EXPECT_EQ(c.f.DInput[1]->backColor(), colore::Verde);
    EXPECT_EQ(c.f.DInput[1]->caption(), "18");
    EXPECT_EQ(c.f.DInput[0]->backColor(), colore::Giallo);
    EXPECT_FALSE(c.f.DInput[8]->visible());
    // The shared reply text is left to its owner.
    EXPECT_EQ(c.m.Risposta, "");
}

TEST_F(Tick, HeadBelowRevision39RedrawsFromTheModelWithoutAsking)
{
    c.m.Espansioni(1).RevPic = 38;
    c.m.StatoIngressi(4) = 1;
    rig.mostraIngressi();
    eventoTimer(c);
    EXPECT_TRUE(rig.taken().empty());
    EXPECT_TRUE(c.f.Frame1.visible());
    EXPECT_EQ(c.f.DInput[3]->backColor(), colore::Verde);
}

TEST_F(Tick, AReplyThatDoesNotMatchKeepsWhatWasReadAndStillRedraws)
{
    rig.mostraIngressi();
    // Three blocks for two modules, the third of 16 inputs.
    rig.port.replies.push_back(
        rispostaIngressi({records(16, "ON"), records(8, "ON", 16), records(16, "ON", 24)}));
    eventoTimer(c);
    EXPECT_EQ(c.m.StatoIngressi(24), 1);
    EXPECT_EQ(c.m.StatoIngressi(25), 0);
    EXPECT_EQ(c.m.NumeriIngressi(25), 0);
    EXPECT_EQ(c.f.DInput[15]->backColor(), colore::Verde);
}

TEST_F(Tick, AModuleListTextThatIsNoModuleNumberSkipsTheRedraw)
{
    rig.mostraIngressi();
    for (const char* t : {"", "abc", " 0", "11", "-3"}) {
        c.f.Combo2.setText(t);
        eventoTimer(c);
        EXPECT_FALSE(c.f.Frame1.visible()) << t;
    }
    EXPECT_EQ(rig.taken().size(), 5u);  // the poll itself still ran
}

TEST_F(Tick, ATickDueWhileAnotherDialogueWaitsIsSkipped)
{
    rig.mostraIngressi();
    c.f.CmdTerminazione.setCaption(c.m.testi.CaptTerminazioneOn);
    int ticks = 0;
    rig.host.soon([&] {
        ++ticks;
        eventoTimer(c);
    });
    eventoClick(c, c.f.CmdTerminazione);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(rig.taken(), std::vector<std::string>{"TERMINAZIONE ON"});
    // Once the dialogue is over the next tick polls again.
    eventoTimer(c);
    EXPECT_EQ(rig.taken(), std::vector<std::string>{"GET DIGITAL INPUT"});
}

} // namespace
} // namespace ondrix
