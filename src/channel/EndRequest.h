#pragma once
// The system asks the program to end: a signal on Linux (SIGTERM, SIGINT,
// SIGHUP), the console closed, the user logging off or the machine shutting
// down on Windows. The program then ends as its exit button does: after the
// exchange in progress, leaving service mode, with the port closed.

#include "channel/Registration.h"

#include <functional>

namespace ondrix {

// While the registration returned lives, such a request calls request on the
// thread of the event loop (never inside a signal handler or a system
// callback thread); once it goes, the system's default comes back (the
// signal or the console's close ends the process at once). One listener at a
// time: a new registration replaces the one before. Needs a
// QCoreApplication.
[[nodiscard]] Registration listenForEndRequests(std::function<void()> request);

} // namespace ondrix
