#pragma once
// Coil selection: the pure pieces of the stroke counter display.

#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

// The counter in thousands of strokes: the first five characters of the
// reply, a whole number (blanks around it allowed). Nothing when they are not.
std::optional<long> contacolpiDaRisposta(std::string_view risposta);

// Mask "###,###,##0": digits grouped by three with the given separator, at
// least one digit. 125000 -> "125,000"; 0 -> "0"; -1234 -> "-1,234".
std::string formattaColpi(long long n, const std::string& separatore);

} // namespace ondrix
