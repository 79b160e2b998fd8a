#pragma once
// Text resources: "Stringhe.txt" beside the program. LeggiChiave looks a key
// up; CaricaTesti applies every key at the start-up.

#include <stdexcept>
#include <string>

namespace ondrix {

class Host;
struct Configuratore;

// Exit status after a missing or incomplete resource file.
constexpr int StatoRisorse = 2;

// The file is missing, a key is missing or has no value line, or a number
// key does not hold a number.
struct RisorsaMancante : std::runtime_error {
    RisorsaMancante(std::string file, std::string key, const std::string& what)
        : std::runtime_error(what), file(std::move(file)), key(std::move(key))
    {
    }
    std::string file;
    std::string key;  // empty when the file itself is missing
};

// Path of "Stringhe.txt" in the program's folder.
std::string percorsoRisorse(Host& host);

// Start-up step 2: reads the 50 keys in order and applies them to the window
// and the model (captions, caption texts, messages, prompts, Ritardo, the
// interval of Timer1). On a missing file or key it shows one built-in message
// naming the file and the key and ends the program with StatoRisorse.
void CaricaTesti(Configuratore& c);

// One of the window keys ("[DIMENSIONESCHERMOX]" ...) as an integer; 0 when
// the file, the key or a number is missing.
int LeggiChiaveFinestra(Host& host, const std::string& key);

} // namespace ondrix
