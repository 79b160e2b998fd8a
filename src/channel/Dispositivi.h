#pragma once
// The serial devices of this machine: their numbering as the ports 1 to 16
// the configurator searches, what stands in the way of opening one, and the
// driver's low-latency mode. On Windows port n is COMn. On Linux the ports are numbered in this order: /dev/ttyUSB*, then
// /dev/ttyACM* (each by its number; a symbolic link with such a name counts),
// then the /dev/ttyS* that have a UART behind them (the kernel lists legacy
// ttyS ports even where there is no chip; those are skipped).

#include <optional>
#include <string>
#include <vector>

class QSerialPort;

namespace ondrix {

constexpr int PrimaPorta = 1;
constexpr int UltimaPorta = 16;

// The serial devices in port order. root prefixes /dev and /sys, so that a
// fake tree can stand in for the machine; the paths returned carry it.
std::vector<std::string> dispositiviSeriali(const std::string& root = {});

// The device of port n (1..16) on this machine; empty when there is none.
std::string dispositivoPorta(int n);

// A port named on the command line: a number 1..16, or a device (a path on
// Linux, COMn on Windows). A device of the numbering keeps its number; any
// other device is port 1, with dispositivo set.
struct PortaNominata {
    int numero = 1;
    std::string dispositivo;  // empty: the numbering's device of numero
};
std::optional<PortaNominata> portaNominata(const std::string& nome);
// The port a device name gives (the second half of portaNominata).
std::optional<PortaNominata> portaDelDispositivo(const std::string& nome);
// A port number written in one or two digits, 1..16; nothing otherwise.
std::optional<int> numeroPorta(const std::string& cifre);

// ---- Why a device cannot be opened ----------------------------------------------
// On Unix Qt SerialPort keeps a lock file per device (LCK..ttyUSB0 in the
// first lock folder it may use) and opens the device for itself alone; what
// stands in the way is told apart here, so that the user can be told what to
// do. A Windows COM port has neither lock file nor group: these find nothing.

// The lock file Qt SerialPort takes for the device; empty where there is none.
std::string fileBlocco(const std::string& dispositivo);

// The process named in a lock file: its number and program, and whether it
// still runs. Nothing when there is no readable lock file.
struct ProprietarioBlocco {
    long processo = 0;
    std::string programma;
    bool vivo = false;
};
std::optional<ProprietarioBlocco> proprietarioBlocco(const std::string& file);

// The group that may open the device when the user may not (its owning group);
// empty when the user may open it or the device is not there.
std::string gruppoNegato(const std::string& dispositivo);

// Asks the serial driver of the open port to pass received characters on at
// once (Linux: ASYNC_LOW_LATENCY through TIOCGSERIAL/TIOCSSERIAL) instead of
// holding them for the adapter's latency time. False when the device refuses
// (a pseudo-terminal, a built-in UART; Windows sets it in the driver's
// settings): it is then used as it is.
bool richiediBassaLatenza(QSerialPort& porta);

} // namespace ondrix
