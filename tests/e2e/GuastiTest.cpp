// Faults of the line and of the disk during the work: the port lost half way
// through a dialogue, the island falling silent in the middle of a
// configuration load, a save to a place that cannot take the file.

#include "channel/Channel.h"
#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ondrix {
namespace {

using test::ProgramEnded;
namespace fs = std::filesystem;

struct Avviata : ::testing::Test {
    IslandRig rig;
    void SetUp() override
    {
        rig.startUp();
        ASSERT_TRUE(rig.island.protocolErrors().empty());
        rig.clearLines();
        rig.host.messages.clear();
    }
    Control& bobina(int posizione) { return *rig.c.f.Bobina[static_cast<std::size_t>(posizione - 1)]; }
    // The one message shown is the time-out's, and the program ended with it.
    void finitoPerTimeout(const std::function<void()>& azione)
    {
        try {
            azione();
            ADD_FAILURE() << "the program did not end";
        } catch (const ProgramEnded& e) {
            EXPECT_EQ(e.status, StatoTimeout);
        }
        ASSERT_EQ(rig.host.messages.size(), 1u);
        const Testi& t = rig.c.m.testi;
        EXPECT_EQ(rig.host.messages[0].text,
                  t.Messaggi(msg::Timeout1) + "\r\n" + t.Messaggi(msg::Timeout2));
        EXPECT_EQ(rig.host.messages[0].title, rig.c.f.caption());
    }
};

std::string leggi(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// ---- The port lost -------------------------------------------------------------

TEST_F(Avviata, PortLostBetweenTheLinesOfADialogueEndsAfterTheTimeOutMessage)
{
    eventoClick(rig.c, bobina(1));
    rig.clearLines();
    // Lost as soon as the command word has gone: its prompt never comes.
    rig.island.faults().dropAtCommand = "CLOSE VALVOLA";
    finitoPerTimeout([&] { eventoClick(rig.c, rig.c.f.CmdAziona); });
    // Nothing more was written: no index line, no "EXIT SV".
    EXPECT_EQ(rig.lines(), std::vector<std::string>{"CLOSE VALVOLA"});
    // The window stays as it was before the click.
    EXPECT_EQ(bobina(1).backColor(), colore::Arancio);
}

TEST_F(Avviata, PortLostWhileAReplyIsArrivingEndsAfterTheTimeOutMessage)
{
    // The inputs' reply (some 400 characters) at the line's pace, in pieces;
    // the line pulled out a fifth of a second into it.
    eventoClick(rig.c, rig.c.f.OptInput);
    rig.host.messages.clear();
    rig.clearLines();
    rig.island.faults().pace = true;
    rig.island.faults().chunkSize = 8;
    rig.island.faults().chunkGapUs = 2'000;
    const std::size_t lette = rig.c.m.TotaleIngressi;
    ASSERT_GT(lette, 0u);
    rig.host.at(rig.host.nowUs() + 200'000, [&] { rig.island.dropLink(); });
    finitoPerTimeout([&] { eventoTimer(rig.c); });
    EXPECT_EQ(rig.lines(), std::vector<std::string>{"GET DIGITAL INPUT"});
    EXPECT_TRUE(rig.island.protocolErrors().empty());
    // Anything after the end finds the channel closed: nothing is written.
    const std::size_t prima = rig.port.written().size();
    rig.host.messages.clear();
    EXPECT_THROW(rig.c.invia(dialogo::GetDiagnosi()), ProgramEnded);
    EXPECT_EQ(rig.port.written().size(), prima);
}

TEST_F(Avviata, PortLostDuringAPollTickEndsTheSameWay)
{
    eventoClick(rig.c, rig.c.f.OptInput);
    ASSERT_TRUE(rig.c.f.OptInput.value());
    rig.host.messages.clear();
    rig.island.faults().dropAtCommand = "GET DIGITAL INPUT";
    finitoPerTimeout([&] { eventoTimer(rig.c); });
}

// ---- The island falls silent in the middle of a load ------------------------------

TEST_F(Avviata, IslandSilentHalfWayThroughALoadEndsOnTheTimeOut)
{
    QTemporaryDir dir;
    const std::string nome = dir.path().toStdString() + "/isola.txt";
    rig.host.fileAnswers = {nome};
    eventoClick(rig.c, rig.c.f.CmdSalva);
    ASSERT_FALSE(leggi(nome).empty());
    rig.clearLines();
    rig.host.messages.clear();

    // The island answers the disable pass, then nothing from the first
    // enable on.
    rig.island.faults().silentAtCommand = "ENABLE VALVOLA";
    rig.host.fileAnswers = {nome};
    finitoPerTimeout([&] { eventoClick(rig.c, rig.c.f.CmdCarica); });
    const std::vector<std::string> l = rig.lines();
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.back(), "ENABLE VALVOLA") << "nothing was sent after the unanswered line";
    EXPECT_NE(std::find(l.begin(), l.end(), "DISABLE VALVOLA"), l.end());
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

// ---- Saving where the file cannot go ------------------------------------------------

struct Salvataggio : Avviata {
    void salvaFallito(const std::string& nome)
    {
        rig.host.messages.clear();
        rig.host.fileAnswers = {nome};
        eventoClick(rig.c, rig.c.f.CmdSalva);
        ASSERT_EQ(rig.host.messages.size(), 1u) << nome;
        EXPECT_EQ(rig.host.messages[0].text.rfind("Impossibile salvare la configurazione nel file \"" +
                                                      nome + "\"",
                                                  0),
                  0u)
            << rig.host.messages[0].text;
        EXPECT_FALSE(rig.host.busyPointer);
        EXPECT_FALSE(rig.host.ended);
        EXPECT_TRUE(rig.lines().empty());
    }
};

TEST_F(Salvataggio, ASpecialFileIsNeverReplaced)
{
    // A device that takes no byte (a full disk) and one that takes all:
    // made here, as a copy of the system's own, so that a fault cannot harm
    // the machine's /dev.
    QTemporaryDir dir;
    const std::string pieno = dir.path().toStdString() + "/pieno.txt";
    const std::string nullo = dir.path().toStdString() + "/nullo.txt";
    if (::mknod(pieno.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0 ||
        ::mknod(nullo.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make device files here";
    for (const std::string& nome : {pieno, nullo}) {
        salvaFallito(nome);
        struct stat st {};
        ASSERT_EQ(::stat(nome.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << nome << " is still the device";
    }
    // No temporary file was left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator{}), 2);
}

TEST_F(Salvataggio, APlaceWhereNoFileCanBeMade)
{
    salvaFallito("/proc/ondrix-configurazione.txt");
    EXPECT_FALSE(fs::exists("/proc/ondrix-configurazione.txt"));
    salvaFallito("/proc/self/status");
}

} // namespace
} // namespace ondrix
