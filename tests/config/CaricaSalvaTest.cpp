// The two buttons: dialogs, files on disk, messages, and what reaches the island.

#include "config/File.h"
#include "config/Formato.h"
#include "config/Isola.h"
#include "program/Configuratore.h"
#include "program/Gestori.h"
#include "support/FakeHost.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace ondrix {
namespace {

using namespace ondrix::test;

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
    return QDir(QString::fromStdString(dir))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct Banco : ::testing::Test {
    FakeHost host;
    PortaRegistrata port;
    Configuratore c{host, port};
    QTemporaryDir tmp;

    Banco()
    {
        isolaProfibus(c.m);
        c.f.PROFIBUS.setCaption("INDIRIZZO SLAVE: 5");
        c.f.CmdTerminazione.setCaption(TermOff);
    }
    std::string dir() const { return tmp.path().toStdString(); }
    std::string percorso(const std::string& nome) const { return dir() + "/" + nome; }

    // The lines the island received up to the end of the relax list: what
    // follows is the start-up running again.
    std::vector<std::string> finoAl1000() const
    {
        auto it = std::find(port.righe.begin(), port.righe.end(), "1000");
        return {port.righe.begin(), it == port.righe.end() ? it : it + 1};
    }
    void caricaRifiutato(const std::string& bytes)
    {
        scrivi(percorso("c.txt"), bytes);
        host.fileAnswers.push_back(percorso("c.txt"));
        host.messages.clear();
        CmdCarica_Click(c);
        EXPECT_TRUE(port.righe.empty());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, MsgConfigurazione);
        EXPECT_EQ(host.messages[0].title, c.f.caption());
        EXPECT_FALSE(host.busyPointer);
    }
};

TEST_F(Banco, SaveThenLoadOnTheSameIsland)
{
    const std::string nome = percorso("isola.txt");
    host.fileAnswers = {nome, ""};
    CmdSalva_Click(c);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const FileDialogRequest& d = host.fileDialogs[0];
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.defaultExt, ".txt");
    EXPECT_EQ(d.filterDesc, "(*.txt)");
    EXPECT_EQ(d.filterPattern, "*.txt");
    EXPECT_EQ(leggi(nome), scriviConfigurazione(c.m, "INDIRIZZO SLAVE: 5", TermOff));
    EXPECT_EQ(contenuto(dir()), QStringList{"isola.txt"});  // no temporary file left
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, MsgSuccesso);
    EXPECT_EQ(host.messages[0].title, c.f.caption());
    EXPECT_EQ(host.busyHistory, (std::vector<bool>{true, false}));

    // Cancelling the next dialog writes nothing and keeps the name.
    CmdSalva_Click(c);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(c.f.NomeFile, nome);

    // The load dialog offers the same name; the island gets the whole
    // sequence, with the model changed before the last section is sent.
    std::string caption;
    Rgb connettore;
    int indiceRiga6 = 0;
    port.alRicevere = [&](const std::string& riga) {
        if (riga == "TERMINAZIONE ON") {
            caption = c.f.CmdTerminazione.caption();
            connettore = c.f.ConnettoreProfibus.fillColor();
            indiceRiga6 = c.m.ConfBobine(6).Indice;
        }
    };
    c.f.CmdTerminazione.setCaption(TermOn);
    host.busyHistory.clear();
    host.fileAnswers = {nome};
    CmdCarica_Click(c);
    EXPECT_EQ(host.fileDialogOffered.back(), nome);
    EXPECT_FALSE(host.fileDialogs.back().save);
    EXPECT_EQ(host.fileDialogs.back().defaultExt, ".txt");

    // The whole sequence is the plan's (see VerificaTest); here: it ran to
    // its end, with the model changed before the last section was sent.
    const auto righe = finoAl1000();
    ASSERT_FALSE(righe.empty());
    EXPECT_EQ(righe.front(), "DISABLE DIGITAL");
    EXPECT_EQ(righe.back(), "1000");
    EXPECT_EQ(caption, TermOff);
    EXPECT_EQ(connettore, colore::Rosso);
    EXPECT_EQ(indiceRiga6, 170);
    ASSERT_GE(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, MsgSuccesso);
    ASSERT_GE(host.busyHistory.size(), 2u);
    EXPECT_EQ(host.busyHistory[0], true);
    EXPECT_EQ(host.busyHistory[1], false);  // before the success message
    EXPECT_FALSE(host.busyPointer);
}

