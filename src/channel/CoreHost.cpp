#include "channel/CoreHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLocale>
#include <QTimer>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace ondrix {

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
