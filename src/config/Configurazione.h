#pragma once
// The configuration buttons: the island's configuration saved to a file, and
// a file checked against the island and written to it.

#include <optional>
#include <string>

namespace ondrix {

struct Sessione;

void CmdSalva_Click(Sessione& c);
// True when the file was written to the island: the start-up must then read
// the island again.
bool CmdCarica_Click(Sessione& c);

// The two without their dialogs, for the window's buttons and the command line.
// The island's configuration written to the file nome: the same bytes, the
// same safe replace. Empty on success, else the system's reason.
std::optional<std::string> salvaConfigurazione(Sessione& c, const std::string& nome);

// The file nome checked against the island and, when it fits whole, written
// to it (the model and the window changed as the file says).
struct Caricamento {
    enum class Esito { Scritto, Rifiutato, Illeggibile };
    Esito esito;
    std::string motivo;  // Illeggibile: the system's reason
};
Caricamento caricaConfigurazione(Sessione& c, const std::string& nome);

} // namespace ondrix
