// The Qt SerialPort adapter and the Qt Core host over a real pseudo-terminal,
// with the island simulator program on its other side.

#include "Simulatore.h"

#include "channel/Dispositivi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace ondrix {
namespace {

using test::Ended;
using test::Linea;

TEST(QtSerialPort, OpensByPortNumberAndClosesForGood)
{
    Linea l({});
    ASSERT_FALSE(l.sim.device().empty());
    l.port.setPortNumber(2);
    EXPECT_FALSE(l.port.open());  // no device for port 2
    l.port.setPortNumber(3);
    ASSERT_TRUE(l.port.open());
    EXPECT_EQ(l.port.device(), l.sim.device());
    EXPECT_FALSE(l.port.lowLatency()) << "a pseudo-terminal refuses it, and is used as it is";
    // What the adapter copies of Qt SerialPort's insides still holds for the
    // Qt in use: its lock file is where ours is named, its read notifier can
    // be paused.
    const std::string lock = fileBlocco(l.sim.device());
    EXPECT_TRUE(std::filesystem::exists(lock)) << lock;
    EXPECT_TRUE(l.port.pauseArrivals());
    l.port.resumeArrivals();
    EXPECT_TRUE(l.ch.ProvaCollegamento());
    l.port.close();
    EXPECT_FALSE(l.port.isOpen());
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_THROW(l.port.write("X\r\n"), PortError);
}

TEST(QtSerialPort, MissingDeviceDoesNotOpen)
{
    QtSerialPort port([](int) { return std::string("/dev/ondrix-no-such-port"); });
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_THROW(port.inputCount(), PortError);
}

// Replies end with their awaited text however they arrive: whole, paced at
// 9600 baud, or in pieces of 3 characters 5 ms apart.
TEST(QtSerialPort, RepliesEndWithTheAwaitedTextPlainPacedAndInPieces)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--pace"}, {"--chunks", "3", "5"}}) {
        SCOPED_TRACE(args.empty() ? "plain" : args[0]);
        Linea l(args);
        ASSERT_TRUE(l.port.open());
        EXPECT_TRUE(l.ch.ProvaCollegamento());
        EXPECT_EQ(l.ch.InviaComando("ENTER SV", "OK"), "OK");
        EXPECT_EQ(l.ch.InviaComando("GET SLAVE ADDRESS", "OK"), "SLAVE ADDRESS: 5\r\nOK");
        EXPECT_EQ(l.ch.InviaComando("CLOSE VALVOLA", "INDICE:"), "INDICE:");
        EXPECT_EQ(l.ch.InviaComando("7", "OK"), "OK");
        EXPECT_EQ(l.ch.InviaComando("STATO VALVOLA", "INDICE:"), "INDICE:");
        EXPECT_EQ(l.ch.InviaComando("7", "OK"), "ON\r\nOK");
        for (int k = 0; k < 5; ++k) {
            std::string v = l.ch.InviaComando("GET VALVOLE PRESENTI", "OK");
            EXPECT_EQ(v.substr(0, 4), "ESP\t");
            EXPECT_EQ(v.substr(v.size() - 3), "\rOK");
        }
        EXPECT_EQ(l.ch.InviaComando("EXIT SV", "OK"), "OK");
        EXPECT_TRUE(l.host.messages.empty());
    }
}

TEST(QtSerialPort, SilentIslandEndsTheProgramAfterTheTimeOut)
{
    Linea l({"--silent-at", "GET CONF"});
    ASSERT_TRUE(l.port.open());
    l.ch.InviaComando("ENTER SV", "OK");
    const auto start = std::chrono::steady_clock::now();
    try {
        l.ch.InviaComando("GET CONF", "OK");
        ADD_FAILURE() << "the exchange came back";
    } catch (const Ended& e) {
        EXPECT_EQ(e.status, StatoTimeout);
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(l.host.messages,
              std::vector<std::string>{"Configuratore|Nessuna risposta dall'isola.\r\nIl programma termina."});
}

TEST(QtSerialPort, LostLineEndsTheExchangeAsATimeOut)
{
    Linea l({"--drop-after", "2"});
    ASSERT_TRUE(l.port.open());
    EXPECT_TRUE(l.ch.ProvaCollegamento());
    l.ch.InviaComando("ENTER SV", "OK");
    EXPECT_THROW(l.ch.InviaComando("GET CONF", "OK"), Ended);
    EXPECT_EQ(l.host.messages.size(), 1u);
    EXPECT_THROW(l.port.write("X\r\n"), PortError);
}

// The real host ends the process: message on stderr, time-out status.
TEST(PtyDeathTest, TimeOutEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            test::qtApp();
            test::Simulatore sim({"--silent-at", "ENTER SV"});
            QtSerialPort port([&](int) { return sim.device(); });
            CoreHost host;
            Testi testi;
            testi.Messaggi(msg::Timeout1) = "Nessuna risposta.";
            testi.Messaggi(msg::Timeout2) = "Fine.";
            test::ParametriTesti parametri(testi, [] { return std::string("Configuratore"); });
            Channel ch(port, host, parametri);
            if (port.open())
                ch.InviaComando("ENTER SV", "OK");
            std::exit(0);
        },
        ::testing::ExitedWithCode(StatoTimeout), "Nessuna risposta.\r\nFine.");
}

} // namespace
} // namespace ondrix
