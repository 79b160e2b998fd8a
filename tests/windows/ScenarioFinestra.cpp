// The configurator's window on a real serial line, driven in-process as a
// technician would drive it, for the Windows checks (check-wine.sh): the same
// scenario runs under Wine on a COM port and from the Linux build on a
// pseudo-terminal, and the two runs are compared (the lines the island
// received, the saved file, the picture of the window).
//
//   window_scenario [--port DEVICE] [--idle] OUTDIR
//
// Without --port the ports are searched as the program does. The start-up,
// then a picture of the window (OUTDIR/finestra.png, and in software.txt the
// rectangle of the caption that names the port, which differs by platform);
// a coil energised, another disabled and enabled again; the island saved to
// OUTDIR/salvata.txt and that file loaded; the exit button. Each step is
// checked on the window; a step that goes wrong ends the program with status
// 1 after a line on standard error. With --idle the window stays as it is
// after the start-up, until the line goes.

#include "channel/Dispositivi.h"
#include "channel/QtSerialPort.h"
#include "form/Colore.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace ondrix;

namespace {

// The user's side of the dialogs: file dialogs and input boxes answered as
// set, every message written to standard error and acknowledged.
class Utente : public QtHost {
public:
    std::string file;
    std::string risposta;
    std::string ultimoMessaggio;

    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageButtons b) override
    {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        ultimoMessaggio = text;
        return b == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override
    {
        return risposta;
    }
    bool fileDialog(const FileDialogRequest&, std::string& nome) override
    {
        nome = file;
        return true;
    }
};

[[noreturn]] void fallito(const std::string& perche)
{
    std::fprintf(stderr, "window_scenario: %s\n", perche.c_str());
    std::exit(1);
}

void verifica(bool ok, const std::string& cosa)
{
    if (!ok)
        fallito(cosa);
}

// Presses and releases the left button at the control's centre, on whatever
// widget takes the mouse there.
void clic(MainWindow& w, const Control& ctl)
{
    QWidget* cw = w.widget(ctl);
    const QPoint inWindow = cw->mapTo(&w, cw->rect().center());
    QWidget* sotto = w.childAt(inWindow);
    verifica(sotto != nullptr, "nothing to click at " + ctl.name());
    QTest::mouseClick(sotto, Qt::LeftButton, Qt::NoModifier, sotto->mapFrom(&w, inWindow));
}

// The window's events for a moment, so that the last changes reach the screen.
void attendi(int ms)
{
    const QDeadlineTimer fine(ms);
    while (!fine.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The first coil button of the body shown in the given colour.
Control& bobina(Configuratore& c, Rgb colore, const Control* salvo = nullptr)
{
    for (Control* b : c.f.Bobina)
        if (b->visible() && b->backColor() == colore && b != salvo)
            return *b;
    fallito("no coil of the colour sought");
}

void coloreAtteso(MainWindow& w, const Control& b, Rgb colore, const std::string& passo)
{
    verifica(b.backColor() == colore, passo + ": the coil's colour in the window's controls");
    w.repaint();
    QWidget* bw = w.widget(b);
    const QColor visto = w.grab().toImage().pixelColor(bw->mapTo(&w, QPoint(bw->width() / 2, bw->height() - 5)));
    verifica(visto == QColor(colore.r, colore.g, colore.b), passo + ": the coil's colour on screen");
}

void scenario(Configuratore& c, MainWindow& w, Utente& u, const std::string& cartella, bool inattivo)
{
    eventoActivate(c);
    verifica(c.m.NumEspansioni > 0, "the start-up read no island");
    std::printf("caption: %s\n", c.f.Software.caption().c_str());
    attendi(300);
    w.repaint();
    verifica(w.grab().toImage().save(QString::fromStdString(cartella + "/finestra.png"), "PNG"),
             "cannot save the picture of the window");
    {
        const QWidget* s = w.widget(c.f.Software);
        const QRect r(s->mapTo(&w, QPoint(0, 0)), s->size());
        std::ofstream(cartella + "/software.txt") << r.x() << ' ' << r.y() << ' ' << r.width() << ' '
                                                   << r.height() << '\n';
    }
    std::fflush(stdout);
    if (inattivo)
        return;

    // A coil selected and energised: "CLOSE VALVOLA" and the green button.
    Control& accesa = bobina(c, colore::Arancio);
    clic(w, accesa);
    clic(w, c.f.CmdAziona);
    coloreAtteso(w, accesa, colore::Verde, "energised");

    // Another coil disabled, then enabled again with its index.
    Control& spenta = bobina(c, colore::Arancio, &accesa);
    const std::string indice = spenta.caption();
    clic(w, spenta);
    clic(w, c.f.CmdAbilita);
    coloreAtteso(w, spenta, colore::GialloPallido, "disabled");
    u.risposta = indice;
    clic(w, c.f.CmdAbilita);
    coloreAtteso(w, spenta, colore::Arancio, "enabled again");
    verifica(spenta.caption() == indice, "enabled again: the coil's index");

    // Saved, and the file loaded back.
    u.file = cartella + "/salvata.txt";
    u.ultimoMessaggio.clear();
    clic(w, c.f.CmdSalva);
    verifica(u.ultimoMessaggio == c.m.testi.Messaggi(msg::Successo), "the save did not succeed");
    u.ultimoMessaggio.clear();
    clic(w, c.f.CmdCarica);
    verifica(u.ultimoMessaggio == c.m.testi.Messaggi(msg::Successo), "the load did not succeed");

    // The exit button leaves service mode and ends the program.
    clic(w, c.f.CmdEsci);
    fallito("the program did not end at the exit button");
}

} // namespace

int main(int argc, char** argv)
{
    std::string porta, cartella;
    bool inattivo = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--port" && i + 1 < argc)
            porta = argv[++i];
        else if (a == "--idle")
            inattivo = true;
        else
            cartella = a;
    }
    if (cartella.empty()) {
        std::fprintf(stderr, "usage: window_scenario [--port DEVICE] [--idle] OUTDIR\n");
        return 2;
    }

    QApplication app(argc, argv);
    Utente utente;
    QtSerialPort::Resolver dispositivo = dispositivoPorta;
    if (!porta.empty())
        dispositivo = [porta](int n) { return n == 1 ? porta : std::string(); };
    QtSerialPort port(dispositivo);
    Configuratore c(utente, port);
    if (!porta.empty())
        c.porteRicerca = {1};
    MainWindow w(c);
    utente.setWindow(&w);
    eventoLoad(c);
    w.show();
    QTimer::singleShot(0, &w, [&] { scenario(c, w, utente, cartella, inattivo); });
    return app.exec();
}
