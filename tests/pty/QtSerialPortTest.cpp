// The Qt SerialPort adapter and the Qt Core host over a real pseudo-terminal.

#include "PtyIsland.h"

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "island/Model.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>

namespace ondrix {
namespace {

using test::PtyIsland;

void ensureApp()
{
    static int argc = 1;
    static char name[] = "test_pty";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

struct Ended {
    int status;
};

// Ends "the program" by throwing, so that the test sees what came before.
struct ThrowingHost : CoreHost {
    std::vector<std::string> messages;
    MessageAnswer messageBox(const std::string& t, const std::string& ti, MessageButtons b) override
    {
        messages.push_back(ti + "|" + t);
        return CoreHost::messageBox(t, ti, b);
    }
    [[noreturn]] void endProgram(int status) override { throw Ended{status}; }
};

// The island's side of a coil dialogue.
std::string island(const std::string& line)
{
    if (line.empty())
        return "\r\nERROR\r\n";
    if (line == "CLOSE VALVOLA")
        return "\r\nINDICE:";
    if (line == "5")
        return "\r\nOK\r\n";
    if (line == "GET REV FW")
        return "\r\nATMEL 3.12\r\nPIC 2.07\r\nOK\r\n";
    return {};  // anything else: silence
}

class PtyTest : public ::testing::Test {
protected:
    PtyTest()
    {
        ensureApp();
        testi.Messaggi(msg::Timeout1) = "Nessuna risposta dall'isola.";
        testi.Messaggi(msg::Timeout2) = "Il programma termina.";
        testi.Ritardo = 0.01f;
    }
    QtSerialPort portOn(const std::string& path)
    {
        return QtSerialPort([path](int n) { return n == 3 ? path : std::string(); });
    }

    ThrowingHost host;
    Testi testi;
};

TEST_F(PtyTest, FullDialogue)
{
    PtyIsland isola(island);
    QtSerialPort port([&](int n) { return n == 3 ? isola.slavePath() : std::string(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);

    port.setPortNumber(2);
    EXPECT_FALSE(port.open());  // no device for port 2
    port.setPortNumber(3);
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.device(), isola.slavePath());

    EXPECT_TRUE(ch.ProvaCollegamento());
    EXPECT_EQ(ch.InviaComando("CLOSE VALVOLA", "INDICE:"), "INDICE:");
    EXPECT_EQ(ch.InviaComando("5", "OK"), "OK\r\n");  // came in the same read
    EXPECT_EQ(ch.InviaComando("GET REV FW", "OK"), "ATMEL 3.12\r\nPIC 2.07\r\nOK\r\n");
    EXPECT_EQ(isola.lines(), (std::vector<std::string>{"", "CLOSE VALVOLA", "5", "GET REV FW"}));
    EXPECT_TRUE(host.messages.empty());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_THROW(port.write("X\r\n"), PortError);
}

TEST_F(PtyTest, SilentIslandTimesOut)
{
    PtyIsland isola(island);
    QtSerialPort port([&](int) { return isola.slavePath(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());

    const auto start = std::chrono::steady_clock::now();
    try {
        ch.InviaComando("GET CONF", "OK");
        ADD_FAILURE() << "the exchange came back";
    } catch (const Ended& e) {
        EXPECT_EQ(e.status, StatoTimeout);
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"Configuratore|Nessuna risposta dall'isola.\r\nIl programma termina."});
    EXPECT_EQ(isola.lines(), std::vector<std::string>{"GET CONF"});
}

TEST_F(PtyTest, LostLineIsAPortError)
{
    auto isola = std::make_unique<PtyIsland>(island);
    QtSerialPort port([&](int) { return isola->slavePath(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(ch.ProvaCollegamento());
    isola->hangUp();
    // The start-up's exchange sees the error; the others end as on a time-out.
    EXPECT_THROW(ch.InviaComandoOppureErrore("GET CONF", "OK"), PortError);
    EXPECT_THROW(ch.InviaComando("GET CONF", "OK"), Ended);
    ASSERT_EQ(host.messages.size(), 1u);
}

TEST_F(PtyTest, MissingDeviceDoesNotOpen)
{
    QtSerialPort port([](int) { return std::string("/dev/ondrix-no-such-port"); });
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_THROW(port.inputCount(), PortError);
}

// The real host ends the process: message on stderr, time-out status.
TEST(PtyDeathTest, TimeOutEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ensureApp();
            PtyIsland isola([](const std::string&) { return std::string(); });
            QtSerialPort port([&](int) { return isola.slavePath(); });
            CoreHost host;
            Testi testi;
            testi.Messaggi(msg::Timeout1) = "Nessuna risposta.";
            testi.Messaggi(msg::Timeout2) = "Fine.";
            ondrix::test::ParametriTesti parametri(testi, [] { return std::string("Configuratore"); });
            Channel ch(port, host, parametri);
            if (port.open())
                ch.InviaComando("ENTER SV", "OK");
            std::exit(0);
        },
        ::testing::ExitedWithCode(StatoTimeout), "Nessuna risposta.\r\nFine.");
}

} // namespace
} // namespace ondrix
