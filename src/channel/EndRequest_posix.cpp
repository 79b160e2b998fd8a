// The system's request to end on Linux: SIGTERM, SIGINT, SIGHUP. The signal
// handler only writes a byte to a pipe; the event loop reads it and makes the
// request, so the program ends through its own code (leaving service mode,
// closing the port). A second signal of the kind ends the program at once.

#include "channel/EndRequest.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ondrix {

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

int wakePipe[2] = {-1, -1};
// The current listener's notifier on the pipe (it belongs to the application).
QPointer<QSocketNotifier> listening;

void onSignal(int signal)
{
    // The next one of its kind is not waited for.
    std::signal(signal, SIG_DFL);
    const char c = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &c, 1);
}

void drainPipe()
{
    char c;
    while (::read(wakePipe[0], &c, 1) == 1) {
    }
}

} // namespace

Registration listenForEndRequests(std::function<void()> request)
{
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return {};
    delete listening;
    drainPipe();  // a request nobody listened to is not this listener's
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [request = std::move(request)] {
        drainPipe();
        request();
    });
    listening = notifier;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : Signals)
        ::sigaction(s, &sa, nullptr);

    return Registration([mine = QPointer<QSocketNotifier>(notifier)] {
        // Replaced by a newer listener (or gone with the application): that
        // one owns the signals now.
        if (!mine || mine != listening)
            return;
        for (int s : Signals)
            std::signal(s, SIG_DFL);
        delete mine.data();
    });
}

} // namespace ondrix
