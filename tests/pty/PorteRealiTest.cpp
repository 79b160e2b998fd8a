// Real ports as a technician meets them, over pseudo-terminals with the
// simulator program behind them and the configurator run as a program: a
// device the user may not open, a port another program holds, a stale lock
// file, a port lost in the start-up and while idle, the system's signals,
// the command line.

#include "Programma.h"
#include "Simulatore.h"

#include "channel/Dispositivi.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"

#include <QLockFile>
#include <QSerialPort>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <grp.h>
#include <sys/stat.h>

namespace ondrix {
namespace {

using test::Programma;
using test::ricevute;
using test::SenzaSchermo;
using test::Simulatore;

std::string registro(const char* nome)
{
    return (std::filesystem::temp_directory_path() /
            ("ondrix-" + std::string(nome) + "-" + std::to_string(::getpid()) + ".log"))
        .string();
}

// A lock file of the device left by a process that no longer runs.
void bloccoOrfano(const std::string& dispositivo)
{
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        QLockFile blocco(QString::fromStdString(fileBlocco(dispositivo)));
        blocco.lock();
        std::_Exit(0);  // the lock stays behind
    }
    ::waitpid(figlio, nullptr, 0);
}

bool root() { return ::getuid() == 0; }

TEST(PorteReali, ADeviceTheUserMayNotOpenSaysWhichGroupToJoin)
{
    if (!root())
        GTEST_SKIP() << "needs root to run the program as another user";
    Simulatore sim({});
    ASSERT_EQ(::chmod(sim.device().c_str(), 0600), 0);
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--info"}, SenzaSchermo, "nobody");
    EXPECT_EQ(p.attendi(), 3);
    const std::string err = p.err();
    EXPECT_NE(err.find("NESSUNA RISPOSTA DALL'ISOLA."), std::string::npos) << err;
    // The reason in the message and in the table, with the device's group and
    // the new login.
    struct stat st {};
    ASSERT_EQ(::stat(sim.device().c_str(), &st), 0);
    const std::string riga = "COM1 " + sim.device() + ": ACCESSO NEGATO. AGGIUNGERE L'UTENTE AL GRUPPO " +
                             ::getgrgid(st.st_gid)->gr_name + " E ACCEDERE DI NUOVO AL SISTEMA.";
    EXPECT_NE(err.find(riga), std::string::npos) << err;
    EXPECT_TRUE(p.out().empty());
}

TEST(PorteReali, APortAnotherProgramHoldsIsNamedBusy)
{
    test::qtApp();
    Simulatore sim({});
    QSerialPort altro(QString::fromStdString(sim.device()));
    ASSERT_TRUE(altro.open(QIODevice::ReadWrite));
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--info"}, SenzaSchermo);
    EXPECT_EQ(p.attendi(), 3);
    EXPECT_NE(p.err().find("COM1 " + sim.device() + ": IN USO DA UN ALTRO PROGRAMMA (test_pty, " +
                           std::to_string(::getpid()) + "). CHIUDERLO E RIPROVARE."),
              std::string::npos)
        << p.err();
}

TEST(PorteReali, AStaleLockIsTakenOverWithANoteOrNamedWhenItCannotBe)
{
    Simulatore sim({});
    const std::string blocco = fileBlocco(sim.device());
    ASSERT_FALSE(blocco.empty());
    bloccoOrfano(sim.device());
    ASSERT_TRUE(std::filesystem::exists(blocco));
    {
        Programma p("ondrix-configuratore", {"--port", sim.device(), "--info", "--quiet"}, SenzaSchermo);
        EXPECT_EQ(p.attendi(), 0) << p.err();
        EXPECT_NE(p.err().find("RIPRESO IL FILE DI BLOCCO " + blocco), std::string::npos) << p.err();
        EXPECT_FALSE(std::filesystem::exists(blocco)) << "released at the end";
    }
    if (!root())
        GTEST_SKIP() << "needs root to leave a lock another user cannot remove";
    // Root's lock in the sticky lock folder: another user cannot take it over.
    bloccoOrfano(sim.device());
    ASSERT_EQ(::chmod(sim.device().c_str(), 0666), 0);
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--info"}, SenzaSchermo, "nobody");
    EXPECT_EQ(p.attendi(), 3);
    EXPECT_NE(p.err().find("BLOCCATA DAL FILE " + blocco), std::string::npos) << p.err();
    std::filesystem::remove(blocco);
}

TEST(PorteReali, APortLostInTheStartUpEndsAsATimeOutAndSavesNothing)
{
    const std::string log = registro("persa");
    Simulatore sim({"--drop-after", "6", "--log"}, log);
    const std::string file = registro("persa-salvata");
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--save", file}, SenzaSchermo);
    EXPECT_EQ(p.attendi(), 3);
    EXPECT_NE(p.err().find("NESSUNA RISPOSTA DALL'ISOLA."), std::string::npos) << p.err();
    EXPECT_FALSE(std::filesystem::exists(file)) << "a readout cut short is never saved";
    std::filesystem::remove(log);
}

// Idle on a read island, the line hung up: the program ends at once, as on a
// time-out (its message on standard error, status 3), without a next click.
TEST(PorteRealiDeathTest, APortLostWhileIdleEndsTheProgramAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            test::qtApp();
            auto sim = std::make_unique<Simulatore>(std::vector<std::string>{});
            const std::string device = sim->device();
            CoreHost host;
            QtSerialPort port([&](int n) { return n == 1 ? device : std::string(); });
            Configuratore c(host, port);
            c.porteRicerca = {1};
            eventoLoad(c);
            eventoActivate(c);
            if (c.m.NumEspansioni != 2 || c.f.Software.caption().find("(COM1 " + device + ")") == std::string::npos)
                std::_Exit(10);
            sim.reset();  // the island's side closes
            QTimer::singleShot(3000, [] { std::_Exit(0); });
            QCoreApplication::exec();
        },
        ::testing::ExitedWithCode(3), "NESSUNA RISPOSTA DALL'ISOLA");
}

