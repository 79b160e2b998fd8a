// The input poll: the reader of "GET DIGITAL INPUT" on the island's own
// replies (some broken by hand), the tick on the simulated default island
// (a 16IN module with inputs 3 and 4 disabled, and an 8IN module), and what
// becomes of the user's clicks while a tick waits for the island.

#include "island/Risposte.h"
#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::int16_t> conteggi(std::initializer_list<int> n)
{
    return std::vector<std::int16_t>(n.begin(), n.end());
}

// A module of n inputs numbered from primo on, all in the same state.
sim::InputModule modulo(int n, bool on, int primo = 0)
{
    sim::InputModule m{n == 16 ? "16IN" : "8IN", 23, 0, true, {}};
    for (int i = 0; i < n; ++i)
        m.inputs.push_back({primo + i, on, 0});
    return m;
}

// The island's reply with these modules, as the channel returns it.
std::string risposta(const std::vector<sim::InputModule>& moduli)
{
    sim::Scenario s;
    s.modules = moduli;
    return sim::SimulatedIsland(s).replyTo("GET DIGITAL INPUT", 0) + "OK";
}

// The reply with the state text of input k (0-based, counted over all modules) replaced.
std::string conStato(std::string r, int k, const std::string& stato)
{
    std::size_t p = 0;
    for (int i = 0; i <= k; ++i)
        p = r.find("\tIN", p) + 1;
    p = r.find('\t', p) + 1;
    return r.replace(p, r.find('\r', p) - p, stato);
}

// ---- The reply parser ----------------------------------------------------

TEST(LeggiIngressi, ModulesOf16And8FillRows1To16And17To24)
{
    sim::InputModule a = modulo(16, false), b = modulo(8, true, 100);
    a.inputs[2].on = true;
    b.inputs[7].on = false;
    auto l = LeggiStatiIngressi(risposta({a, b}), conteggi({16, 8}));
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
    sim::InputModule a = modulo(8, false);
    a.inputs[2].number = sim::DisabledIndex;
    std::string r = risposta({a});
    r = conStato(r, 0, "  ON ");
    r = conStato(r, 1, " OFF");
    r = conStato(r, 2, "DIS");
    r = conStato(r, 3, "on");
    r = conStato(r, 4, "\tON");  // a tab is no blank
    auto l = LeggiStatiIngressi(r, conteggi({8}));
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
    const std::string due = risposta({modulo(16, true), modulo(8, true)});

    // More blocks than modules.
    auto l = LeggiStatiIngressi(due, conteggi({16}));
    EXPECT_EQ(l.ingressi.size(), 16u);
    EXPECT_TRUE(l.interrotta);

    // Fewer records than the modules hold.
    l = LeggiStatiIngressi(due, conteggi({16, 16}));
    EXPECT_EQ(l.ingressi.size(), 24u);
    EXPECT_TRUE(l.interrotta);
    l = LeggiStatiIngressi(risposta({modulo(16, true)}), conteggi({16, 8}));
    EXPECT_EQ(l.ingressi.size(), 16u);
    EXPECT_EQ(l.moduli, 1);

    // A record cut short: the records before it stay, it does not.
    std::string corta = risposta({modulo(8, true)});
    corta.erase(corta.rfind("\tIN"));
    corta += "OK";
    l = LeggiStatiIngressi(corta, conteggi({8}));
    EXPECT_EQ(l.ingressi.size(), 7u);
    EXPECT_TRUE(l.interrotta);

    // A non-numeric input number.
    std::string r = risposta({modulo(8, true)});
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
    std::vector<std::int16_t> otto(11, 8);
    auto l = LeggiStatiIngressi(risposta(std::vector<sim::InputModule>(11, modulo(8, true))), otto);
    ASSERT_EQ(l.ingressi.size(), 50u);
    EXPECT_EQ(l.ingressi.back().riga, 50);
    EXPECT_TRUE(l.interrotta);

    // Eleven 1-input blocks: the eleventh is never read.
    std::vector<std::int16_t> uno(11, 1);
    l = LeggiStatiIngressi(risposta(std::vector<sim::InputModule>(11, modulo(1, true))), uno);
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

struct Tick : ::testing::Test, IslandRig {
    Form& f = c.f;
    void SetUp() override { ready(); }
    void TearDown() override { expectCleanDialogues(); }
};

TEST_F(Tick, WithTheOutputsShownSendsAndDrawsNothing)
{
    island.state().modules[0].inputs[1].on = true;
    for (int i = 0; i < 3; ++i)
        eventoTimer(c);
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(f.Frame1.visible());
    EXPECT_EQ(c.m.StatoIngressi(2), 0);
}

TEST_F(Tick, PollsStoresAndRedrawsTheModuleShownWithinOneTick)
{
    click(f.OptInput);
    eventoSceltaLista(c, f.Combo2, 1);
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Verde);
    island.state().modules[0].inputs[1].on = true;
    island.state().modules[1].inputs[1].on = false;
    island.state().modules[1].inputs[7].on = true;
    eventoTimer(c);
    EXPECT_EQ(lines(), Lines{"GET DIGITAL INPUT"});
    // The second module's inputs land in rows 17..24.
    EXPECT_EQ(c.m.StatoIngressi(2), 1);
    EXPECT_EQ(c.m.StatoIngressi(18), 0);
    EXPECT_EQ(c.m.StatoIngressi(24), 1);
    EXPECT_EQ(c.m.NumeriIngressi(24), 7);
    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_FALSE(f.Frame2.visible());
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[7]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[7]->caption(), "8");
    EXPECT_FALSE(f.DInput[8]->visible());
}

