#pragma once
// Input module view: which module the list Combo2 shows.

#include <optional>

namespace ondrix {

class Form;

// The 0-based number of the module shown in Combo2 (its text is the module
// number counted from 1, " 1" for the first), or nothing when the text is no
// module number (no module at all, or a stray text).
std::optional<int> moduloScelto(const Form& f);

} // namespace ondrix
