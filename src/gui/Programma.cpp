#include "gui/Programma.h"

#include "channel/EndRequest.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "program/RigaComando.h"
#include "gui/Caratteri.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"
#include "pdf/Pdf.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace ondrix {

namespace {

bool saveWindow(MainWindow& w, const std::string& file)
{
    w.repaint();
    const QImage img = w.grab().toImage();
    return !img.isNull() && img.save(QFile::decodeName(QByteArray::fromStdString(file)), "PNG");
}

const char* programmaSchermo = "";

void soloFatale(QtMsgType tipo, const QMessageLogContext&, const QString& testo)
{
    if (tipo != QtFatalMsg)
        return;
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray perche = display.isEmpty()
                                  ? testo.section(QLatin1Char('\n'), 0, 0).toLocal8Bit()
                                  : "the display " + display + " cannot be reached";
    std::fprintf(stderr, "%s: no display: the window cannot open (%s)\n", programmaSchermo,
                 perche.constData());
    std::fflush(stderr);
    std::_Exit(uscita::Schermo);
}

} // namespace

bool preparaSchermo(const char* programma)
{
    programmaSchermo = programma;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // A platform chosen by hand (offscreen, a virtual one) needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "%s: no display: the window cannot open (neither DISPLAY nor WAYLAND_DISPLAY "
                     "is set)\n",
                     programma);
        return false;
    }
#endif
    qInstallMessageHandler(soloFatale);
    return true;
}

void schermoPronto() { qInstallMessageHandler(nullptr); }

std::unique_ptr<QCoreApplication> applicazioneSenzaFinestra(int& argc, char** argv, bool rapporto)
{
    if (!rapporto)
        return std::make_unique<QCoreApplication>(argc, argv);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // The platform's start-up notes (no runtime folder for a service run by
    // root, say) are no business of a production line's log.
    static QtMessageHandler prima = nullptr;
    prima = qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext& dove, const QString& testo) {
        if (tipo == QtFatalMsg && prima)
            prima(tipo, dove, testo);
    });
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    caricaCaratteriFinestra();  // the report is set in the window's font
    qInstallMessageHandler(prima);
    return app;
}

ScriviRapporto scriviRapportoPdf()
{
    return [](const Rapporto& r, const std::string& file) { return scriviPdf(r, file); };
}

int runConfigurator(QApplication& app, QtHost& host, SerialPort& port, const RunOptions& options)
{
    // The toolkit's own words (the Yes and No of a question, the file
    // dialog) in the user's language when Qt has them.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    Configuratore c(host, port);
    if (!options.porte.empty())
        c.porteRicerca = options.porte;
    MainWindow w(c);
    host.setWindow(&w);
    const Registration richiestaFine = listenForEndRequests([&c] { eventoRichiestaFine(c); });

    eventoLoad(c);
    w.show();
    // Activation once the window is on screen: the start-up runs inside it.
    QTimer::singleShot(0, &w, [&] {
        eventoActivate(c);
        if (options.screenshot.empty())
            return;
        // Let the last changes of the start-up reach the screen first.
        QTimer::singleShot(300, &w, [&] {
            const bool ok = saveWindow(w, options.screenshot);
            if (!ok)
                std::fprintf(stderr, "cannot save the picture of the window to %s\n",
                             options.screenshot.c_str());
            app.exit(ok ? 0 : 1);
        });
    });
    const int status = app.exec();
    host.setWindow(nullptr);
    return status;
}

} // namespace ondrix
