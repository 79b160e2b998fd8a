#pragma once
// The head's second button as the window shows it: the bus termination of a
// PROFIBUS island, the baud rate of a CANopen or DeviceNet one. The drawing,
// the button and the load all show them so.

#include <optional>
#include <string_view>

namespace ondrix {

class Form;
struct Model;
struct Testi;

// The PROFIBUS connector red when on, and the button's caption offering the
// other action.
void MostraTerminazione(Form& f, const Testi& t, bool on);
// Whether a caption of the button shows the termination on: it then offers
// to switch it off.
bool terminazioneAccesa(std::string_view caption, const Testi& t);
// The termination as the window shows it; nothing where the island has none
// to show (not PROFIBUS, or its firmware cannot tell).
std::optional<bool> terminazioneMostrata(const Model& m, const Form& f);
// The caption: the text of the island's baud-rate code (IndiceBaudRate); a
// code without a text leaves it as it is.
void MostraBaudRate(Form& f, const Model& m);

} // namespace ondrix
