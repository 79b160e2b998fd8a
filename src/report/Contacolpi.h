#pragma once
// The stroke counters of the whole island, for the service report: "LEGGI
// CONTACOLPI" for every present, enabled coil of every body whose firmware
// keeps counters.

#include "report/Rapporto.h"

#include <optional>

namespace ondrix {

class Channel;
struct Model;

// The counter of the coil at posizione of the body numbered corpo, in
// thousands of strokes; nothing when the reply holds no number.
std::optional<long> LeggiContacolpi(Channel& ch, int corpo, int posizione);

// Every counter the island keeps, by row of ConfBobine; a coil whose reply
// holds no number is left out.
Contacolpi LeggiContacolpiIsola(Channel& ch, const Model& m);

} // namespace ondrix
