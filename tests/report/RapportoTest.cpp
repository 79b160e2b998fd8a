// The service report's content on the simulated island: which counters are
// read, the window's report (Ctrl+P, the context menu) as one dialogue, and
// the words of the resource file's language.

#include "program/Eventi.h"
#include "report/Comando.h"
#include "report/Contacolpi.h"
#include "report/Rapporto.h"
#include "support/IslandRig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Linee = std::vector<std::string>;
const std::string Trattino = "\xE2\x80\x93";
constexpr int Colpi = 5;  // the strokes' column of a coil's row

TEST(RapportoContacolpi, PresentEnabledCoilsOfBodiesThatCountAndNoNumberIsNoFigure)
{
    sim::Scenario s = sim::defaultScenario();
    s.bodies[1].rev = 34;                  // the expansion keeps no counters
    s.bodies[0].coils[7].diagnosis = 'A';  // position 8 absent
    IslandRig rig(s);
    rig.ready();
    const Contacolpi colpi = LeggiContacolpiIsola(rig.c.ch, rig.c.m);
    Linee attese;
    for (int pos : {1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 14})  // not the disabled 6, the absent 8
        attese.insert(attese.end(), {"LEGGI CONTACOLPI", "0", std::to_string(pos)});
    EXPECT_EQ(rig.taken(), attese);
    rig.expectCleanDialogues();

    const Rapporto r = componiRapporto(rig.c.m, rig.c.f, &colpi, "", ".");
    EXPECT_EQ(r.corpi[0].bobine[2].riga[Colpi], "125.000");
    EXPECT_EQ(r.corpi[0].bobine[3].riga[Colpi], "148.000");  // faulty, still counted
    for (const BobinaRapporto* b : {&r.corpi[0].bobine[5], &r.corpi[0].bobine[7], &r.corpi[1].bobine[0]})
        EXPECT_EQ(b->riga[Colpi], Trattino);

    rig.island.overrideReply("LEGGI CONTACOLPI", "12\r\nOK\r\n");
    EXPECT_TRUE(LeggiContacolpiIsola(rig.c.ch, rig.c.m).empty());
}

TEST(RapportoFinestra, CountersInAdministratorModeAsOneDialogueUnderTheBusyPointer)
{
    IslandRig rig;
    rig.ready();
    std::vector<Rapporto> scritti;
    std::optional<std::string> errore;
    const ScriviRapporto scrivi = [&](const Rapporto& r, const std::string& file) {
        EXPECT_EQ(file, "isola.pdf");
        scritti.push_back(r);
        return errore;
    };

    rig.host.fileAnswers = {"isola.pdf"};
    eventoRapporto(rig.c, scrivi);
    ASSERT_EQ(rig.host.fileDialogs.size(), 1u);
    EXPECT_EQ(rig.host.fileDialogs[0].defaultExt, ".pdf");
    EXPECT_EQ(rig.host.fileDialogs[0].filterPattern, "*.pdf");
    EXPECT_TRUE(rig.taken().empty()) << "no counter outside administrator mode";
    ASSERT_EQ(scritti.size(), 1u);
    EXPECT_EQ(scritti[0].corpi[0].bobine[2].riga[Colpi], Trattino);
    EXPECT_EQ(rig.host.messages.back().text, rig.c.m.testi.Messaggi(msg::Successo));

    // In administrator mode the counters are read; a click and a second
    // report meanwhile are dropped, as during any dialogue.
    rig.c.f.TxtColpi.setVisible(true);
    bool occupato = false;
    rig.port.onLine = [&](const std::string& riga) {
        if (riga != "LEGGI CONTACOLPI" || occupato)
            return;
        occupato = rig.host.busyPointer;
        rig.host.soon([&] {
            rig.click(rig.bobina(1));
            eventoRapporto(rig.c, scrivi);
        });
    };
    rig.host.fileAnswers = {"isola.pdf"};
    eventoRapporto(rig.c, scrivi);
    EXPECT_TRUE(occupato);
    EXPECT_FALSE(rig.host.busyPointer);
    EXPECT_EQ(rig.host.fileDialogs.size(), 2u);
    ASSERT_EQ(scritti.size(), 2u);
    EXPECT_EQ(scritti[1].corpi[0].bobine[2].riga[Colpi], "125,000");
    const Linee righe = rig.taken();
    EXPECT_EQ(righe.size(), 3u * 20) << "20 present, enabled coils";
    for (std::size_t i = 0; i < righe.size(); i += 3)
        EXPECT_EQ(righe[i], "LEGGI CONTACOLPI");
    rig.expectCleanDialogues();

    // A file that cannot be written: its name and the reason.
    rig.c.f.TxtColpi.setVisible(false);
    errore = "disco pieno";
    rig.host.fileAnswers = {"isola.pdf"};
    eventoRapporto(rig.c, scrivi);
    EXPECT_EQ(rig.host.messages.back().text, "IMPOSSIBILE SCRIVERE IL RAPPORTO isola.pdf: disco pieno");
}

TEST(RapportoTesti, TheEnglishFileGivesAnEnglishReportWithOrWithoutTheReportsKeys)
{
    QFile inglese(QStringLiteral(ONDRIX_SOURCE_DIR "/resources/Stringhe-en.txt"));
    ASSERT_TRUE(inglese.open(QIODevice::ReadOnly));
    const QByteArray completo = inglese.readAll();
    // The same file without the report's entries, as made for an earlier version.
    QByteArray vecchio;
    const QList<QByteArray> righe = completo.split('\n');
    for (qsizetype i = 0; i < righe.size(); ++i) {
        if (righe[i].contains("RAPPORTO")) {
            ++i;  // and its value
            continue;
        }
        vecchio += righe[i] + (i + 1 < righe.size() ? "\n" : "");
    }
    ASSERT_LT(vecchio.size(), completo.size());

    for (const QByteArray& testo : {completo, vecchio}) {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("Stringhe.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(testo);
        f.close();
        IslandRig rig;
        rig.host.dir = dir.path().toStdString();
        rig.startUp();
        ASSERT_TRUE(rig.host.messages.empty());
        const Rapporto r = componiRapporto(rig.c.m, rig.c.f, nullptr, "", ",");
        EXPECT_EQ(rig.c.m.testi.rapporto.Menu, "Service report…");
        EXPECT_EQ(r.titolo, "SERVICE REPORT");
        EXPECT_EQ(r.colonne, (Linee{"BODY", "POSITION", "INDEX", "STATE", "RELAX", "STROKES"}));
        EXPECT_EQ(r.corpi[0].titolo, "BODY 0 (HEAD)");
        EXPECT_EQ(r.corpi[0].bobine[0].riga, (Linee{"0", "1", "0", "COIL PRESENT, NOT ENERGISED", "YES", Trattino}));
        EXPECT_EQ(r.intestazione[1].etichetta, "DATE AND TIME:");
        EXPECT_EQ(r.intestazione[4].etichetta, "TERMINATION:");
        EXPECT_EQ(r.moduli[0].titolo, "MODULE 1: 16IN, ADDRESS 0, PIC FIRMWARE VERSION: 23");
        ASSERT_EQ(r.avvisi.size(), 2u);
        EXPECT_EQ(r.avvisi[0], "FAULTY COILS: BODY 0, POSITION 4, INDEX 3; BODY 0, POSITION 7, INDEX 6");
        EXPECT_EQ(r.avvisi[1], "DISABLED COILS: BODY 0, POSITION 6");
        EXPECT_EQ(r.pagina, "PAGE {N} OF {TOT}");
    }
}

} // namespace
} // namespace ondrix
