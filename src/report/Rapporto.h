#pragma once
// The service report a customer keeps: the island as the start-up read it,
// in the window's own words and colours, ready to be laid out on paper. What
// is here decides what the report says; the drawing (pdf/) only places it.

#include "form/Colore.h"

#include <map>
#include <string>
#include <vector>

namespace ondrix {

struct Model;
class Form;

// A caption split where the window appends its value: "INDIRIZZO SLAVE: 5"
// is "INDIRIZZO SLAVE:" and "5".
struct Etichettato {
    std::string etichetta, valore;
};

// One coil as its square shows it and as its table row reads.
struct BobinaRapporto {
    int posizione = 0;      // 1..16 on its body: its place in the picture
    std::string caption;    // the fieldbus index; a disabled coil's position; or nothing
    bool relax = false;     // caption in bold
    Rgb colore;             // the state colour
    std::string stato;      // the legend's words for it
    bool guasta = false;
    bool disabilitata = false;
    // The table row: body, position, index, state, relax, strokes.
    std::vector<std::string> riga;
};

struct CorpoRapporto {
    std::string titolo;  // "CORPO 0 (TESTA)"
    int posti = 0;       // stations: 2, 4 or 8 (two coil places each)
    bool testa = false;  // carries the connector block
    std::vector<BobinaRapporto> bobine;
};

struct VoceLegenda {
    Rgb colore;
    std::string testo;
};

struct IngressoRapporto {
    std::string caption;  // its number + 1, or "D" when disabled
    Rgb colore;
};

struct ModuloRapporto {
    std::string titolo;  // "MODULO 1: 16IN, INDIRIZZO 0, VERSIONE FIRMWARE PIC: 23"
    std::vector<IngressoRapporto> ingressi;
};

struct Rapporto {
    std::string titolo;       // the report's title
    std::string sottotitolo;  // the window's caption
    std::vector<Etichettato> intestazione;

    // The island in one picture: the head first, the expansions behind it.
    std::vector<CorpoRapporto> corpi;
    Rgb connettoreFieldbus;  // red when the bus termination is on
    std::vector<VoceLegenda> legenda;
    std::string relaxNo, relaxSi;  // the relax legend: normal, bold

    std::string titoloIngressi;
    std::vector<ModuloRapporto> moduli;
    std::vector<VoceLegenda> legendaIngressi;

    // In red: the supply warning; then the faulty and the disabled coils.
    std::string avvisoAlimentazione;  // empty when the supply is there
    std::vector<std::string> avvisi;

    std::vector<std::string> colonne;  // heads of the table of coils
    std::string pagina;                // "PAGINA {N} DI {TOT}"
};

// Stroke counters read from the island, in thousands, by row of ConfBobine.
using Contacolpi = std::map<int, long>;

// The report of the island in m as the window f shows it. Without colpi (or
// for a coil it lacks) the strokes show a dash; a count is in whole strokes,
// grouped with separatore as the window's stroke counter shows it.
Rapporto componiRapporto(const Model& m, const Form& f, const Contacolpi* colpi,
                         const std::string& dataOra, const std::string& separatore);

// The slave address as the program holds it.
std::string indirizzoSlave(const Model& m, const Form& f);

// Local date and time, "2024-05-31 14:05".
std::string dataOraAdesso();

} // namespace ondrix
