#pragma once
// The island's rules, each named once: fieldbus protocol codes and their
// names, slave-address ranges, baud-rate texts, the input modules' types, the
// firmware revisions from which a feature exists, and the colour that shows a
// coil's state.

#include "form/Colore.h"
#include "island/Model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

// ---- Fieldbus -----------------------------------------------------------------

// Protocollo codes.
namespace protocollo {
constexpr int Profibus = 1;
constexpr int Canopen = 2;
constexpr int Devicenet = 3;
}

// CANopen and DeviceNet carry a baud rate where PROFIBUS has a bus termination.
constexpr bool haBaudRate(int p) { return p == protocollo::Canopen || p == protocollo::Devicenet; }

// "PROFIBUS", "CANOPEN", "DEVICENET"; empty for any other code.
std::string nomeProtocollo(int protocollo);

// Slave addresses a protocol allows, inclusive. An island that has not told
// its protocol counts as PROFIBUS, as the readout leaves it.
struct Intervallo {
    int min, max;
    constexpr bool contiene(double v) const { return v >= min && v <= max; }
};
Intervallo intervalloIndirizzo(int protocollo);

// Baud-rate codes the island reports and takes (0..7), and how many of them
// the protocol offers (8 CANopen, 3 DeviceNet).
constexpr int CodiciBaudRate = 8;
constexpr bool codiceBaudRate(int v) { return v >= 0 && v < CodiciBaudRate; }
int baudRateOfferti(int protocollo);

// The texts of the protocol's baud rates into TestiBaudRate (CANopen entries
// 1..8, DeviceNet 1..7: three rates and four empty texts; entry 8 untouched).
void impostaTestiBaudRate(int protocollo, Model& m);
// The text of baud-rate code codice (entry codice + 1 of TestiBaudRate);
// nothing for a code outside 0..7.
std::optional<std::string> testoBaudRate(const Model& m, int codice);

// ---- Input modules ----------------------------------------------------------------

// A module type: its Tipo in Moduli, the island's name of it, its inputs.
struct TipoModulo {
    std::int16_t codice;
    const char* nome;
    int ingressi;
};
// 0 "16IN" (16 inputs), 1 "8IN" (8 inputs); nothing for any other.
std::optional<TipoModulo> tipoModulo(int codice);
std::optional<TipoModulo> tipoModuloDalNome(std::string_view nome);
// The island's name of a type, "?" for a type this program does not know.
std::string nomeTipoModulo(int codice);

// ---- Firmware ---------------------------------------------------------------------
// The revisions from which a feature exists: of the head's controller
// (Espansioni(1).RevPic), of the main controller (RevAtmel), of a body or an
// input module (RevPic).
namespace firmware {
constexpr int TestaStatoValvola = 35;  // STATO VALVOLA
constexpr int AtmelStatoValvola = 34;
constexpr int TestaInterfaccia = 40;  // INTERFACCIA, GET BAUD RATE
constexpr int AtmelInterfaccia = 40;
constexpr int TestaIngressi = 39;  // GET DIGITAL INPUT
constexpr int AtmelIngressi = 40;
constexpr int AtmelConf = 46;              // GET CONF
constexpr int AtmelTerminazione = 34;      // STATO TERMINAZIONE, the termination button
constexpr int TestaReset = 34;             // CLEAR offered under the supply warning
constexpr int AtmelReset = 34;
constexpr int CorpoAmministratore = 35;    // stroke counters of a body
constexpr int ModuloIndirizzi = 21;        // an input module that can be re-addressed
constexpr int AtmelIndirizziModuli = 41;   // the address button offered
}

// Revision of the head's controller (row 1 of Espansioni).
int revTesta(const Model& m);

// The features the readout asks for.
bool leggeStatoValvole(const Model& m);
bool leggeInterfaccia(const Model& m);
bool leggeIngressi(const Model& m);
bool leggeConf(const Model& m);
// Every module of the island can be re-addressed (RevPic of each).
bool moduliIndirizzabili(const Model& m);

// ---- Coil states ----------------------------------------------------------------

// The background of a coil button in state s; nothing outside 1..5 (left as it is).
std::optional<Rgb> coloreStato(int s);
// The state a coil button's colour shows (red: 3); nothing for any other colour.
std::optional<int> statoDelColore(Rgb c);
// A disabled coil (Indice 170).
constexpr Rgb ColoreDisabilitata = colore::GialloPallido;

// Faulty states (3, 4): the coil cannot be switched.
constexpr bool guasta(int s) { return s == stato::GuastaC || s == stato::GuastaI; }
// States a coil button can be clicked in (present, energised).
constexpr bool selezionabile(int s) { return s == stato::Presente || s == stato::Attivata; }

} // namespace ondrix
