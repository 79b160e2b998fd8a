// The service report as a production line asks for it: the configurator
// program against the simulator program on a pseudo-terminal, no display,
// the PDF read back with poppler's tools.

#include "Programma.h"
#include "Simulatore.h"

#include "sim/Scenario.h"
#include "support/Poppler.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace ondrix {
namespace {

using test::contiene;
using test::Programma;
using test::Simulatore;

const std::map<std::string, std::string> SenzaSchermo = {
    {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};

std::string esc(const std::string& s) { return QRegularExpression::escape(QString::fromStdString(s)).toStdString(); }

TEST(RapportoRiga, TheReportHoldsTheIslandAndItsCountersInEmbeddedFonts)
{
    QTemporaryDir dir;
    const std::string pdf = dir.filePath("isola.pdf").toStdString();
    Simulatore sim({});
    Programma p("ondrix-configuratore", {"--port", sim.device(), "--report", pdf, "--counters", "--quiet"},
                SenzaSchermo);
    ASSERT_EQ(p.attendi(), 0) << p.err();
    const std::string t = test::testoPdf(pdf);

    for (const std::string& riga :
         {"VERSIONE SOFTWARE:\\s+1\\.2\\.7 \\(COM1 " + esc(sim.device()) + "\\)$",
          std::string("DATA E ORA:\\s+\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d$"), std::string("FIELDBUS:\\s+PROFIBUS$"),
          std::string("INDIRIZZO SLAVE:\\s+5$"), std::string("TERMINAZIONE:\\s+NO$"),
          std::string("VERSIONE FIRMWARE ATMEL:\\s+47$"),
          std::string("VERSIONE FIRMWARE PIC:\\s+CORPO 0: 47, CORPO 1: 46$"),
          std::string("CORPO 1\\s+CORPO 0 \\(TESTA\\)"),
          std::string("MODULO 1: 16IN, INDIRIZZO 0, VERSIONE FIRMWARE PIC: 23$"),
          std::string("MODULO 2: 8IN, INDIRIZZO 1, VERSIONE FIRMWARE PIC: 22$"),
          std::string("BOBINE GUASTE: CORPO 0, POSIZIONE 4, INDICE 3; CORPO 0, POSIZIONE 7, INDICE 6$"),
          std::string("BOBINE DISABILITATE: CORPO 0, POSIZIONE 6$")})
        EXPECT_TRUE(contiene(t, riga)) << riga << "\n" << t;

    // Every coil's row, with the counter the island holds.
    const sim::Scenario s = sim::defaultScenario();
    for (std::size_t k = 0; k < s.bodies.size(); ++k)
        for (const sim::Coil& c : s.bodies[k].coils) {
            const bool letto = c.index != sim::DisabledIndex && c.diagnosis != 'A';
            const std::string riga = test::rigaAttesa(static_cast<int>(k), c,
                                                      letto ? std::optional(test::colpiAttesi(c.strokes))
                                                            : std::nullopt);
            EXPECT_TRUE(contiene(t, riga)) << riga << "\n" << t;
        }

    // Every font is in the file.
    std::istringstream fonts(test::poppler("pdffonts", {QString::fromStdString(pdf)}));
    int n = 0;
    for (std::string riga; std::getline(fonts, riga);) {
        if (++n <= 2)
            continue;  // the heads
        std::vector<std::string> campi;
        std::istringstream in(riga);
        for (std::string c; in >> c;)
            campi.push_back(c);
        ASSERT_GE(campi.size(), 5u) << riga;
        EXPECT_EQ(campi[campi.size() - 5], "yes") << riga;
    }
    EXPECT_GT(n, 2);
}

TEST(RapportoRiga, ALostLineLeavesNoFileAndAFileThatCannotBeWrittenEndsWithFive)
{
    QTemporaryDir dir;
    sim::Scenario caduta = sim::defaultScenario();
    caduta.faults.dropAtCommand = "LEGGI CONTACOLPI";
    const std::string scenario = dir.filePath("caduta.txt").toStdString();
    std::ofstream(scenario) << sim::formatScenario(caduta);
    {
        Simulatore sim({scenario});
        Programma p("ondrix-configuratore",
                    {"--port", sim.device(), "--report", dir.filePath("isola.pdf").toStdString(), "--counters"},
                    SenzaSchermo);
        EXPECT_EQ(p.attendi(), 3) << p.err();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"caduta.txt"});

    // A folder that is not there; a pipe, which a file must not replace.
    const std::string altrove = dir.filePath("nessuna/isola.pdf").toStdString();
    const std::string tubo = dir.filePath("tubo").toStdString();
    ASSERT_EQ(::mkfifo(tubo.c_str(), 0644), 0);
    Simulatore sim({});
    for (const std::string& file : {altrove, tubo}) {
        Programma p("ondrix-configuratore", {"--port", sim.device(), "--report", file, "--quiet"}, SenzaSchermo);
        EXPECT_EQ(p.attendi(), 5);
        EXPECT_NE(p.err().find("IMPOSSIBILE SCRIVERE IL RAPPORTO " + file + ": "), std::string::npos) << p.err();
    }
    struct stat st {};
    ASSERT_EQ(::stat(tubo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
} // namespace ondrix
