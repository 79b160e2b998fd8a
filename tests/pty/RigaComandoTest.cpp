// The modes without a window as a production line runs them: the configurator
// program against the simulator program on a pseudo-terminal, no display,
// checked against the scenario, the window's own save and load (on the
// simulated island) and the simulator's transcript.

#include "Programma.h"
#include "Simulatore.h"

#include "config/Formato.h"
#include "sim/Scenario.h"
#include "support/IslandRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>

namespace ondrix {
namespace {

using test::Programma;
using test::SenzaSchermo;
using test::Simulatore;

// A file of the test's own, removed at the end.
struct FileProva {
    explicit FileProva(const std::string& nome)
        : percorso((std::filesystem::temp_directory_path() /
                    ("ondrix-riga-" + std::to_string(::getpid()) + "-" + nome))
                       .string())
    {
    }
    ~FileProva() { std::filesystem::remove(percorso); }
    std::string testo() const { return Programma::leggi(percorso); }
    void scrivi(const std::string& t) const { std::ofstream(percorso, std::ios::binary) << t; }
    std::string percorso;
};

std::vector<std::string> ricevute(const FileProva& log) { return test::ricevute(log.percorso); }

// The lines of vs from the first equal to da to the first equal to a after it.
std::vector<std::string> tratto(const std::vector<std::string>& vs, const std::string& da, const std::string& a)
{
    auto i = std::find(vs.begin(), vs.end(), da);
    auto j = i == vs.end() ? vs.end() : std::find(i, vs.end(), a);
    return j == vs.end() ? std::vector<std::string>{} : std::vector<std::string>(i, j + 1);
}

// The window's save of the default island, on the simulated island.
std::string salvataggioDellaFinestra(const FileProva& dove)
{
    IslandRig rig;
    rig.ready();
    rig.host.fileAnswers = {dove.percorso};
    rig.click(rig.c.f.CmdSalva);
    return dove.testo();
}

std::string conRiga(std::string testo, const std::string& da, const std::string& a)
{
    const std::size_t p = testo.find("\r\n" + da + "\r\n");
    if (p != std::string::npos)
        testo.replace(p + 2, da.size(), a);
    return testo;
}

TEST(RigaComando, InfoJsonIsTheScenario)
{
    Simulatore sim({});
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--info", "--json", "--quiet"}, SenzaSchermo);
    ASSERT_EQ(p.attendi(), 0) << p.err();
    QJsonParseError errore;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(p.out()), &errore).object();
    ASSERT_EQ(errore.error, QJsonParseError::NoError) << p.out();

