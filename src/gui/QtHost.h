#pragma once
// The host of the window program: the clock and the event-loop waits of the
// Qt Core host, plus the Qt Widgets dialogs, the busy pointer, the keyboard
// and the screen.

#include "channel/CoreHost.h"

class QWidget;

namespace ondrix {

class QtHost : public CoreHost {
public:
    QtHost() = default;

    // The window the dialogs belong to and whose frame is measured; may be null.
    void setWindow(QWidget* w) { window_ = w; }

    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    bool fileDialog(const FileDialogRequest& req, std::string& fileName) override;

    void setBusyPointer(bool busy) override;
    bool ctrlKeyDown() override;
    ScreenInfo screen() override;
    std::string groupSeparator() override;
    std::string programDir() override;

    bool busyPointer() const { return busy_; }

private:
    QWidget* window_ = nullptr;
    bool busy_ = false;
};

// The name filter of a file dialog: "(*.txt)" with the pattern "*.txt" gives
// "(*.txt)"; a description without the pattern gets it appended.
std::string nameFilter(const FileDialogRequest& req);

} // namespace ondrix
