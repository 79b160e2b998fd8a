#pragma once
// Window layout: size and position at load, scroll bars that follow a
// resize, scrolling that moves the top-level controls.

namespace ondrix {

class Host;
class Form;

// Height of the desktop taskbar (what the desktop reserves at the bottom of
// the screen) in twips; 0 without a taskbar.
int AltezzaTaskbar(Host& host);

// Places VScroll1, HScroll1 and Frame3 along the right and bottom edges of
// the client area; with conFrame3 also gives Frame3 the bars' thickness.
void PosizionaBarre(Form& f, bool conFrame3);

// The window's load: size and position from the resource file, the screen
// and the taskbar, the scroll bars over the design.
void Form_Load(Host& host, Form& f);
// The bars follow the window's size (nothing before the load has sized it).
void Form_Resize(Form& f);
// A scroll bar moved: every top-level control moves by the difference.
void ScorriOrizzontale(Form& f);
void ScorriVerticale(Form& f);

} // namespace ondrix