TEST_F(Tick, HeadBelowRevision39RedrawsFromTheModelWithoutAsking)
{
    click(f.OptInput);
    c.m.Espansioni(1).RevPic = 38;
    c.m.StatoIngressi(2) = 1;
    eventoTimer(c);
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Verde);
}

TEST_F(Tick, MalformedRepliesKeepWhatWasReadStillRedrawAndNeverStopTheProgram)
{
    click(f.OptInput);
    // The island's own reply, without its closing "OK".
    const std::string corpo = island.replyTo("GET DIGITAL INPUT", host.nowUs());
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
             EXPECT_EQ(c.m.NumeriIngressi(25), 0);  // nothing beyond the modules
             EXPECT_EQ(c.m.StatoIngressi(25), 0);
             EXPECT_EQ(f.DInput[15]->backColor(), colore::Verde);
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
        island.overrideReply("GET DIGITAL INPUT", k.risposta);
        EXPECT_NO_THROW(eventoTimer(c));
        EXPECT_TRUE(f.Frame1.visible());
        k.poi();
    }
}

TEST_F(Tick, AModuleListTextThatIsNoModuleNumberSkipsTheRedraw)
{
    click(f.OptInput);
    for (const char* t : {"", "abc", " 0", "11", "-3"}) {
        f.Frame1.setVisible(false);
        f.Combo2.setText(t);
        eventoTimer(c);
        EXPECT_FALSE(f.Frame1.visible()) << t;
    }
    EXPECT_EQ(lines().size(), 5u);  // the poll itself still ran
}

TEST_F(Tick, ATickDueWhileAnotherDialogueWaitsIsSkipped)
{
    click(f.OptInput);
    clearLines();
    int ticks = 0;
    // Due while the slave-address dialogue waits for the island.
    host.at(host.nowUs() + 1, [&] {
        ++ticks;
        eventoTimer(c);
    });
    host.inputAnswers = {"9"};
    // The address button is on the header; show it as the outputs would.
    f.CmdPAddress.setVisible(true);
    click(f.CmdPAddress);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(taken(), (Lines{"SET SLAVE ADDRESS", "9"}));
    // Once the dialogue is over the next tick polls again.
    eventoTimer(c);
    EXPECT_EQ(taken(), Lines{"GET DIGITAL INPUT"});
}

// ---- Events during a poll ---------------------------------------------------
//
// At 9600 baud a poll holds the line for about 365 ms of its 500 ms tick.

