#pragma once
// The coil commands: switching valves, taking coils out of service and back,
// relax, the stroke counter reset and the island reset.

namespace ondrix {

struct Sessione;

void CmdAziona_Click(Sessione& c);
void CmdAll_Click(Sessione& c);
void CmdAbilita_Click(Sessione& c);
void CmdDisableAll_Click(Sessione& c);
void CmdRelax_Click(Sessione& c);
void CmdAzzera_Click(Sessione& c);
// Clears the island, tells the user to switch it off, ends the program.
[[noreturn]] void CmdReset_Click(Sessione& c);

} // namespace ondrix
