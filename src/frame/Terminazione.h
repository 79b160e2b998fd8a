#pragma once
// The head's second button as the window shows it: the bus termination of a
// PROFIBUS island, the baud rate of a CANopen or DeviceNet one. The drawing,
// the button and the load all show them so.

namespace ondrix {

class Form;
struct Model;
struct Testi;

// The PROFIBUS connector red when on, and the button's caption offering the
// other action.
void MostraTerminazione(Form& f, const Testi& t, bool on);
// The caption: the text of the island's baud-rate code (IndiceBaudRate); a
// code without a text leaves it as it is.
void MostraBaudRate(Form& f, const Model& m);

} // namespace ondrix
