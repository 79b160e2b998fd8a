#pragma once
// The system asks the program to end: a signal on Linux (SIGTERM, SIGINT,
// SIGHUP), the console closed, the user logging off or the machine shutting
// down on Windows. The program then ends as its exit button does: after the
// exchange in progress, leaving service mode, with the port closed.

#include <functional>

namespace ondrix {

// From now on, such a request calls richiesta on the thread of the event loop
// (never inside a signal handler or a system callback thread). Needs a
// QCoreApplication. Installed once per program.
void listenForEndRequests(std::function<void()> richiesta);

} // namespace ondrix
