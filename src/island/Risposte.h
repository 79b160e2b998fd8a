#pragma once
// Readers of the island's replies, one per reply. They are pure: they take
// the reply text (some cut it down in place, leaving what they did not read)
// and write what they read into the model passed to them, or return it. They never touch the port or the window, so they can be
// fed any text. Every reply is cut with Taglio.
//
// A reply that cannot be read (a cut with a negative count, a field that is
// not an integer) throws ParseError where the start-up must skip its step;
// what was stored before that point stays stored. Every list loop ends: when
// an entry is not whole, or would not fit its table, the list stops there, so
// no count ever exceeds its table.

#include "island/Model.h"
#include "island/Numeri.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix {

// ---- "GET VALVOLE PRESENTI" -----------------------------------------------------
// Espansioni, NumEspansioni, ConfBobine, TotaleBobine; the counts are reset to
// 0 first. A body is stored only whole: its three fields and every coil line
// it announces, each with its TAB and CR, and room for the body and its coils.
void LeggiValvolePresenti(std::string& risposta, Model& m);

// ---- "GET DIAGNOSI" ----------------------------------------------------------------
// 14 characters of heading, then up to 32 records, one per coil slot: the
// fieldbus index as decimal text, TAB, the state letter, anything, CR (the LF
// that follows is read as blank before the next index). Whatever follows the
// 32nd record is ignored.
constexpr std::size_t IntestazioneDiagnosi = 14;

struct RecordDiagnosi {
    std::int16_t indice = 0;  // the index as printed (also for an absent coil)
    char lettera = 0;         // the first character after the TAB
};

struct LetturaDiagnosi {
    std::vector<RecordDiagnosi> record;  // complete records, in slot order, at most 32
    std::size_t letti = 0;               // characters of the reply read (heading included)
    // false when the reply ended, or held an index that is not a number,
    // before the 32nd record was complete
    bool completa = false;
};

// The records. Reading stops at the first record that lacks its TAB or CR, or
// whose index text is not a 16-bit integer; the records before it are kept.
LetturaDiagnosi recordDiagnosi(std::string_view risposta);

// Rows 1..32 of Diagnosi from the records, record i into row i, index and
// state; risposta keeps its unread rest. Returns whether all 32 records were read.
bool LeggiDiagnosi(std::string& risposta, Model& m);

// The letter of the first record whose index is exactly indirizzo (its whole
// index text, not a part of it: 1 does not match 11 or 21), or nothing.
std::optional<char> letteraDiagnosi(std::string_view risposta, int indirizzo);

// A state letter on a row: "A" absent (Stato 1, Indice -1), "P" 2, "C" 3,
// "I" 4. Any other letter changes nothing; returns whether it applied.
bool applicaLettera(RigaDiagnosi& riga, char lettera);

// ---- "GET RELAX" -------------------------------------------------------------------
// Relax of Diagnosi rows 1..32 ("OPEN" 0, "CLOSE" 1, exactly one character
// between the word and the CR; anything else leaves it).
void LeggiRelax(std::string& risposta, Model& m);

// ---- "GET REV FW" ------------------------------------------------------------------
// RevAtmel, RevPic of bodies 1..NumEspansioni. testoAtmel gets the revision
// text as printed (for the ATMEL caption) as soon as it is read; resto what
// follows the body lines (the input modules' lines).
void LeggiRevFw(std::string& risposta, Model& m, std::optional<std::string>& testoAtmel,
                std::string& resto);

// ---- "INTERFACCIA", "GET BAUD RATE" ------------------------------------------------
// 'P', 'C', 'D', or 0 for anything else (an empty reply too).
char LeggiInterfaccia(std::string_view risposta);

// The protocol of an interface letter, with its baud-rate texts set and the
// suffix of the window caption (" - CANOPEN"). Returns the protocol code, or
// 0 (and an empty suffix) for an unknown letter.
int ApplicaInterfaccia(char interfaccia, Model& m, std::string& suffisso);

// The digit two places before the first CR. ParseError when there is no such
// character or it is not a code 0..7.
std::int16_t LeggiBaudRate(std::string_view risposta);

// ---- "STATO VALVOLA", "STATO TERMINAZIONE" -----------------------------------------
// Energised when "ON" occurs anywhere in the reply.
bool LeggiStatoValvola(std::string_view risposta);
// Termination on when the first three characters, blanks trimmed, hold "ON".
bool LeggiTerminazione(std::string_view risposta);

