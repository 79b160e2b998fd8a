#pragma once
// The configuration file's layout, described once: its sections in order,
// each a heading line and its value lines. The writer and both readers (the
// load's check and the comparison with an island) walk this one description;
// they differ only in what they do with a heading and with a value line.

#include <optional>
#include <string_view>

namespace ondrix {

inline constexpr const char* IntestazioneModuli = "[NUMERO MODULI INGRESSI]";
inline constexpr const char* IntestazioneRigheModuli = "[TIPO - FW - INDIRIZZO]";
inline constexpr const char* IntestazioneProtocollo = "[PROTOCOLLO]";
inline constexpr const char* IntestazioneIndirizzo = "[INDIRIZZO PROFIBUS SLAVE]";
inline constexpr const char* IntestazioneTotaleBobine = "[NUMERO TOTALE BOBINE]";
inline constexpr const char* IntestazioneEspansioni = "[NUMERO DI ESPANSIONI]";
inline constexpr const char* IntestazioneRigheEspansioni = "[TIPO ESPANSIONE - N\u00b0 BOBINE]";
inline constexpr const char* IntestazioneBobine =
    "[INDICE PROFIBUS BOBINE - POSIZIONE FISICA - RELAX]";
inline constexpr const char* IntestazioneTerminazione = "[RESISTENZA TERMINAZIONE]";
inline constexpr const char* IntestazioneBaudRate = "[BAUD RATE]";

// The two layouts, told apart by line 1: the current one starts with the
// input modules' heading, the older one with the protocol's (it is the
// current one without the input modules' 13 lines).
enum class Disposizione { Corrente, SenzaModuli };
const char* primaIntestazione(Disposizione d);
// The layout line 1 names; nothing when it names none (compared exactly).
std::optional<Disposizione> disposizioneDi(std::string_view primaRiga);

// What a value line holds.
enum class Voce {
    NumeroModuli,      // number line: NumModuli
    Modulo,            // one of the 10 module rows: Tipo, RevPic, Indirizzo
    Protocollo,        // number line: Protocollo
    NomeProtocollo,    // "PROFIBUS", "CANOPEN", "DEVICENET": written for a known code, never read
    Indirizzo,         // the slave address as the window shows it
    TotaleBobine,      // number line: TotaleBobine
    NumeroEspansioni,  // number line: NumEspansioni
    Espansione,        // one row per body: NumPosti, NumBobine
    Bobina,            // one of the 256 coil rows: Indice, Posizione, relax flag
    Terminazione,      // PROFIBUS: "ON" or "OFF"
    BaudRate,          // CANopen, DeviceNet: number line, the code
    TestoBaudRate,     // the code's text, never read
};

// One walk over a file: the writer's, or a reader's.
class PercorsoFile {
public:
    virtual ~PercorsoFile() = default;
    // The heading line of the section that follows.
    virtual void intestazione(std::string_view testo) = 0;
    // Value line n (from 1) of its kind.
    virtual void valore(Voce voce, int n) = 0;
    // Asked once the body count is walked: the body rows that follow.
    virtual int espansioni() const = 0;
    // Asked after the coil rows: the protocol whose last section follows
    // (the termination for PROFIBUS, the baud rate for CANopen and
    // DeviceNet, nothing for any other code).
    virtual int protocollo() const = 0;
};

// Walks a file of layout d from line 2 on (line 1 names the layout).
void percorriFile(PercorsoFile& p, Disposizione d);

} // namespace ondrix
