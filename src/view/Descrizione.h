#pragma once
// What a coil button or an input button shows, in words: for a screen
// reader, and for an eye that cannot tell red, orange and green apart. Read
// from the Form alone: a button's colour is its state, a coil's caption its
// fieldbus index (its position when it is disabled), a bold caption relax;
// the words are the legend's own captions, so they follow the resource file.
//
//   "CORPO 0, POSIZIONE 2, INDICE 1: BOBINA PRESENTE ATTIVATA - RELAX NON ATTIVO"
//   "CORPO 0, POSIZIONE 6: BOBINA PRESENTE DISABILITATA"
//   "MODULO 1, INGRESSO 3: INGRESSO NON ATTIVATO"
//
// The body and the module are the numbers their lists show; the place's
// words come from the resource file too.

#include "form/Colore.h"
#include "island/Model.h"

#include <string>

namespace ondrix {

class Form;
class Control;

// The words of a legend label, without the blanks and the " /" that part two
// of them on screen.
std::string paroleLegenda(const Control& etichetta);
// The legend label of a coil button's colour; nothing for a colour the legend
// does not show.
const Control* legendaBobina(const Form& f, Rgb colore);

std::string DescrizioneBobina(const Form& f, const ParoleLuogo& p, int i);    // Bobina i, 0..15
std::string DescrizioneIngresso(const Form& f, const ParoleLuogo& p, int i);  // DInput i, 0..15

// Which descriptions change when this control changes.
enum class Descrizioni { Nessuna, Bobine, Ingressi };
Descrizioni DescrizioniToccate(const Form& f, const Control& ctl);

} // namespace ondrix