    const sim::Scenario s = sim::defaultScenario();
    EXPECT_EQ(o["port"]["device"].toString().toStdString(), sim.device());
    EXPECT_EQ(o["fieldbus"].toString(), "PROFIBUS");
    ASSERT_TRUE(o["slaveAddress"].isDouble());
    EXPECT_EQ(o["slaveAddress"].toInt(), s.slaveAddress);
    EXPECT_EQ(o["termination"].toBool(), s.termination);
    EXPECT_TRUE(o["baudRate"].isNull());
    EXPECT_EQ(o["firmware"]["main"].toInt(), s.revAtmel);
    const QJsonArray corpi = o["bodies"].toArray();
    ASSERT_EQ(corpi.size(), static_cast<qsizetype>(s.bodies.size()));
    for (std::size_t k = 0; k < s.bodies.size(); ++k) {
        const sim::Body& b = s.bodies[k];
        const QJsonObject corpo = corpi[static_cast<qsizetype>(k)].toObject();
        EXPECT_EQ(corpo["stations"].toInt(), b.posts);
        EXPECT_EQ(corpo["firmware"].toInt(), b.rev);
        const QJsonArray bobine = corpo["coils"].toArray();
        ASSERT_EQ(bobine.size(), static_cast<qsizetype>(b.coils.size()));
        for (std::size_t j = 0; j < b.coils.size(); ++j) {
            const sim::Coil& c = b.coils[j];
            const QJsonObject x = bobine[static_cast<qsizetype>(j)].toObject();
            SCOPED_TRACE("body " + std::to_string(k) + " coil " + std::to_string(c.position));
            EXPECT_EQ(x["position"].toInt(), c.position);
            EXPECT_EQ(x["disabled"].toBool(), c.index == sim::DisabledIndex);
            if (c.index == sim::DisabledIndex)
                continue;
            EXPECT_EQ(x["index"].toInt(), c.index);
            EXPECT_EQ(x["present"].toBool(), c.diagnosis != 'A');
            EXPECT_EQ(x["faulty"].toBool(), c.diagnosis == 'C' || c.diagnosis == 'I');
            EXPECT_EQ(x["energised"].toBool(), c.energised && c.diagnosis == 'P');
            EXPECT_EQ(x["relax"].toBool(), c.relax);
        }
    }
    const QJsonArray moduli = o["inputModules"].toArray();
    ASSERT_EQ(moduli.size(), static_cast<qsizetype>(s.modules.size()));
    for (std::size_t k = 0; k < s.modules.size(); ++k) {
        const QJsonObject m = moduli[static_cast<qsizetype>(k)].toObject();
        EXPECT_EQ(m["type"].toString().toStdString(), s.modules[k].type);
        EXPECT_EQ(m["address"].toInt(), s.modules[k].address);
        EXPECT_EQ(m["firmware"].toInt(), s.modules[k].rev);
    }
}

TEST(RigaComando, SaveWritesTheWindowsBytesAndTheTraceEveryLine)
{
    FileProva finestra("finestra.txt"), riga("riga.txt"), traccia("traccia.txt"), log("save.log");
    // Each reply whole, its last line end in the same read as its "OK": the
    // readers still see the reply end with the text they wait for.
    Simulatore sim({"--log", "--tail-delay", "0"}, log.percorso);
    Programma p("ondrix-configuratore",
                {"--port", sim.device(), "--save", riga.percorso, "--trace", traccia.percorso}, SenzaSchermo);
    ASSERT_EQ(p.attendi(), 0) << p.err();
    EXPECT_EQ(riga.testo(), salvataggioDellaFinestra(finestra));

    // One trace line per command line, in the order the island got them.
    std::vector<std::string> inviate;
    std::istringstream in(traccia.testo());
    for (std::string r; std::getline(in, r);) {
        if (r.rfind('#', 0) == 0)
            continue;
        const std::size_t sp = r.find(' ');
        ASSERT_NE(sp, std::string::npos) << r;
        EXPECT_NO_THROW((void)std::stol(r.substr(0, sp))) << r;
        if (r.compare(sp, 3, " > ") == 0) {
            const std::string dati = r.substr(sp + 3);
            ASSERT_GE(dati.size(), 8u);
            EXPECT_EQ(dati.substr(dati.size() - 8), "<CR><LF>") << "one write per line";
            inviate.push_back(dati.substr(0, dati.size() - 8));
        } else {
            EXPECT_EQ(r.compare(sp, 3, " < "), 0) << r;
        }
    }
    EXPECT_EQ(inviate, ricevute(log));
}

TEST(RigaComando, LoadSendsTheWindowsLinesAndEndsEqual)
{
    FileProva salvato("salvato.txt"), modificato("modificato.txt"), log("load.log");
    const std::string base = salvataggioDellaFinestra(salvato);
    modificato.scrivi(conRiga(base, "5", "7"));  // the slave address

    IslandRig finestra;
    finestra.ready();
    finestra.host.fileAnswers = {modificato.percorso};
    finestra.click(finestra.c.f.CmdCarica);
    const auto attese = tratto(finestra.lines(), "DISABLE DIGITAL", "1000");
    ASSERT_FALSE(attese.empty());

    Simulatore sim({"--log"}, log.percorso);
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--load", modificato.percorso}, SenzaSchermo);
    EXPECT_EQ(p.attendi(), 0) << p.err();
    EXPECT_TRUE(p.out().empty()) << "no difference left: " << p.out();
    const auto righe = ricevute(log);
    EXPECT_EQ(tratto(righe, "DISABLE DIGITAL", "1000"), attese);
    EXPECT_EQ(righe.back(), "EXIT SV");
}

TEST(RigaComando, VerifyNamesEveryDifferenceAndSendsNothingElse)
{
    FileProva salvato("uguale.txt"), diverso("diverso.txt"), log("verify.log");
    const std::string base = salvataggioDellaFinestra(salvato);
    std::string t = base;
    t = conRiga(t, "5", "7");                   // slave address
    t = conRiga(t, "0 1 1", "3 1 0");           // coil row 1: index and relax
    t = conRiga(t, "0 23 0", "0 23 2");         // module 1's address
    t = conRiga(t, "OFF", "ON");                // termination
    t = conRiga(t, "4 7", "8 7");               // body 2's stations
    t[t.find("\r\n 2 \r\n[TIPO ESPANSIONE") + 3] = '3';  // one body more ...
    t = conRiga(t, "8 7", "8 7\r\n2 1");         // ... and its row
    diverso.scrivi(t);

    Simulatore sim({"--log"}, log.percorso);
    {
        Programma p("ondrix-configuratore", {"--port", sim.device(), "--verify", salvato.percorso, "--quiet"},
                    SenzaSchermo);
        EXPECT_EQ(p.attendi(), 0) << p.err();
        EXPECT_TRUE(p.out().empty()) << p.out();
    }
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--verify", diverso.percorso, "--quiet"},
                SenzaSchermo);
    EXPECT_EQ(p.attendi(), 1) << p.err();
    for (const char* riga : {"slave address: island 5, file 7", "coil row 1 index: island 0, file 3",
                             "coil row 1 relax: island 1, file 0", "input module 1 address: island 0, file 2",
                             "termination: island OFF, file ON", "body count: island 2, file 3",
                             "body 2 stations: island 4, file 8"})
        EXPECT_NE(p.out().find(std::string(riga) + "\n"), std::string::npos) << riga << "\n" << p.out();
    // The readout and nothing else.
    for (const std::string& r : ricevute(log))
        for (const char* vietata : {"SET ", "DISABLE ", "ENABLE ", "TERMINAZIONE ", "CLEAR"})
            EXPECT_NE(r.rfind(vietata, 0), 0u) << r;
}

TEST(RigaComando, ARefusedFileEndsWithFourAndNothingSentAnUnreadableOneWithFive)
{
    FileProva salvato("rifiutato.txt"), log("rifiutato.log");
    const std::string base = salvataggioDellaFinestra(salvato);
    salvato.scrivi(conRiga(base, " 21 ", " 20 "));  // another coil count: another island
    Simulatore sim({"--log"}, log.percorso);
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--load", salvato.percorso, "--quiet"},
                SenzaSchermo);
    EXPECT_EQ(p.attendi(), 4);
    EXPECT_NE(p.err().find("LA CONFIGURAZIONE DEL FILE NON CORRISPONDE"), std::string::npos) << p.err();
    for (const std::string& r : ricevute(log))
        EXPECT_TRUE(r.rfind("SET ", 0) != 0 && r.rfind("DISABLE ", 0) != 0) << r;

    Programma q("ondrix-configuratore", {"--port", sim.device(), "--load", salvato.percorso + ".none"},
                SenzaSchermo);
    EXPECT_EQ(q.attendi(), 5);
}

} // namespace
} // namespace ondrix
