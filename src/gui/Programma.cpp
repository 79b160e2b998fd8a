#include "gui/Programma.h"

#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace ondrix {

namespace {

bool saveWindow(MainWindow& w, const std::string& file)
{
    w.repaint();
    const QImage img = w.grab().toImage();
    return !img.isNull() && img.save(QFile::decodeName(QByteArray::fromStdString(file)), "PNG");
}

} // namespace

int runConfigurator(QApplication& app, QtHost& host, SerialPort& port, const RunOptions& options)
{
    // The toolkit's own words (the Yes and No of a question, the file
    // dialog) in the user's language when Qt has them.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    Configuratore c(host, port);
    MainWindow w(c);
    host.setWindow(&w);

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
