// ondrix-configuratore: finds the island on serial ports 1 to 16 and shows it.
// Reads nothing but "Stringhe.txt" beside the program; takes no arguments.

#include "channel/QtSerialPort.h"
#include "gui/Programma.h"
#include "gui/QtHost.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ondrix::QtHost host;
    ondrix::QtSerialPort port;
    return ondrix::runConfigurator(app, host, port);
}
