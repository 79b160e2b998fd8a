#pragma once
// The service report asked for in the window (Ctrl+P, the context menu) and
// on the command line. The drawing of the file is given by the program: it
// needs a graphics library this layer does without.

#include "channel/Host.h"
#include "report/Rapporto.h"

#include <functional>
#include <optional>
#include <string>

namespace ondrix {

struct Sessione;
struct Testi;

// Writes the report to a file; empty on success, else the system's reason.
using ScriviRapporto = std::function<std::optional<std::string>(const Rapporto&, const std::string& file)>;

// The report's save dialog: ".pdf", one filter "(*.pdf)" / "*.pdf".
FileDialogRequest dialogoRapporto();

// The file chosen, the island's counters read in administrator mode, the
// report written: with the busy pointer, then the success or failure message.
void Rapporto_Click(Sessione& c, const ScriviRapporto& scrivi);

// The report of the island c holds, with its counters when colpi is true;
// "EXIT SV" not included. For the command line.
Rapporto rapportoIsola(Sessione& c, bool colpi);

// Why the report could not be written, in the resource file's words.
std::string messaggioRapportoFallito(const Testi& t, const std::string& file, const std::string& motivo);

} // namespace ondrix
