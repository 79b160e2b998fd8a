// The two buttons on the simulated island: dialogs, files on disk, messages,
// and what reaches the island.

#include "config/File.h"
#include "config/Formato.h"
#include "config/Isole.h"
#include "island/Codifica.h"
#include "program/Eventi.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace ondrix {
namespace {

using Righe = std::vector<std::string>;

std::string leggi(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void scrivi(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

QStringList contenuto(const std::string& dir)
{
    return QDir(QString::fromStdString(dir)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The island's coils as (body, position, index, relax), in order.
std::vector<std::tuple<int, int, int, bool>> bobine(const sim::Scenario& s)
{
    std::vector<std::tuple<int, int, int, bool>> v;
    for (const auto& b : s.bodies)
        for (const auto& c : b.coils)
            v.emplace_back(b.number, c.position, c.index, c.relax);
    return v;
}

struct Banco : ::testing::Test, IslandRig {
    QTemporaryDir tmp;
    const Testi& t = c.m.testi;

    explicit Banco(sim::Scenario s = sim::defaultScenario()) : IslandRig(std::move(s)) { ready(); }
    std::string dir() const { return tmp.path().toStdString(); }
    std::string percorso(const std::string& nome) const { return dir() + "/" + nome; }

    void salva(const std::string& nome)
    {
        host.fileAnswers = {nome};
        click(c.f.CmdSalva);
    }
    void carica(const std::string& nome)
    {
        host.fileAnswers = {nome};
        click(c.f.CmdCarica);
    }
    // Saves to isola.txt and forgets the save's dialogs; returns the file's lines.
    Righe salvato()
    {
        salva(percorso("isola.txt"));
        host.messages.clear();
        host.busyHistory.clear();
        return righeDi(decodificaTesto(leggi(percorso("isola.txt"))));
    }
    void riscrivi(const Righe& righe) const
    {
        std::string s;
        for (const auto& r : righe)
            s += r + "\r\n";
        scrivi(percorso("isola.txt"), utf8ACp1252(s));
    }
    // Lines the island received up to the relax list's "1000": what follows
    // is the start-up running again.
    Righe finoAl1000() const
    {
        const Righe l = lines();
        auto it = std::find(l.begin(), l.end(), "1000");
        return {l.begin(), it == l.end() ? it : it + 1};
    }
};

TEST_F(Banco, SaveThenLoadWritesTheSameIslandBackAndStartsAgain)
{
    const std::string nome = percorso("isola.txt");
    salva(nome);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const FileDialogRequest& d = host.fileDialogs[0];
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.defaultExt, ".txt");
    EXPECT_EQ(d.filterDesc, "(*.txt)");
    EXPECT_EQ(d.filterPattern, "*.txt");
    EXPECT_EQ(leggi(nome), scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), c.f.CmdTerminazione.caption()));
    EXPECT_EQ(contenuto(dir()), QStringList{"isola.txt"});  // no temporary file left
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, t.Messaggi(msg::Successo));
    EXPECT_EQ(host.messages[0].title, c.f.caption());
    EXPECT_EQ(host.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(lines().empty());

    // Cancelling the next dialog writes nothing and keeps the name.
    click(c.f.CmdSalva);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(c.f.NomeFile, nome);

    // The termination switched on since: the file switches it off again, and
    // the window shows it before that section is sent.
    click(c.f.CmdTerminazione);
    clearLines();
    const auto prima = island.state();
    std::string caption;
    Rgb connettore;
    port.onLine = [&](const std::string& riga) {
        if (riga == "TERMINAZIONE OFF") {
            caption = c.f.CmdTerminazione.caption();
            connettore = c.f.ConnettoreProfibus.fillColor();
        }
    };
    host.messages.clear();
    host.busyHistory.clear();
    host.fileAnswers = {nome};
    click(c.f.CmdCarica);
    EXPECT_EQ(host.fileDialogOffered.back(), nome);
    EXPECT_FALSE(host.fileDialogs.back().save);
    EXPECT_EQ(host.fileDialogs.back().defaultExt, ".txt");

    // The default island: two modules at 0 and 1, address 5, coils of the
    // head at positions 1..14 (position 6 disabled) with indexes 0..13 and
    // of the expansion at 1..7 with 14..20, relax on 0, 4, 9 and 16,
    // termination off.
    Righe atteso = {"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "0", "ENABLE DIGITAL", "1", "1",
                    "SET SLAVE ADDRESS", "5"};
    std::vector<std::tuple<int, int, int>> presenti;  // body, position, index
    for (int pos = 1; pos <= 14; ++pos)
        if (pos != 6)
            presenti.emplace_back(0, pos, pos - 1);
    for (int pos = 1; pos <= 7; ++pos)
        presenti.emplace_back(1, pos, 13 + pos);
    for (const auto& [corpo, pos, indice] : presenti)
        atteso.insert(atteso.end(), {"DISABLE VALVOLA", std::to_string(indice)});
    atteso.push_back("TERMINAZIONE OFF");
    for (const auto& [corpo, pos, indice] : presenti)
        atteso.insert(atteso.end(), {"ENABLE VALVOLA", std::to_string(corpo), std::to_string(pos),
                                     std::to_string(indice)});
    atteso.insert(atteso.end(), {"SET RELAX", "0", "4", "9", "16", "1000"});
    EXPECT_EQ(finoAl1000(), atteso);
    EXPECT_EQ(caption, t.CaptTerminazioneOn);
    EXPECT_EQ(connettore, colore::Nero);

    // Then the start-up again on the open port: no link check.
    const Righe l = lines();
    ASSERT_GT(l.size(), atteso.size());
    EXPECT_EQ(l[atteso.size()], "ENTER SV");
    EXPECT_EQ(std::count(l.begin(), l.end(), ""), 0);
    expectCleanDialogues();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].text, t.Messaggi(msg::Successo));
    ASSERT_GE(host.busyHistory.size(), 2u);
    EXPECT_EQ(host.busyHistory[0], true);
    EXPECT_EQ(host.busyHistory[1], false);  // before the success message
    EXPECT_FALSE(host.busyPointer);

