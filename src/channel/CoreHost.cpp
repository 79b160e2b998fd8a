#include "channel/CoreHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLocale>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace ondrix {

// An application-wide event filter sees every event delivered in the
// program's thread, before its receiver does.
class CoreHost::EventCounter : public QObject {
public:
    QPointer<QCoreApplication> app;  // the one it is installed on
    std::uint64_t count = 0;
    bool eventFilter(QObject*, QEvent*) override
    {
        ++count;
        return false;
    }
};

CoreHost::CoreHost() = default;
CoreHost::~CoreHost() = default;

std::int64_t CoreHost::nowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void CoreHost::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void CoreHost::waitForEvent(std::int64_t deadlineUs)
{
    const std::int64_t remaining = deadlineUs - nowUs();
    if (remaining <= 0) {
        processEvents();
        return;
    }
    if (remaining < 1000) {
        // Below the event loop's millisecond timers: a short sleep, then the
        // events that came meanwhile.
        processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(remaining));
        processEvents();
        return;
    }
    // The timer wakes the loop at the deadline, rounded down to the
    // millisecond; the caller comes back for the rest. A wait inside another
    // (an event handled while the outer one sleeps) takes a timer of its own,
    // so that it cannot move the outer one's.
    const auto ms = static_cast<int>(std::min<std::int64_t>(remaining / 1000, INT_MAX));
    const auto arm = [](QTimer& t, int afterMs) {
        t.setSingleShot(true);
        t.setTimerType(Qt::PreciseTimer);
        t.start(afterMs);
    };
    if (waiting_ > 0) {
        QTimer own;
        arm(own, ms);
        sleepUntilEvent();
        return;
    }
    if (!wakeTimer_)
        wakeTimer_ = std::make_unique<QTimer>();
    // A timer that has run out but whose event is not delivered yet still
    // reads as active: it will not wake anybody again, so it is armed anew.
    if (!wakeTimer_->isActive() || wakeTimer_->remainingTime() <= 0 || wakeAtUs_ != deadlineUs) {
        arm(*wakeTimer_, ms);
        wakeAtUs_ = deadlineUs;
    }
    struct Waiting {
        explicit Waiting(int& n) : n_(n) { ++n_; }
        ~Waiting() { --n_; }
        int& n_;
    } waiting(waiting_);
    sleepUntilEvent();
}

void CoreHost::sleepUntilEvent()
{
    // An event posted before the wait (on Windows a serial port's completed
    // read or write comes so, from the thread that waits for it) is delivered
    // by the blocking call on entry, which then sleeps on regardless: until
    // the deadline, or in a reply wait until the next byte. Delivered here
    // instead, and the wait is over.
    if (!delivered_)
        delivered_ = std::make_unique<EventCounter>();
    if (QCoreApplication* app = QCoreApplication::instance(); app && delivered_->app != app) {
        app->installEventFilter(delivered_.get());
        delivered_->app = app;
    }
    const std::uint64_t before = delivered_->count;
    QCoreApplication::sendPostedEvents();
    if (delivered_->count != before)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // Woken by a posted event (an expired timer posts its own), Windows'
    // dispatcher returns before delivering it; the next blocking call would
    // deliver it and then sleep with nothing armed. Delivered here, at once.
    QCoreApplication::sendPostedEvents();
}

MessageAnswer CoreHost::messageBox(const std::string& text, const std::string& title,
                                   MessageButtons buttons)
{
    std::cerr << (title.empty() ? std::string() : title + ": ") << text << std::endl;
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string CoreHost::inputBox(const std::string&, const std::string&, const std::string&) { return {}; }

bool CoreHost::fileDialog(const FileDialogRequest&, std::string&) { return false; }

std::string CoreHost::groupSeparator() { return QLocale::system().groupSeparator().toStdString(); }

std::string CoreHost::programDir()
{
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    return ".";
}

void CoreHost::exitProgram(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::exit(status);
}

} // namespace ondrix
