#pragma once
// The configuration file: its writer and its reader, as pure functions (model
// and captions in, bytes out; file lines and model in, a verdict and a plan
// out), both walking the one description of the file's layout
// (config/Struttura.h). Nothing here touches a file, the port or the window,
// so every piece can be driven with arbitrary input.
//
// The load runs in two steps built on one another: verificaConfigurazione
// reads the whole file once and refuses it at the first thing that differs
// from the island or that no island can hold; pianoApplicazione (which runs
// the check first) lists every exchange of the apply pass and the model
// changes it makes, from the values the check read. The handler sends the
// plan only once it is complete, so a refused file sends nothing.

#include "config/Struttura.h"
#include "island/Codifica.h"
#include "island/Dialoghi.h"
#include "island/Model.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix {

// ---- Text and lines ----------------------------------------------------------

// The lines of a text. CR LF, a CR alone and an LF alone each end a line (files
// are written with CR LF; a copy edited with another line end reads the same).
// A terminator at the very end opens no further empty line.
std::vector<std::string> righeDi(std::string_view testo);

// Field n (from 1) of a row: the text between the (n-1)-th and the n-th space,
// spaces trimmed. Each search for the next space starts just after the one
// found before, or at the start of the row again when that search found none;
// when the last search finds none the field runs to the end of the row. So
// field 3 of a two-field row is field 1 again, and two spaces in a row make an
// empty field.
std::string EstraiCampo(std::string_view riga, int n);

// A line that holds one number alone: " 3 ", "-1 ".
std::string rigaNumero(long v);

// ---- Writer ------------------------------------------------------------------

// The slave address as the window shows it: the caption after its first colon
// (the whole caption without one), spaces trimmed.
std::string indirizzoDaCaption(std::string_view captionProfibus);

// The whole file, as Windows-1252 bytes with CR LF after every line. The two
// captions are those of the PROFIBUS label and of CmdTerminazione.
std::string scriviConfigurazione(const Model& m, std::string_view captionProfibus,
                                 std::string_view captionTerminazione);

// ---- Reader: the check pass -------------------------------------------------

// Why a file was refused.
enum class Motivo {
    Intestazione,       // line 1 is neither header
    RigaMancante,       // the file ends before a line the load needs
    NonNumero,          // empty, or text where an integer is needed
    Diverso,            // a value that differs from the connected island
    FuoriLimiti,        // a value no island can hold
    IndirizzoMancante,  // no "[INDIRIZZO PROFIBUS SLAVE]" line where the address is
};

struct Rifiuto {
    Motivo motivo;
    int riga;  // line of the file, from 1 (one past the last for a missing line)
};

struct Verifica {
    std::optional<Rifiuto> rifiuto;  // empty: the file matches
    bool ScriviIngressi = false;     // the module addresses are written
    bool SezioneFinale = false;      // termination or baud rate is applied
    explicit operator bool() const { return !rifiuto; }
};

// The check pass: compares the file with the island as the model holds it and
// checks every value the apply pass will take from it.
Verifica verificaConfigurazione(const std::vector<std::string>& righe, const Model& m);

// ---- Reader: the apply pass --------------------------------------------------

enum class Terminazione { Nessuna, On, Off };

struct Piano {
    bool ScriviIngressi = false;
    bool SezioneFinale = false;

    // Every exchange of the apply pass, in order.
    Dialogo scambi;
    // The model changes take effect before exchange number puntoModifiche
    // (counted from 0): after the disable pass, before the last section.
    std::size_t puntoModifiche = 0;

    // The slave address the file sets.
    std::int16_t IndirizzoSlave = 0;
    // Rows 1..256 of ConfBobine as the file sets them.
    std::array<ConfBobina, MaxBobine> ConfBobine{};
    // Rows 1..n of Diagnosi (n <= 32): the file's present coils in order; the
    // rows after them keep their contents.
    std::vector<RigaDiagnosi> Diagnosi;
    // Last section.
    std::optional<std::int16_t> IndiceBaudRate;
    Terminazione terminazione = Terminazione::Nessuna;
};

// The check pass and, when it succeeds, the whole apply pass; empty (with the
// check's verdict in *verifica when given) when the file is refused.
std::optional<Piano> pianoApplicazione(const std::vector<std::string>& righe, const Model& m,
                                       Verifica* verifica = nullptr);

} // namespace ondrix
