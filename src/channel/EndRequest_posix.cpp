// The system's request to end on Linux: SIGTERM, SIGINT, SIGHUP. The signal
// handler only writes a byte to a pipe; the event loop reads it and makes the
// request, so the program ends through its own code (leaving service mode,
// closing the port). A second signal of the kind ends the program at once.
#ifndef _WIN32

#include "channel/EndRequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ondrix {

namespace {

int tubo[2] = {-1, -1};

void alSegnale(int segnale)
{
    // The next one of its kind is not waited for.
    std::signal(segnale, SIG_DFL);
    const char c = static_cast<char>(segnale);
    [[maybe_unused]] const ssize_t n = ::write(tubo[1], &c, 1);
}

} // namespace

void listenForEndRequests(std::function<void()> richiesta)
{
    if (tubo[0] < 0 && ::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* avviso = new QSocketNotifier(tubo[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(avviso, &QSocketNotifier::activated, avviso, [richiesta = std::move(richiesta)] {
        char c;
        while (::read(tubo[0], &c, 1) == 1) {
        }
        richiesta();
    });
    struct sigaction sa {};
    sa.sa_handler = alSegnale;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &sa, nullptr);
}

} // namespace ondrix

#endif
