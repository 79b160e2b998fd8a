#pragma once
// Look-ups shared by the coil selection and the coil commands: from a coil
// button to its rows of ConfBobine (the model's own look-ups are in
// island/Tabelle.h). Every look-up answers "no row" instead of a row outside
// the table, so no handler writes past a table.

#include "form/Form.h"
#include "island/Model.h"

#include <optional>
#include <string>

namespace ondrix {

// One button per coil position of a body.
static_assert(std::tuple_size_v<decltype(Form::Bobina)> == PosizioniCorpo);

// The number a coil button's caption holds (a fieldbus index, or the position
// of a disabled coil); nothing when the caption is not an integer.
std::optional<int> numeroCaption(const std::string& caption);

// A caption that is a fieldbus index 0..31.
std::optional<int> indiceCaption(const std::string& caption);

// The coils of the displayed body: rows prima + 1 .. prima + count of ConfBobine.
struct CorpoMostrato {
    int riga = 1;       // row of Espansioni
    int prima = 0;      // coils of the bodies before it (PrimaBobina)
    int numBobine = 0;  // its coils that the table holds
};
CorpoMostrato corpoMostrato(const Model& m, const Form& f);

// Row of the displayed body's coil at position posizione.
std::optional<int> rigaConfPerPosizione(const Model& m, const Form& f, int posizione);

// The ConfBobine row of coil button i: a disabled (pale-yellow) button's
// caption is its position on the displayed body, any other its fieldbus index.
std::optional<int> rigaConfDellaBobina(const Model& m, const Form& f, int i);

// The selected coil button, or nullptr when BobinaCorrente is not 0..15.
Control* bobinaCorrente(const Model& m, Form& f);

} // namespace ondrix
