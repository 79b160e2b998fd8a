// ondrix-configuratore-demo: the configurator's window on the built-in
// simulated island, in real time.
//
//   ondrix-configuratore-demo [--screenshot FILE.png | --report FILE.pdf [--counters]]
//                             [SCENARIO-FILE]
//
// Without a scenario file the demo island is used. With --screenshot the
// window is saved as a PNG once the start-up is over and the program ends;
// with --report the island's service report is written, without a window.

#include "gui/Programma.h"
#include "gui/QtHost.h"
#include "program/RigaComando.h"
#include "program/SenzaFinestra.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

using namespace ondrix;

int main(int argc, char** argv)
{
    const Opzioni o = leggiOpzioni(std::vector<std::string>(argv + 1, argv + argc), true);
    if (const auto fine = rispostaImmediata(o, "ondrix-configuratore-demo", usoDemo()))
        return *fine;

    sim::Scenario scenario;
    try {
        scenario = o.scenario ? sim::loadScenario(*o.scenario) : sim::demoScenario();
    } catch (const sim::ScenarioError& e) {
        std::fprintf(stderr, "ondrix-configuratore-demo: %s\n", e.what());
        return uscita::Uso;
    }

    if (o.modo == Opzioni::Modo::Rapporto) {
        const auto app = applicazioneSenzaFinestra(argc, argv, true);
        HostRiga host(false);
        sim::SimulatedIsland island(std::move(scenario));
        sim::SimulatedPort port(island, host);
        Opzioni quiet = o;
        quiet.silenzioso = true;
        return eseguiSenzaFinestra(quiet, host, port, {}, scriviRapportoPdf());
    }

    if (!preparaSchermo("ondrix-configuratore-demo"))
        return uscita::Schermo;
    QApplication app(argc, argv);
    schermoPronto();
    RunOptions run;
    run.screenshot = o.screenshot;
    QtHost host;
    sim::SimulatedIsland island(std::move(scenario));
    sim::SimulatedPort port(island, host);
    return runConfigurator(app, host, port, run);
}
