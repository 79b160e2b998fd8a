// The report's pages as its reader sees them, rendered and read back by
// poppler's tools: every coil in its colour where it is drawn, and an island
// as large as the tables allow complete.

#include "pdf/Pdf.h"
#include "report/Contacolpi.h"
#include "report/Rapporto.h"
#include "support/IslandRig.h"
#include "support/Poppler.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

void applicazione()
{
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_pdf";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

// Page pagina (1 the first) of the file, rendered at dpi.
QImage pagina(const std::string& file, int n, int dpi)
{
    const QString png = QString::fromStdString(file) + "-pagina";
    test::poppler("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(n), "-l", QString::number(n), "-png",
                               "-singlefile", QString::fromStdString(file), png});
    QImage img(png + ".png");
    QFile::remove(png + ".png");
    return img;
}

TEST(RapportoPdf, EveryCoilIsDrawnInItsStateColourAndATerminatedBusRed)
{
    applicazione();
    sim::Scenario s = sim::defaultScenario();
    s.termination = true;
    s.bodies[1].coils[5].diagnosis = 'A';
    IslandRig rig(s);
    rig.startUp();
    QTemporaryDir dir;
    const std::string file = dir.filePath("colori.pdf").toStdString();
    Impaginazione imp;
    ASSERT_EQ(scriviPdf(componiRapporto(rig.c.m, rig.c.f, nullptr, "", ","), file, &imp), std::nullopt);

    constexpr int Dpi = 150;
    const QImage img = pagina(file, 1, Dpi);
    ASSERT_FALSE(img.isNull());
    // Inside the square, clear of its outline and of the index in its middle.
    const auto colore = [&](const Posto& p, double fx, double fy) {
        const QColor c = img.pixelColor(qRound((p.x + fx * p.larghezza) * Dpi / 25.4),
                                        qRound((p.y + fy * p.altezza) * Dpi / 25.4));
        return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
    };
    ASSERT_EQ(imp.bobine.size(), s.bodies.size());
    for (std::size_t k = 0; k < s.bodies.size(); ++k) {
        ASSERT_EQ(imp.bobine[k].size(), s.bodies[k].coils.size());
        for (std::size_t j = 0; j < s.bodies[k].coils.size(); ++j) {
            const Posto& p = imp.bobine[k][j];
            SCOPED_TRACE("body " + std::to_string(k) + " coil " + std::to_string(j));
            EXPECT_EQ(p.pagina, 0);
            EXPECT_EQ(colore(p, 0.18, 0.18), test::coloreAtteso(s.bodies[k].coils[j]));
        }
    }
    EXPECT_EQ(imp.connettoreFieldbus.pagina, 0);
    EXPECT_EQ(colore(imp.connettoreFieldbus, 0.5, 0.5), (Rgb{255, 0, 0}));
}

TEST(RapportoPdf, SixteenBodiesOf256CoilsAreCompleteTheIslandOnPageOne)
{
    applicazione();
    sim::Scenario s;
    for (int k = 0; k < 16; ++k) {
        sim::Body b{k, 8, 47, {}};
        for (int p = 1; p <= 16; ++p) {
            const int n = k * 16 + p - 1;
            sim::Coil c;
            c.position = p;
            c.index = n < 32 ? n : sim::DisabledIndex;
            c.relax = n < 32 && n % 3 == 0;
            c.strokes = 1000LL * (n + 1) * 37;
            b.coils.push_back(c);
        }
        s.bodies.push_back(b);
    }
    IslandRig rig(s);
    rig.startUp();
    ASSERT_EQ(rig.c.m.TotaleBobine, 256);
    const Contacolpi colpi = LeggiContacolpiIsola(rig.c.ch, rig.c.m);
    QTemporaryDir dir;
    const std::string file = dir.filePath("sedici.pdf").toStdString();
    Impaginazione imp;
    ASSERT_EQ(scriviPdf(componiRapporto(rig.c.m, rig.c.f, &colpi, "", QLocale::system().groupSeparator().toStdString()),
                        file, &imp),
              std::nullopt);

    const std::string t = test::testoPdf(file);
    for (std::size_t k = 0; k < s.bodies.size(); ++k)
        for (std::size_t j = 0; j < s.bodies[k].coils.size(); ++j) {
            const sim::Coil& c = s.bodies[k].coils[j];
            const auto letto = c.index == sim::DisabledIndex ? std::nullopt : std::optional(test::colpiAttesi(c.strokes));
            const std::string riga = test::rigaAttesa(static_cast<int>(k), c, letto);
            EXPECT_TRUE(test::contiene(t, riga)) << riga;
            EXPECT_EQ(imp.bobine[k][j].pagina, 0) << k << "/" << j;
        }
    const std::string ultima = std::to_string(imp.pagine);
    EXPECT_TRUE(test::contiene(t, "PAGINA " + ultima + " DI " + ultima + "$")) << t;
}

} // namespace
} // namespace ondrix
