#pragma once
// File access of the configuration save and load: the file dialog both share,
// a save that never destroys the file it replaces, and a bounded read.

#include "channel/Host.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

struct Sessione;

// The file dialog of both buttons (".txt", one filter "(*.txt)" / "*.txt"),
// opened on the name it held before, with the hourglass on: the name chosen
// (kept for the next use), or nothing, the pointer back to normal, when the
// dialog is cancelled.
std::optional<std::string> scegliFile(Sessione& c, bool salva);

// Puts bytes at path in place of whatever file is there: they go to a
// temporary file in the same folder, which is flushed to disk and then renamed
// over the old file in one step. A file without write permission is not
// replaced, nor is a device, pipe or socket (a rename would put a regular
// file in its place). Empty on success, else the system's reason; on failure the old
// file is as it was and no temporary file is left.
std::optional<std::string> scriviFileSicuro(const std::string& path, std::string_view bytes);

// A configuration file is a few kilobytes; anything beyond this is not one.
constexpr std::size_t MassimoFileConfigurazione = 1 << 20;

struct FileLetto {
    std::string bytes;
    std::string errore;        // the system's reason when it could not be read
    bool troppoGrande = false; // more than MassimoFileConfigurazione bytes
    bool ok() const { return errore.empty(); }
};
FileLetto leggiFileConfigurazione(const std::string& path);

// Messages of this program's own (no text resource covers them).
std::string messaggioSalvataggioFallito(const std::string& path, const std::string& motivo);
std::string messaggioLetturaFallita(const std::string& path, const std::string& motivo);

} // namespace ondrix
