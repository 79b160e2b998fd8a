#pragma once
// The port search as the user hears of it: the ports being tried, why a port
// could not be opened, and the table of every port's outcome.

#include "channel/Ricerca.h"
#include "island/Model.h"

#include <string>
#include <vector>

namespace ondrix {

// "COM3 /dev/ttyUSB0" on Linux, "COM3" on Windows (where the device is COM3).
std::string nomePorta(int numero, const std::string& dispositivo);

// What the window shows while the ports are tried.
std::string testoRicerca(const Testi& t, const std::vector<const EsitoPorta*>& inProva);

// Why a port could not be opened, in the file's words; empty for a port that
// opened or does not exist.
std::string perchePorta(const Testi& t, const EsitoPorta& e);

// The message when no island answered: no port at all, or the no-answer lines
// followed by one line per port that could not be opened.
std::string messaggioNessunaIsola(const Testi& t, const Ricerca& r);

// One line per port for standard error.
std::vector<std::string> tabellaPorte(const Testi& t, const Ricerca& r);

// The notes of lock files taken over from programs that no longer run.
std::vector<std::string> noteBlocchi(const Testi& t, const Ricerca& r);

} // namespace ondrix
