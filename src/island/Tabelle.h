#pragma once
// Look-ups over the model's tables that the handlers share. Every look-up
// answers "no row" instead of a row outside the table, so no handler writes
// the sentinel row or past a table.

#include "island/Model.h"

#include <optional>

namespace ondrix {

// First row 1..32 of Diagnosi whose Indice is indice.
std::optional<int> rigaDiagnosi(const Model& m, int indice);
// The same, or the sentinel row 33 when no row holds it (read only!).
int rigaDiagnosiOSentinella(const Model& m, int indice);

// Rows of ConfBobine filled by the last readout; rows past it are left over
// from an earlier island and must not be found.
int bobineInUso(const Model& m);
// First row of ConfBobine, among the coils read at start-up, whose Indice is indice.
std::optional<int> rigaConfPerIndice(const Model& m, int indice);
// Coils of the bodies before row riga of Espansioni (PrimaBobina when that
// body is drawn), among the bodies read; a negative count counts as none.
int bobinePrima(const Model& m, int riga);

// The valves of body riga (its row of Espansioni) lack their supply: the body
// has more than one coil, and one of them, enabled and on a position 1..16,
// is one the diagnosis does not report.
bool senzaAlimentazione(const Model& m, int riga);

// Input rows of the modules before module k (1-based row of Moduli).
int ingressiPrima(const Model& m, int k);

} // namespace ondrix
