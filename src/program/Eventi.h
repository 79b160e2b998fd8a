#pragma once
// Routes the window's events to the handlers. Every event that may talk to
// the island or change the model is ignored while a dialogue with the island
// is in progress (a click is dropped, a tick skipped, never queued), so two
// dialogues never interleave on the line. Scrolling and resizing always run.
// The one exception is a tick of the input poll, which the user did not
// start: the last click, list choice or close that comes during it runs as
// soon as the tick is over, checked again then.

#include "report/Comando.h"

namespace ondrix {

struct Configuratore;
class Control;

void eventoLoad(Configuratore& c);
void eventoActivate(Configuratore& c);
void eventoResize(Configuratore& c);
void eventoClick(Configuratore& c, Control& ctl);
void eventoDblClick(Configuratore& c, Control& ctl);
// A choice in a drop-down list (enabled and shown): selects entry index, then
// runs its click handler.
void eventoSceltaLista(Configuratore& c, Control& combo, int index);
// A scroll bar moved to value (click or thumb drag).
void eventoScroll(Configuratore& c, Control& bar, int value);
void eventoTimer(Configuratore& c);
// The service report (Ctrl+P, the context menu): as a click, once the island
// has been read.
void eventoRapporto(Configuratore& c, const ScriviRapporto& scrivi);
// The close box. Returns false (the close is refused) while a dialogue is in
// progress, or kept for the end of the poll when that is what runs; otherwise
// leaves service mode and ends the program. During the port search it ends
// the program once the search has closed its ports.
bool eventoChiusura(Configuratore& c);
// The system asks the program to end (a signal, the session's end): as the
// exit button does, after the exchange in progress, leaving service mode
// when it was entered, the port closed.
void eventoRichiestaFine(Configuratore& c);

} // namespace ondrix
