// ondrix-configuratore: finds the island on serial ports 1 to 16 (or on the
// port named) and shows it; with a mode, does its work without a window.
// Reads nothing but its command line and "Stringhe.txt" beside the program.

#include "channel/Porte.h"
#include "channel/QtSerialPort.h"
#include "gui/Programma.h"
#include "gui/QtHost.h"
#include "program/RigaComando.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

using namespace ondrix;

int main(int argc, char** argv)
{
    const Opzioni o = leggiOpzioni(std::vector<std::string>(argv + 1, argv + argc), false);
    if (!o.errore.empty()) {
        std::fprintf(stderr, "ondrix-configuratore: %s\n\n%s", o.errore.c_str(), usoConfiguratore().c_str());
        return uscita::Uso;
    }
    if (o.aiuto) {
        std::fputs(usoConfiguratore().c_str(), stdout);
        return uscita::Fatto;
    }
    if (o.versione) {
        std::fputs(versione("ondrix-configuratore").c_str(), stdout);
        return uscita::Fatto;
    }

    RunOptions run;
    QtSerialPort::Resolver resolver = dispositivoPorta;
    if (o.porta) {
        const auto p = portaNominata(*o.porta);
        if (!p) {
            std::fprintf(stderr, "ondrix-configuratore: --port %s: not a port 1..16 or a device\n",
                         o.porta->c_str());
            return uscita::Uso;
        }
        run.porte = {p->numero};
        if (!p->dispositivo.empty())
            resolver = [d = p->dispositivo](int n) { return n == PrimaPorta ? d : std::string(); };
    }

    if (!preparaSchermo("ondrix-configuratore"))
        return uscita::Schermo;
    QApplication app(argc, argv);
    schermoPronto();
    QtHost host;
    QtSerialPort port(resolver);
    return runConfigurator(app, host, port, run);
}
