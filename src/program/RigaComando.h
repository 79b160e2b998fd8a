#pragma once
// The programs' command lines: the options, the usage texts and the exit
// statuses they document.

#include <optional>
#include <string>
#include <vector>

namespace ondrix {

// Exit statuses of the configurator (also told by --help and the README).
namespace uscita {
constexpr int Fatto = 0;        // done (--verify: the island equals the file)
constexpr int Differenze = 1;   // --verify found differences
constexpr int Uso = 2;          // a bad command line, or "Stringhe.txt" unusable
constexpr int Isola = 3;        // no island, a reply time-out, or the port lost
constexpr int Rifiutato = 4;    // the file was refused: nothing was sent
constexpr int File = 5;         // the file could not be read or written
constexpr int Schermo = 6;      // the window cannot open: no display
}

struct Opzioni {
    enum class Modo { Finestra, Info, Salva, Carica, Verifica, Rapporto };
    Modo modo = Modo::Finestra;
    bool aiuto = false;
    bool versione = false;
    std::optional<std::string> porta;  // --port N|DEVICE
    std::string traccia;               // --trace FILE
    std::string file;                  // of --save, --load, --verify, --report
    bool json = false;                 // --info --json
    bool si = false;                   // --yes
    bool silenzioso = false;           // --quiet
    bool contatori = false;            // --report --counters
    // The demo also takes --report [--counters] (its island's report).
    std::string screenshot;
    std::optional<std::string> scenario;

    std::string errore;  // what is wrong with the command line; empty when nothing
};

// The arguments after the program's name. Qt's own window options (-platform,
// -display, -style ...) are let through to the toolkit.
Opzioni leggiOpzioni(const std::vector<std::string>& argomenti, bool demo);

// What a program does before anything else: a bad command line (usage on
// standard error, uscita::Uso), --help (usage on standard output) or
// --version; the status to end with, or nothing to go on.
std::optional<int> rispostaImmediata(const Opzioni& o, const char* programma, const std::string& uso);

std::string usoConfiguratore();
std::string usoDemo();
std::string versione(const char* programma);

} // namespace ondrix
