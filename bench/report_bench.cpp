// The service report.
//   report_write_ms:            the PDF of an island read from the simulator
//                               (16 bodies, 256 coils, counters for the 32
//                               with an index) from the model to the file;
//                               median of 7 runs
//   report_counters_wire_ratio: the time to read every counter of the
//                               default island paced at 9600 baud, over its
//                               wire bound: the characters the island sent
//                               / 960 + exchanges x Ritardo
//   report_counters_wire_ratio_pty: the same through Qt SerialPort against
//                               ondrix-simulatore --pace on a pseudo-terminal
//   report_counters_s, report_counters_exchanges: behind the first ratio

#include "Conteggio.h"
#include "Simulatore.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "gui/Programma.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "report/Contacolpi.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ondrix;

namespace {

sim::Scenario sediciCorpi()
{
    sim::Scenario s;
    for (int k = 0; k < 16; ++k) {
        sim::Body b{k, 8, 47, {}};
        for (int p = 1; p <= 16; ++p) {
            const int n = k * 16 + p - 1;
            sim::Coil c;
            c.position = p;
            c.index = n < 32 ? n : sim::DisabledIndex;
            c.diagnosis = n % 11 == 3 ? 'C' : 'P';
            c.relax = n % 3 == 0;
            c.strokes = 1000LL * (n * 37 % 997);
            b.coils.push_back(c);
        }
        s.bodies.push_back(b);
    }
    s.modules = sim::defaultScenario().modules;
    return s;
}

double scritturaMs(CoreHost& host, const ScriviRapporto& scrivi)
{
    sim::SimulatedIsland island(sediciCorpi());
    sim::SimulatedPort port(island, host);
    Configuratore c(host, port);
    c.m.testi.Ritardo = 0;
    eventoLoad(c);
    eventoActivate(c);
    // No settling pause for the counters: only the writing is timed.
    c.m.testi.Ritardo = 0;
    const Contacolpi colpi = LeggiContacolpiIsola(c.ch, c.m);
    if (c.m.TotaleBobine != 256 || colpi.size() != 32) {
        std::fprintf(stderr, "the 16-body island was not read whole\n");
        return -1;
    }
    QTemporaryDir dir;
    const std::string file = dir.filePath("rapporto.pdf").toStdString();
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        const std::int64_t t0 = host.nowUs();
        const Rapporto r = componiRapporto(c.m, c.f, &colpi, dataOraAdesso(), host.groupSeparator());
        if (scrivi(r, file))
            return -1;
        ms.push_back(static_cast<double>(host.nowUs() - t0) / 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

struct Lettura {
    double secondi = 0, limite = 0;
    long scambi = 0;
};

// The counters of the island behind port, after the start-up; the
// characters counted are those of the counters alone.
Lettura contatori(CoreHost& host, SerialPort& fisica)
{
    bench::Counts conteggi;
    bench::CountingPort port(fisica, conteggi);
    Configuratore c(host, port);
    eventoLoad(c);
    eventoActivate(c);
    // The start-up's last line end still on its way belongs to the start-up.
    host.waitForEvent(host.nowUs() + 100'000);
    const std::int64_t prima = conteggi.chars + port.inputCount();
    const long scambiPrima = c.ch.exchanges();
    const std::int64_t t0 = host.nowUs();
    const Contacolpi colpi = LeggiContacolpiIsola(c.ch, c.m);
    const std::int64_t t1 = host.nowUs();
    host.waitForEvent(host.nowUs() + 100'000);
    const std::int64_t caratteri = conteggi.chars + port.inputCount() - prima;
    Lettura l;
    l.secondi = static_cast<double>(t1 - t0) / 1e6;
    l.scambi = c.ch.exchanges() - scambiPrima;
    l.limite = static_cast<double>(caratteri) / sim::SimulatedIsland::CharsPerSecond +
               static_cast<double>(l.scambi) * static_cast<double>(c.m.testi.Ritardo);
    if (colpi.size() != 20)
        std::fprintf(stderr, "%zu counters read, 20 expected\n", colpi.size());
    return l;
}

} // namespace

int main(int argc, char** argv)
{
    const auto app = applicazioneSenzaFinestra(argc, argv, true);
    CoreHost host;

    const double ms = scritturaMs(host, scriviRapportoPdf());
    std::printf("report_write_ms: %.1f\n", ms);

    sim::Scenario s = sim::defaultScenario();
    s.faults.pace = true;
    sim::SimulatedIsland island(s);
    sim::SimulatedPort simulata(island, host);
    const Lettura l = contatori(host, simulata);
    std::printf("report_counters_wire_ratio: %.3f\n", l.secondi / l.limite);
    std::printf("report_counters_s: %.3f\n", l.secondi);
    std::printf("report_counters_exchanges: %ld\n", l.scambi);

    bench::Simulatore pty({"--pace", "--tail-delay", "2"});  // the line end two characters later, as at 9600 baud
    if (pty.device().empty()) {
        std::fprintf(stderr, "ondrix-simulatore did not start\n");
        return 1;
    }
    QtSerialPort reale([&](int n) { return n == 1 ? pty.device() : std::string(); });
    const Lettura p = contatori(host, reale);
    std::printf("report_counters_wire_ratio_pty: %.3f\n", p.secondi / p.limite);
    return ms < 0 ? 1 : 0;
}
