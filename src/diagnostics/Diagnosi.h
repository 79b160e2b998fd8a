#pragma once
// The two methods that bring the island's diagnosis ("GET DIAGNOSI") into the
// Diagnosi table; the reply is cut into records by island/RecordDiagnosi.h.
//
//
#include "island/Model.h"
#include "island/RecordDiagnosi.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ondrix {

// The letter of the first record whose index is exactly indirizzo (its whole
// index text, not a part of it: 1 does not match 11 or 21), or nothing.
std::optional<char> letteraDiagnosi(std::string_view risposta, int indirizzo);

// Handlers' entry points (also declared in frame/Gestori.h):
//   DiagnosiIsola(c): rows 1..32 rewritten from the records, index and state.
//   DiagnosiBobina(c, Posizione, Indirizzo): the state of row Posizione from
//   the record of Indirizzo. Row 33 (the sentinel) is never written.

} // namespace ondrix
