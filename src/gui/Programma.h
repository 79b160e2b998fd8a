#pragma once
// The life of the window program, the same for the real ports and the
// built-in island: the window is created and loaded, shown, and activated
// once it is on screen (the activation runs the start-up).

#include <string>

class QApplication;

namespace ondrix {

class QtHost;
class SerialPort;

struct RunOptions {
    // When set: once the start-up is over, a picture of the window is saved
    // to this PNG file and the program ends (status 0 when it was saved).
    std::string screenshot;
};

int runConfigurator(QApplication& app, QtHost& host, SerialPort& port, const RunOptions& options = {});

} // namespace ondrix
