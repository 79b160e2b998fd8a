// The command channel on a scripted port and a fake clock: what is written,
// what is returned, how long each phase lasts, and how an exchange ends.

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "island/Model.h"
#include "support/FakeHost.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace ondrix {
namespace {

using test::FakeHost;
using test::ProgramEnded;
using test::ScriptedPort;

constexpr std::int64_t Ms = 1000;
constexpr std::int64_t S = 1'000'000;

// Logs the order of event processing, waits and port reads.
struct LoggingHost : FakeHost {
    std::vector<std::string>* log = nullptr;
    void processEvents() override
    {
        if (log)
            log->push_back("events");
        FakeHost::processEvents();
    }
    void waitForEvent(std::int64_t d) override
    {
        if (log)
            log->push_back("wait");
        FakeHost::waitForEvent(d);
    }
    // Runs inside the modal time-out message, like the window's timer would.
    std::function<void()> duringMessage;
    MessageAnswer messageBox(const std::string& t, const std::string& ti, MessageButtons b) override
    {
        if (duringMessage)
            duringMessage();
        return FakeHost::messageBox(t, ti, b);
    }
};

struct LoggingPort : ScriptedPort {
    using ScriptedPort::ScriptedPort;
    std::vector<std::string>* log = nullptr;
    // Each read takes this long on the clock (characters keep coming meanwhile).
    FakeHost* host = nullptr;
    std::int64_t readCostUs = 0;
    std::function<void()> afterRead;
    std::string readAll() override
    {
        if (log)
            log->push_back("read");
        std::string s = ScriptedPort::readAll();
        if (host)
            host->advance(readCostUs);
        if (afterRead)
            afterRead();
        return s;
    }
};

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest()
    {
        testi.Messaggi(msg::Timeout1) = "Nessuna risposta dall'isola.";
        testi.Messaggi(msg::Timeout2) = "Il programma termina.";
        testi.Ritardo = 0.05f;
        port.open();
    }

    // The island answers the given command line with chunks at the given delays
    // after the line has left.
    void answer(const std::string& line, std::vector<std::pair<std::int64_t, std::string>> chunks)
    {
        port.onWrite = [this, line, chunks](const std::string& sent) {
            if (sent == line + "\r\n")
                for (const auto& [d, text] : chunks)
                    port.feedIn(d, text);
        };
    }

    void expectTimeoutMessage()
    {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, "Nessuna risposta dall'isola.\r\nIl programma termina.");
        EXPECT_EQ(host.messages[0].title, caption);
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
    }

    LoggingHost host;
    LoggingPort port{host};
    Testi testi;
    std::string caption = "Configuratore isola";
    ondrix::test::ParametriTesti parametri{testi, [this] { return caption; }};
    Channel ch{port, host, parametri};
};

TEST_F(ChannelTest, ReplyInPiecesIsMatchedOnTheAccumulatedText)
{
    answer("GET REV FW", {{10 * Ms, "\r\n\n\r\nREV 3.1\r\nO"}, {30 * Ms, "K\r\nX"}});
    const std::int64_t start = host.nowUs();
    const std::string r = ch.InviaComando("GET REV FW", "OK");

    ASSERT_EQ(port.writes, std::vector<std::string>{"GET REV FW\r\n"});
    // Leading line ends go, inner ones stay; the reply ends with "OK".
    EXPECT_EQ(r, "REV 3.1\r\nOK");
    ASSERT_EQ(port.readTimes.size(), 2u);
    EXPECT_EQ(port.readTimes[0], start + 10 * Ms);  // the wait ends when data arrive
    EXPECT_EQ(port.readTimes[1], start + 30 * Ms);
    // Then the settling pause, and not much more.
    EXPECT_GT(host.nowUs(), start + 80 * Ms);
    EXPECT_LE(host.nowUs(), start + 81 * Ms);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ch.exchanges(), 1);
}

TEST_F(ChannelTest, TextLeftOverStartsTheNextReply)
{
    // The end of the previous reply and a stale "OK" are still waiting.
    port.feed("\r\nOK\r\n");
    port.onWrite = [](const std::string&) {};  // the island says nothing new
    const std::int64_t start = host.nowUs();
    EXPECT_EQ(ch.InviaComando("CLOSE ALL", "OK"), "OK");
    ASSERT_EQ(port.readTimes.size(), 1u);
    EXPECT_EQ(port.readTimes[0], start);  // read at once, no wait for the island
    EXPECT_LE(host.nowUs(), start + 51 * Ms);

    // A reply that ends without the expected text; its tail arrives later and
    // begins the next exchange's reply.
    answer("GET SLAVE ADDRESS", {{5 * Ms, "ADDR 12\r\nOK"}, {60 * Ms, "\r\n"}});
    EXPECT_EQ(ch.InviaComando("GET SLAVE ADDRESS", "OK"), "ADDR 12\r\nOK");
    // What came after the expected text in the same read waits for the next
    // reply, as it does when it comes in a later read.
    answer("OPEN ALL", {{5 * Ms, "OK\r\nX"}});
    EXPECT_EQ(ch.InviaComando("OPEN ALL", "OK"), "OK");
    answer("CLEAR", {{5 * Ms, "OK\r\n"}});
    EXPECT_EQ(ch.InviaComando("CLEAR", "OK"), "XOK");
}

