#pragma once
// The configuration buttons: the island's configuration saved to a file, and
// a file checked against the island and written to it.

namespace ondrix {

struct Sessione;

void CmdSalva_Click(Sessione& c);
// True when the file was written to the island: the start-up must then read
// the island again.
bool CmdCarica_Click(Sessione& c);

} // namespace ondrix
