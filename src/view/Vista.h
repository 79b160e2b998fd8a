#pragma once
// The island view: one body in the output panel, one input module in the
// input panel, the choices between them, and the selection of a coil.

#include <functional>
#include <optional>
#include <string>

namespace ondrix {

struct Sessione;
struct Model;
class Form;

// Draws body Indice (0 = head) of the body list: its picture, its coil
// buttons coloured by state, the supply warning, the head's termination or
// baud-rate button, the re-check of interrupted coils.
void DisegnaEspansione(Sessione& c, int Indice);
void Combo1_Click(Sessione& c);

// Draws input module Indice (0-based) from the model.
void DisegnaInput(const Model& m, Form& f, int Indice);
// Draws the module Combo2 shows, when it shows one.
void DisegnaInputScelto(const Model& m, Form& f);
void OptInput_Click(Sessione& c);
void OptOutput_Click(Sessione& c);
void Combo2_Click(Sessione& c);

// The 0-based number of the module shown in Combo2 (its text is the module
// number counted from 1, " 1" for the first), or nothing when the text is no
// module number (no module at all, or a stray text).
std::optional<int> moduloScelto(const Form& f);

// A click on coil button i. With the Ctrl key down on a coil that can be
// switched, commuta switches it at once (the valve command).
void Bobina_Click(Sessione& c, int i, const std::function<void()>& commuta);

// Mask "###,###,##0": digits grouped by three with the given separator, at
// least one digit. 125000 -> "125,000"; 0 -> "0"; -1234 -> "-1,234".
std::string formattaColpi(long long n, const std::string& separatore);

} // namespace ondrix
