#pragma once
// What a coil button or an input button shows, in words: for a screen
// reader, and for an eye that cannot tell red, orange and green apart. Read
// from the Form alone: a button's colour is its state, a coil's caption its
// fieldbus index (its position when it is disabled), a bold caption relax;
// the words are the legend's own captions, so they follow the resource file.
//
//   "2/16 #1: BOBINA PRESENTE ATTIVATA - RELAX NON ATTIVO"
//   "6/16: BOBINA PRESENTE DISABILITATA"
//   "3/16 #3: INGRESSO NON ATTIVATO"
//
// The first figure is the button's place among the buttons shown.

#include <string>

namespace ondrix {

class Form;
class Control;

std::string DescrizioneBobina(const Form& f, int i);    // Bobina i, 0..15
std::string DescrizioneIngresso(const Form& f, int i);  // DInput i, 0..15

// Which descriptions change when this control changes.
enum class Descrizioni { Nessuna, Bobine, Ingressi };
Descrizioni DescrizioniToccate(const Form& f, const Control& ctl);

} // namespace ondrix