TEST_F(Banco, LoadSetsTheBaudRateBeforeSendingIt)
{
    Model& m = c.m;
    m = Model{};
    isolaDevicenet(m);
    scrivi(percorso("d.txt"), scriviConfigurazione(m, "NODO: 7", ""));
    m.IndiceBaudRate = 0;
    std::string caption;
    int indice = -1;
    port.alRicevere = [&](const std::string& riga) {
        if (riga == "SET BAUD RATE") {
            caption = c.f.CmdTerminazione.caption();
            indice = c.m.IndiceBaudRate;
        }
    };
    host.fileAnswers = {percorso("d.txt")};
    CmdCarica_Click(c);
    EXPECT_EQ(caption, "250 Kbit/s");
    EXPECT_EQ(indice, 1);
    const auto righe = finoAl1000();
    const std::vector<std::string> coda = {"SET RELAX", "2", "1000"};
    ASSERT_GE(righe.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(righe.end() - 3, righe.end()), coda);
    EXPECT_EQ(righe[0], "SET SLAVE ADDRESS");
    EXPECT_EQ(righe[1], "7");
}

TEST_F(Banco, AFileWithUnixLineEndsLoadsTheSame)
{
    std::string bytes = scriviConfigurazione(c.m, "A: 5", TermOff);
    std::string lf;
    for (char ch : bytes)
        if (ch != '\r')
            lf.push_back(ch);
    scrivi(percorso("lf.txt"), lf);
    host.fileAnswers = {percorso("lf.txt")};
    CmdCarica_Click(c);
    EXPECT_EQ(finoAl1000().back(), "1000");
    EXPECT_EQ(host.messages.at(0).text, MsgSuccesso);
}

TEST_F(Banco, RefusedFilesSendNothing)
{
    const std::string buono = scriviConfigurazione(c.m, "A: 5", TermOff);
    auto cambia = [&](int riga, const std::string& testo) {
        auto righe = righeDi(buono);
        righe[static_cast<std::size_t>(riga - 1)] = testo;
        std::string s;
        for (const auto& r : righe)
            s += r + "\r\n";
        return utf8ACp1252(s);
    };
    caricaRifiutato(cambia(30, "3 3 0"));                // another position
    caricaRifiutato(cambia(27, "0 1 "));                 // empty field
    caricaRifiutato(buono.substr(0, buono.size() / 2));  // cut short
    caricaRifiutato(std::string(MassimoFileConfigurazione + 1, '\n'));  // far too long
}

TEST_F(Banco, AFileThatCannotBeReadIsReportedAndTheProgramGoesOn)
{
    for (const std::string& nome : {percorso("manca.txt"), dir()}) {
        host.messages.clear();
        host.fileAnswers = {nome};
        CmdCarica_Click(c);
        ASSERT_EQ(host.messages.size(), 1u) << nome;
        EXPECT_EQ(host.messages[0].text.rfind("Impossibile leggere il file \"" + nome + "\"", 0), 0u);
        EXPECT_GT(host.messages[0].text.size(), nome.size() + 40);  // with the reason
        EXPECT_TRUE(port.righe.empty());
        EXPECT_FALSE(host.busyPointer);
        EXPECT_FALSE(host.ended);
    }
    // Cancelling reads and sends nothing.
    host.messages.clear();
    CmdCarica_Click(c);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.busyPointer);
}

// ---- Saving never destroys the previous file ---------------------------------

struct Salvataggio : Banco {
    // Saves to nome and expects the failure message with its reason.
    void salvaFallito(const std::string& nome)
    {
        host.messages.clear();
        host.fileAnswers = {nome};
        CmdSalva_Click(c);
        ASSERT_EQ(host.messages.size(), 1u) << nome;
        const std::string& t = host.messages[0].text;
        EXPECT_EQ(t.rfind("Impossibile salvare la configurazione nel file \"" + nome + "\":\r\n", 0),
                  0u)
            << t;
        EXPECT_EQ(host.messages[0].title, c.f.caption());
        EXPECT_FALSE(host.busyPointer);
    }
};

TEST_F(Salvataggio, ReplacesAnEarlierFileWhole)
{
    const std::string nome = percorso("c.txt");
    scrivi(nome, std::string(20000, 'x'));  // longer than the new file
    host.fileAnswers = {nome};
    CmdSalva_Click(c);
    EXPECT_EQ(leggi(nome), scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), TermOff));
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
    EXPECT_NE(host.messages[0].text.find(std::strerror(EFBIG)), std::string::npos)
        << host.messages[0].text;
    EXPECT_EQ(leggi(nome), "VECCHIO");
    EXPECT_EQ(contenuto(dir()), QStringList{"c.txt"});
}

} // namespace
} // namespace ondrix
