#pragma once
// Look-ups shared by the coil selection and the coil commands: from a coil
// button to its rows of Diagnosi and ConfBobine. Every look-up answers "no
// row" instead of a row outside the table, so no handler writes the sentinel
// row or past a table.

#include "form/Form.h"
#include "island/Model.h"

#include <optional>
#include <string>

namespace ondrix {

// The number a coil button's caption holds (a fieldbus index, or the position
// of a disabled coil); nothing when the caption is not an integer.
std::optional<int> numeroCaption(const std::string& caption);

// A caption that is a fieldbus index 0..31.
std::optional<int> indiceCaption(const std::string& caption);

// First row 1..32 of Diagnosi whose Indice is indice.
std::optional<int> rigaDiagnosi(const Model& m, int indice);
// The same, or the sentinel row 33 when no row holds it (read only!).
int rigaDiagnosiOSentinella(const Model& m, int indice);

// First row of ConfBobine, among the coils read at start-up, whose Indice is indice.
std::optional<int> rigaConfPerIndice(const Model& m, int indice);

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