TEST_F(ChannelTest, ComparisonIsCaseSensitive)
{
    answer("CLEAR", {{5 * Ms, "ok\r\n"}, {50 * Ms, "OK\r\n"}});
    EXPECT_EQ(ch.InviaComando("CLEAR", "OK"), "ok\r\nOK");

    answer("CLEAR", {{5 * Ms, "ok\r\n"}});
    EXPECT_THROW(ch.InviaComando("CLEAR", "OK"), ProgramEnded);
}

TEST_F(ChannelTest, ZeroPauseStillProcessesEventsAndLetsTheClockMove)
{
    testi.Ritardo = 0.0f;
    std::vector<std::string> log;
    host.log = &log;
    port.log = &log;
    port.feed("OK");
    const std::int64_t start = host.nowUs();
    ch.InviaComando("ENTER SV", "OK");

    auto lastRead = std::find(log.rbegin(), log.rend(), std::string("read"));
    ASSERT_NE(lastRead, log.rend());
    // After the reply was read: events processed, and the pause lasted.
    EXPECT_NE(std::find(log.rbegin(), lastRead, std::string("events")), lastRead);
    EXPECT_GT(host.nowUs(), start);
    EXPECT_LE(host.nowUs(), start + 2);
}

TEST_F(ChannelTest, TimeOutShowsTheTwoLinesAndEndsWithNothingMoreWritten)
{
    bool callerWentOn = false;
    std::optional<bool> guardDuringMessage;
    host.duringMessage = [&] { guardDuringMessage = ch.tryBegin().has_value(); };
    const std::int64_t start = host.nowUs();
    try {
        ch.InviaComando("GET DIAGNOSI", "OK");
        callerWentOn = true;
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.status, StatoTimeout);
    }
    EXPECT_FALSE(callerWentOn);
    EXPECT_TRUE(host.ended);
    expectTimeoutMessage();
    // Just past the limit, measured from the end of sending.
    EXPECT_GT(host.nowUs(), start + 4 * S);
    EXPECT_LE(host.nowUs(), start + 4 * S + 2);
    // The message's own event loop cannot start a dialogue, nor can anything after.
    EXPECT_EQ(guardDuringMessage, false);
    EXPECT_TRUE(ch.busy());
    EXPECT_THROW(ch.InviaComando("EXIT SV", "OK"), ProgramEnded);
    EXPECT_THROW(ch.ProvaCollegamento(), ProgramEnded);
    EXPECT_EQ(port.writes, std::vector<std::string>{"GET DIAGNOSI\r\n"});
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(ChannelTest, LimitIsLookedAtOnlyWhenNothingIsWaiting)
{
    // A character comes in during every read, as on a busy line, so the queue
    // is never found empty; each read takes 1 ms.
    port.host = &host;
    port.readCostUs = 1 * Ms;
    const std::int64_t start = host.nowUs();
    port.afterRead = [&] {
        if (host.nowUs() < start + 6 * S)
            port.feed(".");
        else if (host.nowUs() == start + 6 * S)
            port.feed("OK");
    };
    port.feed(".");
    EXPECT_EQ(ch.InviaComando("GET CONF", "OK").substr(5998), "..OK");
    EXPECT_TRUE(host.messages.empty());

    // The same stream stopping at 4.5 s without the expected text: the time-out
    // comes at the first empty queue, not at 4 s.
    const std::int64_t start2 = host.nowUs();
    port.afterRead = [&] {
        if (host.nowUs() < start2 + 4500 * Ms)
            port.feed(".");
    };
    port.feed(".");
    EXPECT_THROW(ch.InviaComando("GET CONF", "OK"), ProgramEnded);
    EXPECT_EQ(host.nowUs(), start2 + 4500 * Ms);
    expectTimeoutMessage();
}

