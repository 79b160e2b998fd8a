// The command channel over a pseudo-terminal, through Qt SerialPort and the
// Qt Core host, with an island answering from a thread on the master side.
//   link_check_cpu_share: process CPU time / wall time of a link check on a
//                         silent port (the whole 4 s wait; nothing else runs)
//   reply_latency_ms_median: from the island having written the reply with
//                         the expected text to InviaComando returning, minus
//                         the settling pause; median of 200 exchanges

#include "Simulatore.h"
#include "channel/Channel.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "sim/SimulatedIsland.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace ondrix;

namespace {

using bench::Pty;

double cpuSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

std::int64_t nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CoreHost host;
    ParametriFissi parametri;
    parametri.timeout = "Nessuna risposta dall'isola.\r\nIl programma termina.";
    parametri.pausa = 0.05f;  // the shipped [DELAY] of 50 ms
    parametri.titoloMessaggio = "channel_bench";

    // 1. Link check on a silent port: nothing answers, no thread runs.
    {
        Pty pty;
        QtSerialPort port([&](int) { return pty.slave; });
        if (!port.open()) {
            std::fprintf(stderr, "cannot open %s\n", pty.slave.c_str());
            return 1;
        }
        Channel ch(port, host, parametri);
        const double c0 = cpuSeconds();
        const std::int64_t w0 = nowUs();
        const bool found = ch.ProvaCollegamento();
        const double cpu = cpuSeconds() - c0;
        const double wall = static_cast<double>(nowUs() - w0) / 1e6;
        if (found) {
            std::fprintf(stderr, "a silent port answered\n");
            return 1;
        }
        std::printf("link_check_wall_s: %.3f\n", wall);
        std::printf("link_check_cpu_share: %.4f\n", cpu / wall);
    }

    // 2. Reply latency: the island simulator's engine serves the master side
    // from a thread and notes when each reply carrying "OK" has been written.
    {
        constexpr int N = 200;
        Pty pty;
        std::vector<std::atomic<std::int64_t>> okWritten(N + 1);
        std::atomic<bool> stop{false};
        std::thread server([&] {
            sim::SimulatedIsland island;
            std::string pending;
            int oks = 0;
            while (!stop) {
                pollfd p{pty.master, POLLIN, 0};
                int timeoutMs = 100;
                if (auto next = island.nextArrivalUs())
                    timeoutMs = static_cast<int>(std::clamp<std::int64_t>((*next - nowUs()) / 1000, 0, 100));
                if (::poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN)) {
                    char buf[4096];
                    const ssize_t n = ::read(pty.master, buf, sizeof buf);
                    if (n > 0)
                        island.receive(std::string_view(buf, static_cast<std::size_t>(n)), nowUs());
                }
                pending += island.take(nowUs());
                if (pending.empty())
                    continue;
                if (::write(pty.master, pending.data(), pending.size()) != static_cast<ssize_t>(pending.size()))
                    return;
                if (pending.find("OK") != std::string::npos && oks <= N)
                    okWritten[static_cast<std::size_t>(oks++)].store(nowUs());
                pending.clear();
            }
        });
        QtSerialPort port([&](int) { return pty.slave; });
        if (!port.open()) {
            std::fprintf(stderr, "cannot open %s\n", pty.slave.c_str());
            return 1;
        }
        Channel ch(port, host, parametri);
        if (!ch.ProvaCollegamento()) {
            std::fprintf(stderr, "the simulated island does not answer\n");
            return 1;
        }
        ch.InviaComando("ENTER SV", "OK");
        std::vector<double> ms;
        for (int i = 1; i <= N; ++i) {
            ch.InviaComando("GET DIAGNOSI", "OK");
            const std::int64_t back = nowUs();
            ms.push_back(static_cast<double>(back - okWritten[static_cast<std::size_t>(i)].load()) / 1000.0 -
                         static_cast<double>(parametri.pausa) * 1000.0);
        }
        stop = true;
        server.join();
        std::sort(ms.begin(), ms.end());
        std::printf("reply_latency_ms_median: %.3f\n", ms[ms.size() / 2]);
        std::printf("reply_latency_ms_p90: %.3f\n", ms[ms.size() * 9 / 10]);
        std::printf("reply_latency_ms_max: %.3f\n", ms.back());
    }
    return 0;
}