    const auto& dopo = island.state();
    EXPECT_EQ(bobine(dopo), bobine(prima));
    EXPECT_EQ(dopo.slaveAddress, prima.slaveAddress);
    EXPECT_FALSE(dopo.termination);
    EXPECT_EQ(dopo.modules[0].address, 0);
    EXPECT_EQ(dopo.modules[1].address, 1);
    EXPECT_TRUE(dopo.modules[0].enabled && dopo.modules[1].enabled);
    EXPECT_EQ(c.m.TotaleBobine, 21);  // the window shows the island as read again
}

TEST_F(Banco, AnEditedFileReachesTheIsland)
{
    Righe righe = salvato();
    // Head rows 1 and 2 swap their indexes; relax on for the coil now at
    // index 0 only (row 2): the relax list must name index 0, not row 2's 1.
    const std::size_t primaBobina = 26;  // line 27: two bodies before the coil rows
    ASSERT_EQ(righe[primaBobina - 1], IntestazioneBobine);
    righe[primaBobina] = "1 1 0";
    righe[primaBobina + 1] = "0 2 1";
    righe[primaBobina + 4] = "4 5 0";
    righe[primaBobina + 9] = "9 10 0";
    righe[primaBobina + 16] = "16 3 0";  // expansion row 3
    righe[17] = "12";                    // slave address
    righe[4] = "1 22 2";                 // second module to address 2
    righe.back() = "ON";
    riscrivi(righe);
    carica(percorso("isola.txt"));

    expectCleanDialogues();
    const Righe l = finoAl1000();
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(Righe(l.end() - 3, l.end()), (Righe{"SET RELAX", "0", "1000"}));
    const auto& s = island.state();
    EXPECT_EQ(s.bodies[0].coils[0].index, 1);
    EXPECT_EQ(s.bodies[0].coils[1].index, 0);
    EXPECT_TRUE(s.bodies[0].coils[1].relax);
    EXPECT_FALSE(s.bodies[0].coils[0].relax);
    EXPECT_FALSE(s.bodies[0].coils[4].relax);
    EXPECT_EQ(s.slaveAddress, 12);
    EXPECT_EQ(s.modules[1].address, 2);
    EXPECT_TRUE(s.termination);
    // The start-up shows it.
    EXPECT_EQ(c.f.CmdTerminazione.caption(), t.CaptTerminazioneOff);
    EXPECT_EQ(c.m.Moduli(2).Indirizzo, 2);
}