sim::Scenario a9600()
{
    sim::Scenario s = sim::defaultScenario();
    s.faults.pace = true;
    return s;
}

struct DuranteIlPolling : ::testing::Test, IslandRig {
    Form& f = c.f;
    DuranteIlPolling() : IslandRig(a9600()) {}
    void SetUp() override
    {
        ready();
        click(f.OptInput);
        clearLines();
    }
    void TearDown() override { expectCleanDialogues(); }

    // A tick with ev run dopoUs into it, while the poll waits for its reply.
    void tick(std::int64_t dopoUs, std::function<void()> ev)
    {
        host.at(host.nowUs() + dopoUs, [this, ev] {
            ASSERT_EQ(lines(), Lines{"GET DIGITAL INPUT"});
            ASSERT_TRUE(c.ch.busy());
            ev();
        });
        eventoTimer(c);
    }
};

TEST_F(DuranteIlPolling, TheLastClickOrChoiceRunsOnceWhenThePollIsOverCheckedAgain)
{
    // Early in the poll, midway, and in its settling pause.
    for (std::int64_t dopo : {5'000, 180'000, 400'000}) {
        SCOPED_TRACE(dopo);
        tick(dopo, [&] {
            eventoSceltaLista(c, f.Combo2, 1);
            click(f.OptOutput);  // replaces the choice
        });
        EXPECT_EQ(taken(), (Lines{"GET DIGITAL INPUT", "STATO TERMINAZIONE"}));
        EXPECT_TRUE(f.Frame2.visible());
        EXPECT_EQ(f.Combo2.listIndex(), 0);
        eventoTimer(c);  // the outputs are shown: nothing more
        click(f.OptInput);
        EXPECT_TRUE(taken().empty());
    }
    // A choice kept alone is made.
    tick(100'000, [&] { eventoSceltaLista(c, f.Combo2, 1); });
    EXPECT_EQ(f.Combo2.listIndex(), 1);
    EXPECT_EQ(taken(), Lines{"GET DIGITAL INPUT"});
    // A control disabled before the poll is over drops its click.
    tick(100'000, [&] {
        click(f.OptOutput);
        f.OptOutput.setEnabled(false);
    });
    EXPECT_EQ(taken(), Lines{"GET DIGITAL INPUT"});
    EXPECT_TRUE(f.Frame1.visible());
}

TEST_F(DuranteIlPolling, ClicksDuringTheUsersOwnDialoguesAreStillDropped)
{
    // During the dialogue of the click kept from a poll.
    port.onLine = [&](const std::string& l) {
        if (l == "STATO TERMINAZIONE")
            host.soon([&] { click(f.OptInput); });
    };
    tick(100'000, [&] { click(f.OptOutput); });
    EXPECT_EQ(taken(), (Lines{"GET DIGITAL INPUT", "STATO TERMINAZIONE"}));
    EXPECT_TRUE(f.Frame2.visible());

    // During the poll that the input addressing runs as part of its dialogue.
    click(f.OptInput);
    port.onLine = [&](const std::string& l) {
        if (l == "GET DIGITAL INPUT")
            host.soon([&] { click(f.OptOutput); });
    };
    host.inputAnswers = {"1", "0"};
    click(f.CmdAddressIn);
    EXPECT_EQ(taken().back(), "GET DIGITAL INPUT");
    EXPECT_TRUE(f.Frame1.visible());
}

TEST_F(DuranteIlPolling, TheCloseBoxDuringAPollEndsTheProgramWhenItIsOver)
{
    EXPECT_THROW(tick(100'000,
                      [&] {
                          EXPECT_FALSE(eventoChiusura(c));  // not while the poll waits
                          click(f.OptOutput);               // does not undo the close
                      }),
                 test::ProgramEnded);
    EXPECT_EQ(host.endStatus, 0);
    EXPECT_EQ(taken(), (Lines{"GET DIGITAL INPUT", "EXIT SV"}));
}

} // namespace
} // namespace ondrix
