#pragma once
// The head's second button as the window shows it: the bus termination of a
// PROFIBUS island; the drawing, the button and the load all show it so.

namespace ondrix {

class Form;
struct Testi;

// The PROFIBUS connector red when on, and the button's caption offering the
// other action.
void MostraTerminazione(Form& f, const Testi& t, bool on);

} // namespace ondrix
