#pragma once
// Everything the configurator asks of its surroundings besides the serial port:
// the clock, event processing, dialogs, the busy pointer, the keyboard, the
// screen and the end of the program. Real: gui/QtHost (Qt Widgets), or
// channel/CoreHost for programs without a window. Tests: tests/support/FakeHost.

#include <cstdint>
#include <cstdlib>
#include <string>

namespace ondrix {

// Monotonic clock in microseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowUs() const = 0;
};

struct ScreenInfo {
    int widthPx = 1024;
    int heightPx = 768;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
    int taskbarHeightPx = 0;   // the height the desktop's panels take from the screen
    int frameWidthPx = 8;      // window borders, left + right
    int frameHeightPx = 27;    // title bar + borders, top + bottom
};

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct FileDialogRequest {
    bool save = true;             // save form, else open form
    std::string defaultExt;       // ".txt"
    std::string filterDesc;       // "(*.txt)"
    std::string filterPattern;    // "*.txt"
};

class Host : public Clock {
public:
    // Processes the window events that are pending now; never blocks.
    virtual void processEvents() = 0;
    // Blocks until at least one event has been processed or the clock has
    // reached deadlineUs, whichever comes first; processes what is pending.
    virtual void waitForEvent(std::int64_t deadlineUs) = 0;

    // Message box with the given title; returns the button pressed.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     MessageButtons buttons) = 0;
    // Input box; returns the typed text, or the empty text when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // File dialog. fileName is the name it holds from its previous use (shown
    // again) and receives the choice; returns false when cancelled.
    virtual bool fileDialog(const FileDialogRequest& req, std::string& fileName) = 0;

    // Screen-wide busy pointer (hourglass) on or off.
    virtual void setBusyPointer(bool busy) = 0;
    // Is the Ctrl key down at this moment?
    virtual bool ctrlKeyDown() = 0;
    virtual ScreenInfo screen() = 0;
    // The user's locale group separator ("," or "." or a blank ...).
    virtual std::string groupSeparator() = 0;
    // Folder of the running program (where "Stringhe.txt" lies), no trailing slash.
    virtual std::string programDir() = 0;

    // Ends the program at once with the given status: no further caller code runs.
    [[noreturn]] void endProgram(int status)
    {
        exitProgram(status);
        std::abort();  // a host whose exit came back would let its caller run on
    }

protected:
    // Ends the process (a test's host unwinds out of the code under test
    // instead); never returns.
    virtual void exitProgram(int status) = 0;
};

} // namespace ondrix
