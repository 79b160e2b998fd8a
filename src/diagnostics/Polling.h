#pragma once
// The polling tick of the digital inputs.

#include <functional>

namespace ondrix {

struct Sessione;

// The tick of Timer1: while the inputs are shown, their states are read from
// the island and ridisegna draws the module shown again (the input panel's
// drawing, which lives with the view).
void Timer1_Timer(Sessione& c, const std::function<void()>& ridisegna);

} // namespace ondrix