TEST(PorteReali, SignalsLeaveServiceModeAndReleaseThePort)
{
    for (int segnale : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(segnale);
        const std::string log = registro("segnale");
        Simulatore sim({"--log"}, log);
        Programma p("ondrix-configuratore", {"--port", sim.device()}, {{"QT_QPA_PLATFORM", "offscreen"}});
        ASSERT_TRUE(test::attendiTesto(log, "< STATO TERMINAZIONE"));
        p.segnale(segnale);
        EXPECT_EQ(p.attendi(std::chrono::seconds(20)), 0);
        const auto righe = ricevute(log);
        ASSERT_FALSE(righe.empty());
        EXPECT_EQ(righe.back(), "EXIT SV");
        EXPECT_FALSE(std::filesystem::exists(fileBlocco(sim.device())));
        std::filesystem::remove(log);
    }
    // In the port search service mode was never entered: nothing is owed.
    const std::string log = registro("segnale-ricerca");
    Simulatore muto({"--silent-after", "0", "--log"}, log);
    Programma p("ondrix-configuratore", {"--port", muto.device()}, {{"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_TRUE(test::attendiTesto(log, "< "));
    p.segnale(SIGTERM);
    EXPECT_EQ(p.attendi(std::chrono::seconds(20)), 0);
    EXPECT_EQ(ricevute(log), std::vector<std::string>{""});
    std::filesystem::remove(log);
}

TEST(RigaComando, HelpVersionUsageAndNoDisplayTouchNoPort)
{
    const std::string log = registro("riga");
    Simulatore sim({"--log"}, log);
    struct Caso {
        const char* programma;
        std::vector<std::string> args;
        std::map<std::string, std::string> ambiente;
        int stato;
        const char* out;  // on standard output, or null: on standard error
    };
    const Caso casi[] = {
        {"ondrix-configuratore", {"--help"}, {}, 0, "Exit statuses:"},
        {"ondrix-configuratore", {"--version"}, {}, 0, "ondrix-configuratore 1.2.7"},
        {"ondrix-configuratore", {"--nonsense", "--port", sim.device()}, {}, 2, nullptr},
        {"ondrix-configuratore", {"--port", "17"}, {}, 2, nullptr},
        {"ondrix-configuratore", {"--port", sim.device()}, SenzaSchermo, 6, nullptr},
        {"ondrix-configuratore-demo", {"--help"}, {}, 0, "usage:"},
        {"ondrix-configuratore-demo", {"--version"}, {}, 0, "ondrix-configuratore-demo 1.2.7"},
        {"ondrix-configuratore-demo", {"--nonsense"}, {}, 2, nullptr},
        {"ondrix-configuratore-demo", {}, SenzaSchermo, 6, nullptr},
        {"ondrix-simulatore", {"--version"}, {}, 0, "ondrix-simulatore 1.2.7"},
        {"ondrix-simulatore", {"--nonsense"}, {}, 2, nullptr},
    };
    for (const Caso& k : casi) {
        SCOPED_TRACE(std::string(k.programma) + (k.args.empty() ? "" : " " + k.args.front()));
        Programma p(k.programma, k.args, k.ambiente);
        EXPECT_EQ(p.attendi(), k.stato);
        if (k.out) {
            EXPECT_NE(p.out().find(k.out), std::string::npos) << p.out();
        } else {
            EXPECT_TRUE(p.out().empty());
            EXPECT_FALSE(p.err().empty());
        }
        if (k.stato == 6) {
            const std::string err = p.err();
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << "one clear line: " << err;
        }
    }
    EXPECT_TRUE(ricevute(log).empty()) << "no port was touched";
    std::filesystem::remove(log);
}

} // namespace
} // namespace ondrix
