// The input poll over a real serial line: the configurator (program object,
// Qt SerialPort, Qt Core host, no window) against ondrix-simulatore serving
// the default island paced at 9600 baud on a pseudo-terminal, the input view
// shown and Timer1 ticking at its shipped interval.
//   poll_cpu_share_paced: CPU time of this process over wall time while the
//                         inputs are polled for 30 s (ONDRIX_POLL_SECONDS)
//   poll_ticks: polls made in that time

#include "Simulatore.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace ondrix;

namespace {

double cpuSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const char* env = std::getenv("ONDRIX_POLL_SECONDS");
    const int seconds = env ? std::atoi(env) : 30;

    bench::Simulatore island({"--pace"});
    if (island.device().empty()) {
        std::fprintf(stderr, "ondrix-simulatore did not start\n");
        return 1;
    }
    CoreHost host;
    QtSerialPort port([&](int n) { return n == 1 ? island.device() : std::string(); });
    Configuratore c(host, port);
    eventoLoad(c);
    eventoActivate(c);
    if (c.m.NumModuli == 0) {
        std::fprintf(stderr, "the start-up read no input module\n");
        return 1;
    }
    c.f.OptInput.setValue(true);

    long ticks = 0;
    QTimer timer1;
    timer1.setInterval(c.f.Timer1.interval());
    QObject::connect(&timer1, &QTimer::timeout, [&] {
        eventoTimer(c);
        ++ticks;
    });
    const double cpu0 = cpuSeconds();
    const std::int64_t t0 = host.nowUs();
    timer1.start();
    QTimer::singleShot(seconds * 1000, &app, [&] { app.quit(); });
    app.exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wall = static_cast<double>(host.nowUs() - t0) / 1e6;
    std::printf("poll_cpu_share_paced: %.4f\n", cpu / wall);
    std::printf("poll_ticks: %ld\n", ticks);
    return 0;
}
