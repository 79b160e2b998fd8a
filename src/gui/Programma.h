#pragma once
// The life of the window program, the same for the real ports and the
// built-in island: the window is created and loaded, shown, and activated
// once it is on screen (the activation runs the start-up).

#include "report/Comando.h"

#include <memory>
#include <string>
#include <vector>

class QApplication;
class QCoreApplication;

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

// The application of a mode without a window: Qt Core, or for the report,
// whose pages are drawn with Qt Gui, a graphics one on a platform that needs
// no display.
std::unique_ptr<QCoreApplication> applicazioneSenzaFinestra(int& argc, char** argv, bool rapporto);

// The service report drawn as a PDF file.
ScriviRapporto scriviRapportoPdf();

} // namespace ondrix
