#pragma once
// The window is drawn to the metrics of DejaVu Sans (captions sized to fit
// their buttons). Linux desktops have it; Windows does not, so the Windows
// folder carries the font files in "fonts" beside the program.

namespace ondrix {

// Loads the fonts of the program's "fonts" folder once, when the system lacks
// the window's family. Needs a QGuiApplication; does nothing without one.
void caricaCaratteriFinestra();

} // namespace ondrix
