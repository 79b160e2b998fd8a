#pragma once
// Configuration readout: the island's lists (bodies and coils, diagnosis,
// relax, firmware, interface, baud rate, digital inputs, module addresses)
// read into the island model.
//
// The parsers below are pure: they take the reply text (and cut it down in
// place, as the readout keeps the unread rest in Risposta) and write the
// values into the model passed to them. They never touch the port or the
// window, so they can be fed any text. A reply that cannot be read (a cut
// with a negative count, a field that is not an integer) throws ParseError;
// what was stored before that point stays stored.
//
// Every list loop ends: when a pass consumes nothing, or when the next entry
// would not fit its table, the list stops there, so no count ever exceeds
// its table.

#include "channel/SerialPort.h"
#include "island/Model.h"
#include "island/Numeri.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

struct Configuratore;

// Cutting a reply by position, 1-based as the island's tables are laid out:
// tab()/cr()/pos() give the position of the first TAB / CR / text (0 when
// absent); head(n) the first n characters; drop(n) removes the first n;
// chop(n) the last n. A negative count, or chopping more than there is,
// throws ParseError.
class Taglio {
public:
    explicit Taglio(std::string& r) : r_(r) {}

    long tab() const { return pos("\t"); }
    long cr() const { return pos("\r"); }
    long pos(std::string_view s) const;
    std::string head(long n) const;
    // The one character at position p (1-based); empty past the end.
    std::string at(long p) const;
    void drop(long n);
    void chop(long n);
    bool empty() const { return r_.empty(); }
    std::size_t size() const { return r_.size(); }
    const std::string& text() const { return r_; }

private:
    std::string& r_;
};

// --- Parsers, one per reply ---------------------------------------------

// "GET VALVOLE PRESENTI": Espansioni, NumEspansioni, ConfBobine, TotaleBobine.
// The counts are reset to 0 first. A body is stored only whole (its line and
// all its coil lines read, and room for the body and its coils).
void LeggiValvolePresenti(std::string& R, Model& m);

// "GET DIAGNOSI": Indice and Stato of Diagnosi rows 1..32, record i into row
// i ("A" also sets Indice -1; other letters than A/P/C/I leave Stato).
// Shared with the island diagnosis.
void LeggiDiagnosi(std::string& R, Model& m);

// "GET RELAX": Relax of Diagnosi rows 1..32 ("OPEN" 0, "CLOSE" 1, exactly
// one character between the word and the CR; anything else leaves it).
void LeggiRelax(std::string& R, Model& m);

// "GET REV FW": RevAtmel, RevPic of bodies 1..NumEspansioni. testoAtmel gets
// the revision text as printed (for the ATMEL caption) as soon as it is
// read; resto what follows the body lines (the input modules' lines).
void LeggiRevFw(std::string& R, Model& m, std::optional<std::string>& testoAtmel,
                std::string& resto);

// "INTERFACCIA": 'P', 'C', 'D', or 0 for anything else (an empty reply too).
char LeggiInterfaccia(std::string_view R);

// The suffix of the window caption and the baud-rate texts of an interface.
// Returns the protocol (1, 2, 3) or 0 for an unknown letter.
int ApplicaInterfaccia(char interfaccia, Model& m, std::string& suffisso);

// "GET BAUD RATE": the digit two places before the first CR. ParseError when
// there is no such character or it is not a code 0..7 (the value is used
// to pick one of the eight option buttons and baud-rate texts).
std::int16_t LeggiBaudRate(std::string_view R);

// "STATO VALVOLA": energised when "ON" occurs anywhere in the reply.
bool LeggiStatoValvola(std::string_view R);

// "GET DIGITAL INPUT": Moduli, NumModuli, NumeriIngressi, StatoIngressi,
// TotaleIngressi; each module's RevPic from revFw (the firmware lines of the
// modules, consumed). The counts are reset to 0 first. A module is stored
// only whole; a type other than "16IN" / "8IN" ends the list there.
void LeggiIngressi(std::string& R, Model& m, std::string& revFw);

// "GET CONF": Indirizzo of modules 1..NumModuli.
void LeggiIndirizziModuli(std::string& R, Model& m);

// "GET SLAVE ADDRESS": the address text (after the first colon, blanks
// around removed, the 4 characters up to and including "OK" cut off).
std::string LeggiIndirizzoSlave(std::string_view R);

// --- The exchanges -------------------------------------------------------

// Runs one step of the start-up: a step that fails on a reply it cannot read
// (ParseError), a row outside its table (OutOfBounds) or a port error
// (PortError) is abandoned silently and the caller goes on with the next.
template <typename F>
void PassoAvvio(F&& f)
{
    try {
        f();
    } catch (const ParseError&) {
    } catch (const OutOfBounds&) {
    } catch (const PortError&) {
    }
}

// Runs the whole readout against the island, each step in order with its
// firmware gate. Each step that fails (ParseError, OutOfBounds, PortError)
// is skipped and the next one runs. Port errors are raised as PortError
// (InviaComandoOppureErrore); a time-out ends the program.
void LetturaConfigurazione(Configuratore& c);

} // namespace ondrix
