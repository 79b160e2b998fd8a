// Windows: the session's end and Ctrl-C on the console reach the program on
// its event loop's thread, once per listener.

#include "channel/EndRequest.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <windows.h>

namespace ondrix {
namespace {

// Runs the event loop until the request has come, at most two seconds.
int attendi(const int& volte)
{
    const QDeadlineTimer scadenza(2000);
    while (volte == 0 && !scadenza.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return volte;
}

TEST(EndRequestWindows, SessionEndAndConsoleCtrlCReachTheEventLoop)
{
    int argc = 1;
    char nome[] = "test_channel";
    char* argv[] = {nome, nullptr};
    QCoreApplication app(argc, argv);

    int volte = 0;
    bool sulFiloDelCiclo = false;
    auto richiesta = [&] {
        ++volte;
        sulFiloDelCiclo = QThread::currentThread() == app.thread();
    };

    {
        // The session ends: Windows asks every program whether it may end.
        const Registration ascolto = listenForEndRequests(richiesta);
        ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        EXPECT_EQ(attendi(volte), 1);
        EXPECT_TRUE(sulFiloDelCiclo);
    }

    volte = 0;
    const Registration ascolto = listenForEndRequests(richiesta);
    // The system calls the console handler on a thread of its own. Wine
    // gives a program a console only when it runs on a terminal.
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0))
        GTEST_SKIP() << "no console to send Ctrl-C to (error " << GetLastError() << ")";
    EXPECT_EQ(attendi(volte), 1);
    EXPECT_TRUE(sulFiloDelCiclo);
    // A second Ctrl-C while the program is ending asks nothing more.
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_EQ(volte, 1);
}

} // namespace
} // namespace ondrix
