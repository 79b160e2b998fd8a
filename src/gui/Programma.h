#pragma once
// The life of the window program, the same for the real ports and the
// built-in island: the window is created and loaded, shown, and activated
// once it is on screen (the activation runs the start-up).

#include <string>
#include <vector>

class QApplication;

namespace ondrix {

class QtHost;
class SerialPort;

struct RunOptions {
    // When set: once the start-up is over, a picture of the window is saved
    // to this PNG file and the program ends (status 0 when it was saved).
    std::string screenshot;
    // The ports the search tries; empty: 1..16.
    std::vector<int> porte;
};

int runConfigurator(QApplication& app, QtHost& host, SerialPort& port, const RunOptions& options = {});

// Before the window program's QApplication: false (after one line on standard
// error) when there is no display to open a window on. Until schermoPronto()
// a failure of the toolkit to reach the display ends the program with that
// line and the status for no display instead of an abort.
bool preparaSchermo(const char* programma);
void schermoPronto();

} // namespace ondrix
