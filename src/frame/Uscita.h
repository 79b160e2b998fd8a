#pragma once
// Administrator mode, exit, and leaving service mode on unload.

namespace ondrix {

struct Sessione;

// The picture double-clicked: the administrator password unlocks the stroke
// counters and the bootloader button.
void Image1_DblClick(Sessione& s);
void CmdBootloader_Click(Sessione& s);
void CmdEsci_Click(Sessione& s);
// Leaves service mode ("EXIT SV"), closes the port, ends the program.
[[noreturn]] void Form_Unload(Sessione& s);

} // namespace ondrix
