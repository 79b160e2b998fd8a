// ondrix-configuratore: finds the island on serial ports 1 to 16 (or on the
// port named) and shows it; with a mode, does its work without a window.
// Reads nothing but its command line and "Stringhe.txt" beside the program.

#include "channel/Dispositivi.h"
#include "channel/QtSerialPort.h"
#include "channel/Traccia.h"
#include "gui/Programma.h"
#include "gui/QtHost.h"
#include "program/RigaComando.h"
#include "program/SenzaFinestra.h"

#include <QApplication>

#include <memory>

#include <cstdio>
#include <string>
#include <vector>

using namespace ondrix;

int main(int argc, char** argv)
{
    const Opzioni o = leggiOpzioni(std::vector<std::string>(argv + 1, argv + argc), false);
    if (const auto fine = rispostaImmediata(o, "ondrix-configuratore", usoConfiguratore()))
        return *fine;

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

    // The wire trace, when asked for, wraps the port (and the search's probes).
    std::shared_ptr<Traccia> traccia;
    if (!o.traccia.empty()) {
        traccia = std::make_shared<Traccia>(o.traccia);
        if (!traccia->ok()) {
            std::fprintf(stderr, "ondrix-configuratore: cannot write the trace %s\n", o.traccia.c_str());
            return uscita::File;
        }
        traccia->commento("ondrix-configuratore " + std::string(o.porta ? "--port " + *o.porta : "port search"));
    }
    const auto avvolgi = [&](SerialPort& p) -> std::unique_ptr<SerialPort> {
        return traccia ? std::make_unique<TracedPort>(p, traccia) : nullptr;
    };

    if (o.modo != Opzioni::Modo::Finestra) {
        const auto app = applicazioneSenzaFinestra(argc, argv, o.modo == Opzioni::Modo::Rapporto);
        HostRiga host(o.si);
        QtSerialPort port(resolver);
        const auto tracciata = avvolgi(port);
        return eseguiSenzaFinestra(o, host, tracciata ? *tracciata : port, run.porte, scriviRapportoPdf());
    }

    if (!preparaSchermo("ondrix-configuratore"))
        return uscita::Schermo;
    QApplication app(argc, argv);
    schermoPronto();
    QtHost host;
    QtSerialPort port(resolver);
    const auto tracciata = avvolgi(port);
    return runConfigurator(app, host, tracciata ? *tracciata : port, run);
}
