#pragma once
// The island model: plain tables counted from 1, their counts, the selection
// values, the island's identity and the program-wide texts. Rows are reached
// only through Table::operator(); a row outside 1..N throws OutOfBounds, so no
// write can land beyond a table.

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace ondrix {

struct OutOfBounds : std::out_of_range {
    using std::out_of_range::out_of_range;
};

template <typename T, int N>
class Table {
public:
    static constexpr int size = N;
    static constexpr bool valid(int row) { return row >= 1 && row <= N; }

    T& operator()(int row) { return rows_[check(row)]; }
    const T& operator()(int row) const { return rows_[check(row)]; }

    void fill(const T& v) { rows_.fill(v); }

private:
    static std::size_t check(int row)
    {
        if (!valid(row))
            throw OutOfBounds("row " + std::to_string(row) + " outside 1.." + std::to_string(N));
        return static_cast<std::size_t>(row - 1);
    }
    std::array<T, N> rows_{};
};

// Coil state codes (Stato).
namespace stato {
constexpr int Assente = 1;
constexpr int Presente = 2;
constexpr int GuastaC = 3;
constexpr int GuastaI = 4;
constexpr int Attivata = 5;
}

constexpr int IndiceDisabilitato = 170;  // disabled coil / input
constexpr int IndiceAssente = -1;
constexpr int IndiceSentinella = 255;
constexpr int RigaSentinella = 33;

constexpr int MaxEspansioni = 16;
constexpr int PosizioniCorpo = 16;  // coil positions of a body: two per station, 8 stations at most
constexpr int MaxBobine = 256;
constexpr int MaxDiagnosi = 32;
constexpr int MaxModuli = 10;
constexpr int MaxIngressi = 50;

struct Espansione {
    std::int16_t Numero = 0;
    std::int16_t NumPosti = 0;
    std::int16_t NumBobine = 0;
    std::int16_t RevPic = 0;
};

struct ConfBobina {
    std::int16_t Indice = 0;
    std::int16_t Posizione = 0;
};

struct RigaDiagnosi {
    std::int16_t Indice = 0;
    std::int16_t Stato = 0;
    std::int16_t Relax = 0;
};

struct Modulo {
    std::int16_t Tipo = 0;
    std::int16_t NumIngressi = 0;
    std::int16_t Ingressi = 0;
    std::int16_t RevPic = 0;
    std::int16_t Indirizzo = 0;
};

// Indexes into Messaggi.
namespace msg {
constexpr int Successo = 1;
constexpr int Spegnere = 2;
constexpr int Seriale = 3;
constexpr int Configurazione = 4;
constexpr int Timeout1 = 5;
constexpr int Timeout2 = 6;
constexpr int Address1 = 7;
constexpr int Address2 = 8;
constexpr int Address3 = 9;
constexpr int Address4 = 10;
constexpr int DisableAll = 11;
}

// The words of a coil's or an input's place: "CORPO 0, POSIZIONE 10, INDICE 9",
// "MODULO 1, INGRESSO 3".
struct ParoleLuogo {
    std::string Corpo, Posizione, Indice, Modulo, Ingresso;
};

// Texts and settings loaded from "Stringhe.txt" (the shared module's values).
struct Testi {
    std::string CaptChiudi, CaptApri;
    std::string CaptAbilita, CaptDisabilita;
    std::string CaptChiudiAll, CaptApriAll;
    std::string CaptRelax, CaptNoRelax;
    std::string CaptTerminazioneOn, CaptTerminazioneOff;
    Table<std::string, 11> Messaggi;
    Table<std::string, 2> TestiInput;
    float Ritardo = 0.0f;  // settling pause, seconds

    // Texts of keys that files made for earlier versions may lack: when a key
    // is missing, a built-in text in the file's language stands in.
    bool Inglese = false;  // the file's language is English (else Italian)
    // The port search: the ports being tried, and why a port failed. The
    // port texts name {PORTA} (the device), {GRUPPO}, {CHI} (the holder, in
    // parentheses, or nothing), {FILE} (a lock file), {MOTIVO} (the system's
    // reason).
    std::string Ricerca;
    std::string PortaPermesso, PortaOccupata, PortaBloccata, PortaErrore, BloccoRipreso;
    // Outcome words of the port table on standard error.
    std::string PortaAssente, PortaSilenziosa, PortaRisponde, PortaNonProvata;
    // Captions no earlier key covered (as designed until the file is read).
    std::string TitoloBaudRate = "BAUD RATE", TitoloPassword = "PASSWORD";
    // The service report's own words (the legend and the captions it shows
    // are the window's). Errore names {FILE} and {MOTIVO}; Pagina {N} of {TOT}.
    struct Rapporto {
        std::string Menu, Titolo, Data, Fieldbus, Terminazione, Si, No, Testa, Indirizzo;
        std::string Stato, Relax, Colpi, Guaste, Disabilitate;
        std::string Pagina, Errore;
    } rapporto;
    // What a screen reader says of a coil's or an input's place.
    ParoleLuogo Luogo;

    // The two lines of the time-out message (also the port search's failure).
    std::string MessaggioTimeout() const
    {
        return Messaggi(msg::Timeout1) + "\r\n" + Messaggi(msg::Timeout2);
    }
};

struct Model {
    Testi testi;

    // Island identity.
    std::int16_t Protocollo = 0;  // 1 PROFIBUS, 2 CANOPEN, 3 DEVICENET
    std::int16_t RevAtmel = 0;
    std::int16_t IndiceBaudRate = 0;
    Table<std::string, 8> TestiBaudRate;

    // Island data.
    // The slave address as the PROFIBUS label shows it; nothing when the
    // island's text for it is no number (the label then shows that text).
    std::optional<std::int16_t> IndirizzoSlave;
    Table<Espansione, MaxEspansioni> Espansioni;
    std::int16_t NumEspansioni = 0;
    Table<ConfBobina, MaxBobine> ConfBobine;
    std::int16_t TotaleBobine = 0;
    Table<RigaDiagnosi, MaxDiagnosi + 1> Diagnosi;  // row 33 is the sentinel
    Table<Modulo, MaxModuli> Moduli;
    std::int16_t NumModuli = 0;
    Table<std::uint8_t, MaxIngressi> StatoIngressi;
    Table<std::int16_t, MaxIngressi> NumeriIngressi;
    std::int16_t TotaleIngressi = 0;

    std::int16_t EspansioneCorrente = 0;
    std::int16_t BobinaCorrente = 0;
    std::int16_t PrimaBobina = 0;
};

} // namespace ondrix