TEST_F(ChannelTest, LinkCheck)
{
    // Silent port: False after a little over 4 s, no message.
    std::int64_t start = host.nowUs();
    EXPECT_FALSE(ch.ProvaCollegamento());
    EXPECT_GT(host.nowUs(), start + 4 * S);
    EXPECT_LE(host.nowUs(), start + 4 * S + 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.ended);
    EXPECT_EQ(port.writes, std::vector<std::string>{"\r\n"});
    EXPECT_FALSE(ch.busy());

    // An island: "ERROR" in the reply, then the settling pause.
    port.writes.clear();
    answer("", {{20 * Ms, "\r\nERR"}, {25 * Ms, "OR\r\n"}});
    start = host.nowUs();
    EXPECT_TRUE(ch.ProvaCollegamento());
    EXPECT_GT(host.nowUs(), start + 75 * Ms);
    EXPECT_LE(host.nowUs(), start + 76 * Ms);

    // Too late is too late; what came late starts the next reply.
    answer("", {{4100 * Ms, "ERROR\r\n"}});
    EXPECT_FALSE(ch.ProvaCollegamento());
    EXPECT_EQ(ch.InviaComando("GET REV FW", "ERROR"), "ERROR");
}

TEST_F(ChannelTest, PortErrorDuringAnExchangeEndsLikeATimeOut)
{
    answer("GET RELAX", {{10 * Ms, "RELAX 1 4"}});
    port.failAtOperation = 5;  // write, output count, input count ... then the line is gone
    EXPECT_THROW(ch.InviaComando("GET RELAX", "OK"), ProgramEnded);
    expectTimeoutMessage();
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_TRUE(ch.busy());
}

TEST_F(ChannelTest, APortThatFailsInTheLinkCheckHasNoIsland)
{
    port.failAtOperation = 3;
    EXPECT_FALSE(ch.ProvaCollegamento());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(ch.busy());  // a failed check leaves the channel free

    port.failAtOperation = 0;
    port.close();
    EXPECT_FALSE(ch.ProvaCollegamento());  // not open
    port.open();
    port.writeFails = true;
    EXPECT_THROW(ch.InviaComando("ENTER SV", "OK"), ProgramEnded);
    expectTimeoutMessage();
}

TEST_F(ChannelTest, CollectingStartsWhenTheCommandHasLeft)
{
    // The line takes 1 s to send; the limit counts from then.
    port.writeStallUs = 1 * S;
    const std::int64_t start = host.nowUs();
    EXPECT_THROW(ch.InviaComando("GET VALVOLE PRESENTI", "OK"), ProgramEnded);
    EXPECT_GT(host.nowUs(), start + 5 * S);
    EXPECT_LE(host.nowUs(), start + 5 * S + 2);
}

TEST_F(ChannelTest, LineThatNeverSendsHasNoIslandAndEndsAnExchange)
{
    port.writeStallUs = 3600 * S;
    const std::int64_t start = host.nowUs();
    EXPECT_FALSE(ch.ProvaCollegamento());
    EXPECT_LE(host.nowUs(), start + 4 * S + 2);
    EXPECT_THROW(ch.InviaComando("ENTER SV", "OK"), ProgramEnded);
    expectTimeoutMessage();
}

TEST_F(ChannelTest, HugePauseDoesNotOverflow)
{
    testi.Ritardo = 3.0e38f;
    port.feed("OK");
    bool tick = false;
    host.at(host.nowUs() + 10 * S, [&] {
        tick = true;
        throw std::runtime_error("stop");  // leave the endless pause
    });
    EXPECT_THROW(ch.InviaComando("ENTER SV", "OK"), std::runtime_error);
    EXPECT_TRUE(tick);
}

TEST_F(ChannelTest, PauseThatIsNotANumberCountsAsZero)
{
    testi.Ritardo = std::numeric_limits<float>::quiet_NaN();
    port.feed("OK");
    const std::int64_t start = host.nowUs();
    EXPECT_EQ(ch.InviaComando("ENTER SV", "OK"), "OK");
    EXPECT_GT(host.nowUs(), start);
    EXPECT_LE(host.nowUs(), start + 2);
}

TEST_F(ChannelTest, NoSecondExchangeInsideAWait)
{
    answer("GET DIAGNOSI", {{100 * Ms, "D 1 2 3\r\nOK\r\n"}});
    std::optional<bool> began;
    bool nestedRefused = false;
    host.at(host.nowUs() + 20 * Ms, [&] { began = ch.tryBegin().has_value(); });
    host.at(host.nowUs() + 40 * Ms, [&] {
        try {
            ch.InviaComando("GET DIGITAL INPUT", "OK");
        } catch (const std::logic_error&) {
            nestedRefused = true;
        }
    });
    EXPECT_EQ(ch.InviaComando("GET DIAGNOSI", "OK"), "D 1 2 3\r\nOK");
    EXPECT_EQ(began, false);
    EXPECT_TRUE(nestedRefused);
    EXPECT_EQ(port.writes, std::vector<std::string>{"GET DIAGNOSI\r\n"});
    EXPECT_FALSE(ch.busy());
    EXPECT_TRUE(ch.tryBegin().has_value());
}

} // namespace
} // namespace ondrix
