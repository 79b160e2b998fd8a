// Linux: a signal reaches the one listener registered, on the event loop's
// thread; a listener replaced or unregistered is never called again, and
// without one the signals' defaults are back.

#include "channel/EndRequest.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <csignal>

namespace ondrix {
namespace {

TEST(EndRequest, OneListenerAtATimeAndTheDefaultsOnceNoneListens)
{
    int argc = 1;
    char nome[] = "test_channel";
    char* argv[] = {nome, nullptr};
    QCoreApplication app(argc, argv);

    int primo = 0, secondo = 0;
    Registration vecchio = listenForEndRequests([&] { ++primo; });
    Registration nuovo = listenForEndRequests([&] { ++secondo; });
    vecchio.reset();  // the one replaced going takes nothing with it
    ASSERT_EQ(std::raise(SIGINT), 0);
    const QDeadlineTimer scadenza(2000);
    while (secondo == 0 && !scadenza.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(primo, 0);
    EXPECT_EQ(secondo, 1);

    nuovo.reset();
    for (int s : {SIGTERM, SIGHUP}) {
        struct sigaction sa {};
        ASSERT_EQ(::sigaction(s, nullptr, &sa), 0);
        EXPECT_EQ(sa.sa_handler, SIG_DFL) << s;
    }
}

} // namespace
} // namespace ondrix
