// The end of the session on Windows: the console's Ctrl-C, Ctrl-Break and
// close button, the user logging off and the machine shutting down.
#ifdef _WIN32

#include "channel/EndRequest.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMetaObject>

#include <windows.h>

namespace ondrix {

namespace {

// Read and written on the event loop's thread only. The request is handed
// over once: a second Ctrl-C while the program is ending changes nothing.
std::function<void()> richiestaFine;
bool fineChiesta = false;

// Long enough for "EXIT SV" and its reply (a few hundred milliseconds at
// 9600 baud, at most the 4-second reply time-out), short enough to end
// before Windows gives up on us (about 5 seconds for a console's close and
// for the end of the session).
constexpr DWORD AttesaFineMs = 4500;

void consegna()
{
    if (fineChiesta)
        return;
    fineChiesta = true;
    if (richiestaFine)
        richiestaFine();
}

// From any thread: the request runs later on the event loop's thread.
void inoltra()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &consegna, Qt::QueuedConnection);
}

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI gestoreConsole(DWORD evento)
{
    switch (evento) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        inoltra();
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Returning lets Windows end the process at once: wait here while
        // the program leaves service mode and ends the process itself.
        inoltra();
        Sleep(AttesaFineMs);
        return TRUE;
    default:
        return FALSE;
    }
}

// A program with windows is told of the session's end by window messages
// (the console handler is not called for logoff and shutdown once user32 is
// loaded). Windows kills the process as soon as WM_ENDSESSION is answered,
// so the program finishes before answering it.
class FiltroSessione : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& tipo, void* messaggio, qintptr*) override
    {
        if (tipo != "windows_generic_MSG" && tipo != "windows_dispatcher_MSG")
            return false;
        const MSG* m = static_cast<const MSG*>(messaggio);
        if (m->message == WM_QUERYENDSESSION) {
            // Agree (Qt answers) and start ending while the others are asked.
            inoltra();
        } else if (m->message == WM_ENDSESSION && m->wParam) {
            consegna();
            const QDeadlineTimer scadenza(static_cast<qint64>(AttesaFineMs));
            while (!scadenza.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
        return false;
    }
};

} // namespace

void listenForEndRequests(std::function<void()> richiesta)
{
    richiestaFine = std::move(richiesta);
    fineChiesta = false;
    static bool installato = false;
    if (installato)
        return;
    installato = true;
    SetConsoleCtrlHandler(&gestoreConsole, TRUE);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(new FiltroSessione);  // lives as long as the program
}

} // namespace ondrix

#endif
