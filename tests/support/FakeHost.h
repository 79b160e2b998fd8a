#pragma once
// A scripted host for tests: a fake monotonic clock that waits advance at
// once, dialogs answered from queues and recorded, events scheduled at given
// times (clicks, ticks) that run inside the waits, and an end of the program
// that throws ProgramEnded instead of exiting.

#include "channel/Host.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ondrix::test {

struct ProgramEnded {
    int status;
};

struct ShownMessage {
    std::string text;
    std::string title;
    MessageButtons buttons;
};

struct ShownInput {
    std::string prompt;
    std::string title;
};

class FakeHost : public Host {
public:
    FakeHost();

    // Clock.
    std::int64_t nowUs() const override { return now_; }
    void advance(std::int64_t us) { now_ += us; }

    // Events.
    void processEvents() override;
    void waitForEvent(std::int64_t deadlineUs) override;
    // Runs f inside the first wait (or processEvents) at or after atUs.
    void at(std::int64_t atUs, std::function<void()> f);
    // Runs f inside the next wait or processEvents, whatever the time.
    void soon(std::function<void()> f) { at(now_, std::move(f)); }
    long waits() const { return waits_; }

    // Dialogs.
    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    bool fileDialog(const FileDialogRequest& req, std::string& fileName) override;

    std::deque<MessageAnswer> messageAnswers;  // default: Ok / Yes
    std::deque<std::string> inputAnswers;      // default when empty: "" (cancel)
    std::deque<std::string> fileAnswers;       // "" = cancel
    std::vector<ShownMessage> messages;
    std::vector<ShownInput> inputs;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::string> fileDialogOffered;  // name the dialog showed

    // Pointer, keyboard, screen.
    void setBusyPointer(bool busy) override;
    bool busyPointer = false;
    std::vector<bool> busyHistory;
    bool ctrlKeyDown() override { return ctrl; }
    bool ctrl = false;
    ScreenInfo screen() override { return screenInfo; }
    ScreenInfo screenInfo;
    std::string groupSeparator() override { return separator; }
    std::string separator = ",";
    std::string programDir() override { return dir; }
    std::string dir;

    bool ended = false;
    int endStatus = -1;

protected:
    [[noreturn]] void exitProgram(int status) override;

private:
    void runDue();
    std::int64_t now_ = 1'000'000;
    long waits_ = 0;
    std::multimap<std::int64_t, std::function<void()>> scheduled_;
};

} // namespace ondrix::test
