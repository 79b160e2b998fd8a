// Start-up of the default island paced at 9600 baud, on the real monotonic
// clock: in process, and over a pseudo-terminal with ondrix-simulatore behind
// Qt SerialPort, with its reply tail (the final CR LF 50 ms after the rest) and
// without it.
//   startup_s:             wall time of the start-up (activation to the end),
//                          in process
//   startup_wire_bound_s:  characters the island sent / 960 + exchanges
//                          (link check included) x Ritardo: what the line and
//                          the settling pauses alone cost
//   startup_ratio:         the first over the second
//   startup_exchanges, startup_chars: the two counts behind the bound
//   startup_pty_s, startup_pty_ratio: the same over the pseudo-terminal
//   startup_pty_tail0_s, startup_pty_tail0_ratio: ... with --tail-delay 0

#include "Conteggio.h"
#include "Simulatore.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace ondrix;

using bench::Counts;
using bench::CountingPort;

namespace {

struct Figures {
    double startupS = 0;
    double boundS = 0;
    Counts counts;
};

// The start-up on the given port; false when it did not read the default
// island.
bool startUp(CoreHost& host, SerialPort& port, Figures& f)
{
    CountingPort counted(port, f.counts);
    Configuratore c(host, counted);
    eventoLoad(c);
    const std::int64_t t0 = host.nowUs();
    eventoActivate(c);
    const std::int64_t t1 = host.nowUs();

    // The tail of the last reply is on its way when the start-up ends: it was
    // sent all the same.
    const std::int64_t tailUntil = host.nowUs() + 100'000;
    while (host.nowUs() < tailUntil)
        host.waitForEvent(tailUntil);
    if (counted.inputCount() != 0)
        counted.readAll();

    f.startupS = static_cast<double>(t1 - t0) / 1e6;
    f.boundS = static_cast<double>(f.counts.chars) / sim::SimulatedIsland::CharsPerSecond +
               static_cast<double>(f.counts.lines) * static_cast<double>(c.m.testi.Ritardo);
    return c.m.NumEspansioni == 2;
}

bool overPty(CoreHost& host, std::vector<std::string> args, Figures& f)
{
    args.insert(args.begin(), "--pace");
    bench::Simulatore island(args);
    if (island.device().empty())
        return false;
    QtSerialPort port([&](int n) { return n == 1 ? island.device() : std::string(); });
    return startUp(host, port, f);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CoreHost host;

    Figures local;
    sim::Scenario s = sim::defaultScenario();
    s.faults.pace = true;
    sim::SimulatedIsland island(s);
    sim::SimulatedPort simPort(island, host);
    if (!startUp(host, simPort, local) || !island.protocolErrors().empty()) {
        std::fprintf(stderr, "start-up did not read the default island\n");
        return 1;
    }
    std::printf("startup_s: %.3f\n", local.startupS);
    std::printf("startup_wire_bound_s: %.3f\n", local.boundS);
    std::printf("startup_ratio: %.3f\n", local.startupS / local.boundS);
    std::printf("startup_exchanges: %ld\n", local.counts.lines);
    std::printf("startup_chars: %lld\n", static_cast<long long>(local.counts.chars));

    Figures pty, tail0;
    if (!overPty(host, {}, pty) || !overPty(host, {"--tail-delay", "0"}, tail0)) {
        std::fprintf(stderr, "start-up over the pseudo-terminal did not read the default island\n");
        return 1;
    }
    std::printf("startup_pty_s: %.3f\n", pty.startupS);
    std::printf("startup_pty_ratio: %.3f\n", pty.startupS / pty.boundS);
    std::printf("startup_pty_tail0_s: %.3f\n", tail0.startupS);
    std::printf("startup_pty_tail0_ratio: %.3f\n", tail0.startupS / tail0.boundS);
    return 0;
}
