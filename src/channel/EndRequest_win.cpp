// The end of the session on Windows: the console's Ctrl-C, Ctrl-Break and
// close button, the user logging off and the machine shutting down.

#include "channel/EndRequest.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <atomic>

#include <windows.h>

namespace ondrix {

namespace {

// Read and written on the event loop's thread only. The request is handed
// over once: a second Ctrl-C while the program is ending changes nothing.
std::function<void()> endRequest;
bool delivered = false;
// Which registration listens (0: none); the console handler, on a thread of
// its own, reads it to leave an event to the system's default when nobody
// listens.
std::atomic<int> listener{0};

// Long enough for "EXIT SV" and its reply (a few hundred milliseconds at
// 9600 baud, at most the 4-second reply time-out), short enough to end
// before Windows gives up on us (about 5 seconds for a console's close and
// for the end of the session).
constexpr DWORD EndingMs = 4500;

void deliver()
{
    if (delivered)
        return;
    delivered = true;
    if (endRequest)
        endRequest();
}

// From any thread: the request runs later on the event loop's thread.
void forward()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &deliver, Qt::QueuedConnection);
}

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (!listener)
        return FALSE;
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        forward();
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Returning lets Windows end the process at once: wait here while
        // the program leaves service mode and ends the process itself.
        forward();
        Sleep(EndingMs);
        return TRUE;
    default:
        return FALSE;
    }
}

// A program with windows is told of the session's end by window messages
// (the console handler is not called for logoff and shutdown once user32 is
// loaded). Windows kills the process as soon as WM_ENDSESSION is answered,
// so the program finishes before answering it.
class SessionFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override
    {
        if (type != "windows_generic_MSG" && type != "windows_dispatcher_MSG")
            return false;
        const MSG* m = static_cast<const MSG*>(message);
        if (m->message == WM_QUERYENDSESSION) {
            // An idle program ends here and now. An ending begun later would
            // still be under way when WM_ENDSESSION comes, which may only be
            // answered once the program has ended: sent into the ending's own
            // waits, it would hold them up until Windows gives up on it.
            deliver();
            // Still here: an exchange or the port search is under way, and the
            // program ends once it is over. Until then the session waits
            // (Windows lists the program as holding it up).
            if (endRequest) {
                if (result)
                    *result = FALSE;
                return true;
            }
        } else if (m->message == WM_ENDSESSION && m->wParam) {
            deliver();
            // An event loop that sleeps between events until the limit (a
            // timed processEvents returns when none is pending, and would
            // spin).
            QEventLoop ending;
            QTimer::singleShot(static_cast<int>(EndingMs), &ending, &QEventLoop::quit);
            ending.exec();
        }
        return false;
    }
};

// Installed while a listener is registered (never destroyed at the
// process's exit, when the application may be half gone).
SessionFilter* sessionFilter = nullptr;

} // namespace

Registration listenForEndRequests(std::function<void()> request)
{
    endRequest = std::move(request);
    delivered = false;
    static int registrations = 0;
    const int mine = ++registrations;
    // Installed once and never removed: under Wine a handler removed and
    // added again is not called. Without a listener it leaves the event to
    // the system.
    [[maybe_unused]] static const bool handling = SetConsoleCtrlHandler(&onConsoleEvent, TRUE);
    if (!sessionFilter) {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            sessionFilter = new SessionFilter;
            app->installNativeEventFilter(sessionFilter);
        }
    }
    listener = mine;
    return Registration([mine] {
        if (listener != mine)
            return;  // replaced by a newer listener
        listener = 0;
        endRequest = nullptr;
        if (QCoreApplication* app = QCoreApplication::instance(); app && sessionFilter)
            app->removeNativeEventFilter(sessionFilter);
        delete sessionFilter;
        sessionFilter = nullptr;
    });
}

} // namespace ondrix
