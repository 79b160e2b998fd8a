#pragma once
// The island's diagnosis ("GET DIAGNOSI") brought into the Diagnosi table,
// read with the one diagnosis reader (island/Risposte.h).

namespace ondrix {

class Channel;
struct Model;

// Rows 1..32 rewritten from the records, index and state.
void DiagnosiIsola(Channel& ch, Model& m);
// The state of row Posizione from the record of Indirizzo. Row 33 (the
// sentinel) is never written.
void DiagnosiBobina(Channel& ch, Model& m, int Posizione, int Indirizzo);

} // namespace ondrix
