#pragma once
// Text resources: "Stringhe.txt" beside the program. LeggiChiave looks a key
// up; the start-up applies every key to the window (program/Testi.h).
//
// The file is read whole and decoded to UTF-8 first (UTF-8 when its bytes are
// valid UTF-8, Windows-1252 otherwise); every lookup then scans the decoded
// text from its start, so lookups can come in any order.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ondrix {

class Host;

// Exit status after a missing or incomplete resource file.
constexpr int StatoRisorse = 2;

// Title of the message shown when the resource file cannot be used (no text
// can come from the file itself then).
inline constexpr const char* TitoloErroreRisorse = "ondrix-configuratore";

// The file is missing, a key is missing or has no value line, or a number
// key does not hold a usable number.
struct RisorsaMancante : std::runtime_error {
    enum class Motivo {
        File,        // the file cannot be read
        Chiave,      // no line equals the key
        Valore,      // the key stands on the last line: no value line follows
        Numero,      // the value is not a number
        FuoriLimiti  // a number that the setting cannot take
    };
    RisorsaMancante(std::string file, std::string key, const std::string& what,
                    Motivo motivo = Motivo::Chiave, std::string valore = {})
        : std::runtime_error(what), file(std::move(file)), key(std::move(key)), motivo(motivo),
          valore(std::move(valore))
    {
    }
    std::string file;
    std::string key;  // empty when the file itself is missing
    Motivo motivo;
    std::string valore;  // the offending value (Numero, FuoriLimiti)
};

// ---- Pure functions over text ----------------------------------------------

// A key looked up: whether a line equals it, and the line after it if any.
struct RicercaChiave {
    bool chiave = false;
    std::optional<std::string> valore;
};
RicercaChiave cercaChiave(std::string_view testo, std::string_view key);

// Looks key (with its brackets) up in the decoded text. A line ends at CR LF
// or at a CR alone; a line feed alone is an ordinary character. The first
// line that equals key exactly (case-sensitive, nothing trimmed) counts, and
// the whole next line is the value. Empty when no line equals the key or the
// key stands on the last line.
std::optional<std::string> LeggiChiave(std::string_view testo, std::string_view key);

// A decimal number as written in the file: blanks around it allowed, an
// optional sign, digits with an optional decimal point. Empty otherwise.
std::optional<double> numeroRisorse(std::string_view valore);

// The four window keys.
extern const std::array<const char*, 4> ChiaviFinestra;

// ---- File access ------------------------------------------------------------

// Path of "Stringhe.txt" in the program's folder.
std::string percorsoRisorse(Host& host);

// The decoded text of the file at path; empty when it cannot be read.
std::optional<std::string> leggiFileRisorse(const std::string& path);

// The built-in message for a resource failure: names the file and the key.
std::string messaggioRisorse(const RisorsaMancante& e);

// One of the window keys ("[DIMENSIONESCHERMOX]" ...) as an integer; 0 when
// the file, the key or a number is missing.
int LeggiChiaveFinestra(Host& host, const std::string& key);

} // namespace ondrix