TEST_F(Banco, TheOlderLayoutLeavesTheModulesAlone)
{
    const Righe righe = salvato();
    riscrivi(Righe(righe.begin() + 13, righe.end()));
    carica(percorso("isola.txt"));
    const Righe l = finoAl1000();
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l[0], "SET SLAVE ADDRESS");
    EXPECT_EQ(std::count(l.begin(), l.end(), "ENABLE DIGITAL"), 0);
    EXPECT_EQ(l.back(), "1000");
    expectCleanDialogues();
}

TEST_F(Banco, AFileWithUnixLineEndsLoadsTheSame)
{
    salvato();
    std::string lf = leggi(percorso("isola.txt"));
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    scrivi(percorso("isola.txt"), lf);
    carica(percorso("isola.txt"));
    EXPECT_EQ(finoAl1000().back(), "1000");
    EXPECT_EQ(host.messages.at(0).text, t.Messaggi(msg::Successo));
}

TEST_F(Banco, RefusedFilesSendNothing)
{
    const Righe buono = salvato();
    const auto cambia = [&](std::size_t riga, const std::string& testo) {
        Righe r = buono;
        r.at(riga - 1) = testo;
        std::string s;
        for (const auto& x : r)
            s += x + "\r\n";
        return utf8ACp1252(s);
    };
    const std::string intero = cambia(1, buono[0]);
    const std::pair<const char*, std::string> casi[] = {
        {"another position", cambia(28, "1 3 0")},
        {"an empty field", cambia(27, "0 1 ")},
        {"one coil more", cambia(20, " 22 ")},
        {"cut short", intero.substr(0, intero.size() / 2)},
        {"far too long", std::string(MassimoFileConfigurazione + 1, '\n')},
    };
    for (const auto& [caso, bytes] : casi) {
        SCOPED_TRACE(caso);
        scrivi(percorso("c.txt"), bytes);
        host.messages.clear();
        carica(percorso("c.txt"));
        EXPECT_TRUE(taken().empty());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, t.Messaggi(msg::Configurazione));
        EXPECT_EQ(host.messages[0].title, c.f.caption());
        EXPECT_FALSE(host.busyPointer);
    }
}

TEST_F(Banco, AFileThatCannotBeReadIsReportedAndTheProgramGoesOn)
{
    for (const std::string& nome : {percorso("manca.txt"), dir()}) {
        host.messages.clear();
        carica(nome);
        ASSERT_EQ(host.messages.size(), 1u) << nome;
        EXPECT_EQ(host.messages[0].text.rfind("Impossibile leggere il file \"" + nome + "\"", 0), 0u);
        EXPECT_GT(host.messages[0].text.size(), nome.size() + 40);  // with the reason
        EXPECT_TRUE(lines().empty());
        EXPECT_FALSE(host.busyPointer);
        EXPECT_FALSE(host.ended);
    }
    // Cancelling reads and sends nothing.
    host.messages.clear();
    click(c.f.CmdCarica);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.busyPointer);
}

TEST(CaricaDevicenet, TheBaudRateIsSetBeforeItIsSent)
{
    IslandRig rig(test::scenarioDevicenet());
    rig.ready();
    QTemporaryDir tmp;
    const std::string nome = tmp.path().toStdString() + "/d.txt";
    rig.host.fileAnswers = {nome};
    rig.click(rig.c.f.CmdSalva);

    // Switched to 125 Kbit/s since.
    rig.click(rig.c.f.CmdTerminazione);
    rig.click(*rig.c.f.Option1[0]);
    rig.click(rig.c.f.CmdBaudRate);
    ASSERT_EQ(rig.c.m.IndiceBaudRate, 0);
    rig.clearLines();

    std::string caption;
    int indice = -1;
    rig.port.onLine = [&](const std::string& riga) {
        if (riga == "SET BAUD RATE") {
            caption = rig.c.f.CmdTerminazione.caption();
            indice = rig.c.m.IndiceBaudRate;
        }
    };
    rig.host.fileAnswers = {nome};
    rig.click(rig.c.f.CmdCarica);
    EXPECT_EQ(caption, "250 Kbit/s");
    EXPECT_EQ(indice, 1);
    const Righe l = rig.lines();
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(Righe(l.begin(), l.begin() + 2), (Righe{"SET SLAVE ADDRESS", "12"}));  // no modules
    const auto fine = std::find(l.begin(), l.end(), "1000");
    ASSERT_NE(fine, l.end());
    EXPECT_EQ(Righe(fine - 2, fine + 1), (Righe{"SET RELAX", "2", "1000"}));
    EXPECT_EQ(rig.island.state().baudIndex, 1);
    rig.expectCleanDialogues();
}

