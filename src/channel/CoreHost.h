#pragma once
// Host for programs without a window (Qt Core): the monotonic clock, the Qt
// event loop for the waits, dialogs reduced to stderr. The widget host
// derives from it and keeps the clock and the waits.

#include "channel/Host.h"

#include <memory>

class QTimer;

namespace ondrix {

class CoreHost : public Host {
public:
    CoreHost();
    ~CoreHost() override;

    // Microseconds of the system's monotonic clock (CLOCK_MONOTONIC on Linux,
    // the same time base in every process of the machine).
    std::int64_t nowUs() const override;

    // Needs a QCoreApplication (or QApplication) in the program.
    void processEvents() override;
    // Sleeps in the event loop until an event comes or the deadline passes;
    // never spins.
    void waitForEvent(std::int64_t deadlineUs) override;

    // Prints the text to stderr; Ok for an OK box, No for a Yes/No question.
    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    bool fileDialog(const FileDialogRequest& req, std::string& fileName) override;

    void setBusyPointer(bool) override {}
    bool ctrlKeyDown() override { return false; }
    ScreenInfo screen() override { return {}; }
    std::string groupSeparator() override;
    std::string programDir() override;

protected:
    // Flushes the output and exits with the status.
    [[noreturn]] void exitProgram(int status) override;

private:
    // Sleeps until an event comes and acts on what woke it.
    void sleepUntilEvent();

    // Counts the events delivered to any object of the program.
    class EventCounter;
    std::unique_ptr<EventCounter> delivered_;

    // The wake-up timer of the waits: armed for a deadline and left running
    // while later waits share it (every byte that arrives wakes a wait; the
    // deadline of an exchange phase does not move), so a wait costs no timer
    // of its own.
    std::unique_ptr<QTimer> wakeTimer_;
    std::int64_t wakeAtUs_ = 0;  // deadline the timer is armed for
    int waiting_ = 0;            // waits in progress (a nested one keeps its own timer)
};

} // namespace ondrix