// ---- "GET DIGITAL INPUT" -----------------------------------------------------------
// 27 characters of heading and the last 2 cut off; then one block per module:
// two fields each ended by a TAB (the second names the module's type), then
// its input records: the number, TAB, a field, TAB, the state, CR; two more
// characters are skipped after each record but the module's last.

struct RecordIngresso {
    std::int16_t numero = 0;
    int stato = -1;  // 1 "ON", 0 "OFF", -1 any other state text
};

struct BloccoIngressi {
    std::string tipo;  // the type field, blanks trimmed
    int attesi = 0;    // records the block should hold
    std::vector<RecordIngresso> ingressi;  // the records read whole
    bool intero() const { return static_cast<int>(ingressi.size()) == attesi; }
};

struct BlocchiIngressi {
    std::vector<BloccoIngressi> blocchi;
    bool interrotta = false;  // the reading stopped before the end of the reply
};

// How many records block k (from 0) of the given type holds; nothing ends the
// reading before that block.
using ContaIngressi = std::function<std::optional<int>(std::size_t k, const std::string& tipo)>;

// The blocks in order. Reading stops, keeping every record read whole, at
// the first thing that does not fit: a block quanti refuses, a field or
// record missing its TAB or CR, an input number that is not an integer.
// Never throws.
BlocchiIngressi leggiBlocchiIngressi(std::string_view risposta, const ContaIngressi& quanti);

// The start-up's reading: Moduli, NumModuli, NumeriIngressi, StatoIngressi,
// TotaleIngressi, each module's RevPic from revFw (the firmware lines of the
// modules, consumed). The counts are reset to 0 first. A module is stored
// only whole; a type other than "16IN" / "8IN" ends the list there. Returns
// whether the whole reply was read into modules.
bool LeggiModuli(std::string_view risposta, Model& m, std::string& revFw);

// The poll's reading. riga is the row of NumeriIngressi and StatoIngressi.
struct IngressoLetto {
    int riga = 0;
    std::int16_t numero = 0;
    int stato = -1;
};

struct LetturaIngressi {
    std::vector<IngressoLetto> ingressi;
    int moduli = 0;           // module blocks read whole
    bool interrotta = false;  // the reply did not match the modules: reading stopped there
};

// The blocks laid out by the modules the model holds (numIngressi: the
// NumIngressi of modules 1, 2, ...). Reading also stops at a block beyond the
// modules or beyond 10, a row beyond 50, a module whose input count is not
// 1..50.
LetturaIngressi LeggiStatiIngressi(std::string_view risposta, std::span<const std::int16_t> numIngressi);

// The NumIngressi of the model's modules 1..NumModuli (at most 10).
std::vector<std::int16_t> numeriPerModulo(const Model& m);

// Stores what was read: every record's number, and its state when "ON"/"OFF".
void applicaIngressi(Model& m, const LetturaIngressi& l);

// ---- "GET CONF" --------------------------------------------------------------------
// Indirizzo of modules 1..NumModuli.
void LeggiIndirizziModuli(std::string& risposta, Model& m);

// One coil record as the re-check of interrupted coils reads it.
struct RecordConf {
    int posizione;  // first value, rounded (the coil's position on its body)
    int indice;     // second value, rounded
};

// The coil records of body `corpo` (1-based row of Espansioni), the bodies
// laid out by the NumBobine of rows 1..NumEspansioni. risposta is cut in place. A
// reply that stops making sense ends the reading quietly with the records
// read so far; a value too large for 16 bits is left out.
std::vector<RecordConf> RecordsGetConf(std::string& risposta, const Model& m, int corpo);

// ---- "GET SLAVE ADDRESS" -----------------------------------------------------------
// The address text: after the first colon, blanks around removed, the 4
// characters up to and including "OK" cut off.
std::string LeggiIndirizzoSlave(std::string_view risposta);

// ---- "LEGGI CONTACOLPI" ------------------------------------------------------------
// The counter in thousands of strokes: the first five characters of the
// reply, a whole number (blanks around it allowed). Nothing when they are not.
std::optional<long> contacolpiDaRisposta(std::string_view risposta);

} // namespace ondrix
