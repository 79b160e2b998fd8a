#pragma once
// The input poll: the reply to "GET DIGITAL INPUT" cut into input records by a
// pure function, and its application to the model.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ondrix {

struct Model;

// One input record of the reply. riga is the row of NumeriIngressi and
// StatoIngressi (1..50); stato is 1 for "ON", 0 for "OFF", -1 for any other
// state text (the state is then left as it was).
struct IngressoLetto {
    int riga = 0;
    std::int16_t numero = 0;
    int stato = -1;
};

struct LetturaIngressi {
    std::vector<IngressoLetto> ingressi;
    int moduli = 0;           // module blocks read whole
    bool interrotta = false;  // the reply did not match the modules: reading stopped there
};

// Reads the reply to "GET DIGITAL INPUT" (27 characters of heading, then one
// block per module, the last 2 characters cut off). numIngressi holds the
// NumIngressi of modules 1, 2, ... in order. Reading stops, keeping every
// record read whole before, at the first thing that does not fit: a block
// beyond the modules or beyond 10, a record missing its tab or CR, an input
// number that is no integer, a row beyond 50, a module whose input count is
// not 1..50. Never throws.
LetturaIngressi leggiIngressi(std::string_view risposta, std::span<const std::int16_t> numIngressi);

// The NumIngressi of the model's modules 1..NumModuli (at most 10).
std::vector<std::int16_t> numeriPerModulo(const Model& m);

// Stores what was read: every record's number, and its state when "ON"/"OFF".
void applicaIngressi(Model& m, const LetturaIngressi& l);

} // namespace ondrix
