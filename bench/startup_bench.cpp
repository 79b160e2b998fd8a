// Start-up of the default island over the simulator paced at 9600 baud, on
// the real monotonic clock.
//   startup_s:             wall time of the start-up (activation to the end)
//   startup_wire_bound_s:  characters the island sent / 960 + exchanges
//                          (link check included) x Ritardo: what the line and
//                          the settling pauses alone cost
//   startup_ratio:         the first over the second
//   startup_exchanges, startup_chars: the two counts behind the bound

#include "Conteggio.h"
#include "channel/CoreHost.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>

using namespace ondrix;

using bench::CountingPort;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CoreHost host;
    sim::Scenario s = sim::defaultScenario();
    s.faults.pace = true;
    sim::SimulatedIsland island(s);
    sim::SimulatedPort simPort(island, host);
    CountingPort port(simPort);
    Configuratore c(host, port);

    eventoLoad(c);
    const std::int64_t t0 = host.nowUs();
    eventoActivate(c);
    const std::int64_t t1 = host.nowUs();

    // The tail of the last reply is on its way when the start-up ends: it was
    // sent all the same.
    std::int64_t caratteri = port.letti;
    if (auto ultimo = simPort.nextArrivalUs())
        host.waitForEvent(*ultimo + 1);
    caratteri += simPort.inputCount();

    const double startup = static_cast<double>(t1 - t0) / 1e6;
    const long scambi = c.ch.exchanges();
    const double bound = static_cast<double>(caratteri) / sim::SimulatedIsland::CharsPerSecond +
                         static_cast<double>(scambi) * static_cast<double>(c.m.testi.Ritardo);
    std::printf("startup_s: %.3f\n", startup);
    std::printf("startup_wire_bound_s: %.3f\n", bound);
    std::printf("startup_ratio: %.3f\n", startup / bound);
    std::printf("startup_exchanges: %ld\n", scambi);
    std::printf("startup_chars: %lld\n", static_cast<long long>(caratteri));
    if (c.m.NumEspansioni != 2 || !island.protocolErrors().empty()) {
        std::fprintf(stderr, "start-up did not read the default island\n");
        return 1;
    }
    return 0;
}
