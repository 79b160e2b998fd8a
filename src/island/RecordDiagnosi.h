#pragma once
// The island's diagnosis ("GET DIAGNOSI") cut into records, shared by the
// start-up readout and the diagnosis handlers.
//
// Reply layout: 14 characters of heading, then up to 32 records, one per coil
// slot: the fieldbus index as decimal text, TAB, the state letter, anything,
// CR (the LF that follows is read as blank before the next index). Whatever
// follows the 32nd record is ignored.

#include "island/Model.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ondrix {

constexpr std::size_t IntestazioneDiagnosi = 14;

struct RecordDiagnosi {
    std::int16_t indice = 0;  // the index as printed (also for an absent coil)
    char lettera = 0;         // the first character after the TAB
};

struct LetturaDiagnosi {
    std::vector<RecordDiagnosi> record;  // complete records, in slot order, at most 32
    std::size_t letti = 0;  // characters of the reply read (heading included)
    // false when the reply ended, or held an index that is not a number,
    // before the 32nd record was complete
    bool completa = false;
};

// Cuts the reply into records. Reading stops at the first record that lacks
// its TAB or CR, or whose index text is not a 16-bit integer; the records
// before it are kept. Never throws.
LetturaDiagnosi leggiDiagnosi(std::string_view risposta);

// Applies a state letter to a row: "A" absent (Stato 1, Indice -1), "P" 2,
// "C" 3, "I" 4. Any other letter changes nothing; returns whether it applied.
bool applicaLettera(RigaDiagnosi& riga, char lettera);

} // namespace ondrix
