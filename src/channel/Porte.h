#pragma once
// Port numbering: the configurator searches ports 1 to 16. On Windows port n
// is COMn. On Linux the ports are numbered in this order: /dev/ttyUSB*, then
// /dev/ttyACM* (each by its number; a symbolic link with such a name counts),
// then the /dev/ttyS* that have a UART behind them (the kernel lists legacy
// ttyS ports even where there is no chip; those are skipped).

#include <string>
#include <vector>

namespace ondrix {

constexpr int PrimaPorta = 1;
constexpr int UltimaPorta = 16;

// The serial devices in port order. root prefixes /dev and /sys, so that a
// fake tree can stand in for the machine; the paths returned carry it.
std::vector<std::string> dispositiviSeriali(const std::string& root = {});

// The device of port n (1..16) on this machine; empty when there is none.
std::string dispositivoPorta(int n);

} // namespace ondrix