// ---- Saving never destroys the previous file ---------------------------------

struct Salvataggio : Banco {
    // Saves to nome and expects the failure message with its reason.
    void salvaFallito(const std::string& nome)
    {
        host.messages.clear();
        salva(nome);
        ASSERT_EQ(host.messages.size(), 1u) << nome;
        const std::string& testo = host.messages[0].text;
        EXPECT_EQ(testo.rfind("Impossibile salvare la configurazione nel file \"" + nome + "\":\r\n", 0), 0u)
            << testo;
        EXPECT_EQ(host.messages[0].title, c.f.caption());
        EXPECT_FALSE(host.busyPointer);
    }
};

TEST_F(Salvataggio, ReplacesAnEarlierFileWhole)
{
    const std::string nome = percorso("c.txt");
    scrivi(nome, std::string(20000, 'x'));  // longer than the new file
    salva(nome);
    EXPECT_EQ(leggi(nome), scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), c.f.CmdTerminazione.caption()));
    EXPECT_EQ(contenuto(dir()), QStringList{"c.txt"});
}

TEST_F(Salvataggio, AReadOnlyFileIsKept)
{
    const std::string nome = percorso("sola.txt");
    scrivi(nome, "VECCHIO");
    ASSERT_EQ(::chmod(nome.c_str(), 0444), 0);
    salvaFallito(nome);
    EXPECT_NE(host.messages[0].text.find(std::strerror(EACCES)), std::string::npos);
    EXPECT_EQ(leggi(nome), "VECCHIO");
    EXPECT_EQ(contenuto(dir()), QStringList{"sola.txt"});
}

TEST_F(Salvataggio, AFolderThatCannotTakeTheFile)
{
    // A "folder" that is a file, and a name longer than the system allows.
    scrivi(percorso("file"), "X");
    salvaFallito(percorso("file") + "/c.txt");
    salvaFallito(percorso(std::string(300, 'a') + ".txt"));
    EXPECT_EQ(contenuto(dir()), QStringList{"file"});

    // A folder in the place of the file.
    const std::string cartella = percorso("cartella.txt");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(cartella + "/dentro")));
    salvaFallito(cartella);
    EXPECT_EQ(contenuto(dir()), (QStringList{"cartella.txt", "file"}));
    EXPECT_EQ(contenuto(cartella), QStringList{"dentro"});

    // A read-only folder (only where permissions bind: not for root).
    if (::geteuid() != 0) {
        const std::string ro = percorso("ro");
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(ro)));
        scrivi(ro + "/c.txt", "VECCHIO");
        ASSERT_EQ(::chmod(ro.c_str(), 0555), 0);
        salvaFallito(ro + "/c.txt");
        EXPECT_EQ(leggi(ro + "/c.txt"), "VECCHIO");
        EXPECT_EQ(contenuto(ro), QStringList{"c.txt"});
        ::chmod(ro.c_str(), 0755);
    }
    EXPECT_FALSE(host.ended);
}

TEST_F(Salvataggio, AWriteThatFailsHalfwayLeavesTheOldFileAndNoTemporary)
{
    // A file size limit below the file's size makes the write fail after the
    // temporary file exists, as a full disk would.
    const std::string nome = percorso("c.txt");
    scrivi(nome, "VECCHIO");
    rlimit prima{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &prima), 0);
    auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit basso = prima;
    basso.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &basso), 0);
    salvaFallito(nome);
    ::setrlimit(RLIMIT_FSIZE, &prima);
    std::signal(SIGXFSZ, segnale);
    EXPECT_NE(host.messages[0].text.find(std::strerror(EFBIG)), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(leggi(nome), "VECCHIO");
    EXPECT_EQ(contenuto(dir()), QStringList{"c.txt"});
}

} // namespace
} // namespace ondrix
