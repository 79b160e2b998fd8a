#pragma once
// Shared pieces of the fuzz targets: an invariant check that aborts (so that
// libFuzzer keeps the input), the models a reply is read into, and the
// bounds every model must keep whatever text it was fed.

#include "island/Model.h"
#include "island/Numeri.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(cond)                                                                       \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace ondrix::fuzz {

inline std::string_view testoDi(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The model after the readout of the default simulated island: 2 bodies
// (8 stations with 14 coils, 4 stations with 7), 2 input modules (16 + 8).
inline Model modelloIsola()
{
    Model m;
    m.NumEspansioni = 2;
    m.Espansioni(1) = {0, 8, 14, 47};
    m.Espansioni(2) = {1, 4, 7, 46};
    m.TotaleBobine = 21;
    for (int r = 1; r <= 14; ++r)
        m.ConfBobine(r) = {static_cast<std::int16_t>(r == 6 ? IndiceDisabilitato : r - 1),
                           static_cast<std::int16_t>(r)};
    for (int r = 1; r <= 7; ++r)
        m.ConfBobine(14 + r) = {static_cast<std::int16_t>(13 + r), static_cast<std::int16_t>(r)};
    m.NumModuli = 2;
    m.Moduli(1) = {0, 16, 16, 23, 0};
    m.Moduli(2) = {1, 8, 8, 22, 1};
    m.TotaleIngressi = 24;
    m.RevAtmel = 47;
    m.Protocollo = 1;
    m.Diagnosi(RigaSentinella) = {IndiceSentinella, stato::Assente, 0};
    return m;
}

// Every table full: 16 bodies of 16 coils, 10 modules.
inline Model modelloPieno()
{
    Model m;
    m.NumEspansioni = MaxEspansioni;
    for (int e = 1; e <= MaxEspansioni; ++e)
        m.Espansioni(e) = {static_cast<std::int16_t>(e - 1), 8, 16, 47};
    m.TotaleBobine = MaxBobine;
    for (int r = 1; r <= MaxBobine; ++r)
        m.ConfBobine(r) = {static_cast<std::int16_t>((r - 1) % 32),
                           static_cast<std::int16_t>((r - 1) % 16 + 1)};
    m.NumModuli = MaxModuli;
    for (int k = 1; k <= MaxModuli; ++k)
        m.Moduli(k) = {1, 8, 8, 23, static_cast<std::int16_t>(k % 3)};
    m.TotaleIngressi = MaxIngressi;
    m.RevAtmel = 47;
    m.Protocollo = 1;
    m.Diagnosi(RigaSentinella) = {IndiceSentinella, stato::Assente, 0};
    return m;
}

// Counts that no reader could have produced: the parsers must still stay
// inside the tables when a model is half broken.
inline Model modelloStorto()
{
    Model m = modelloIsola();
    m.NumEspansioni = 3;
    m.Espansioni(3) = {2, 2, 32767, 0};
    m.Espansioni(2).NumBobine = -5;
    m.NumModuli = 12;
    m.Diagnosi(RigaSentinella) = {IndiceSentinella, stato::Assente, 0};
    return m;
}

inline std::vector<Model> modelli() { return {Model{}, modelloIsola(), modelloPieno(), modelloStorto()}; }

inline bool ugualeDiagnosi(const RigaDiagnosi& a, const RigaDiagnosi& b)
{
    return a.Indice == b.Indice && a.Stato == b.Stato && a.Relax == b.Relax;
}

// A count within its table, or (for a model that was broken before the
// reader ran: see modelloStorto) left as it was.
inline bool entro(long v, long max, long prima) { return (v >= 0 && v <= max) || v == prima; }

// The bounds of a model that a reader has filled: counts within their
// tables, states among the codes, the sentinel row as it was.
inline void controllaModello(const Model& m, const Model& prima)
{
    FUZZ_CHECK(entro(m.NumEspansioni, MaxEspansioni, prima.NumEspansioni));
    FUZZ_CHECK(entro(m.TotaleBobine, MaxBobine, prima.TotaleBobine));
    FUZZ_CHECK(entro(m.NumModuli, MaxModuli, prima.NumModuli));
    FUZZ_CHECK(entro(m.TotaleIngressi, MaxIngressi, prima.TotaleIngressi));
    for (int r = 1; r <= MaxDiagnosi; ++r)
        FUZZ_CHECK(m.Diagnosi(r).Stato >= 0 && m.Diagnosi(r).Stato <= stato::Attivata);
    FUZZ_CHECK(ugualeDiagnosi(m.Diagnosi(RigaSentinella), prima.Diagnosi(RigaSentinella)));
}

// Bodies and coils as the reader of "GET VALVOLE PRESENTI" leaves them: the
// total is the sum of the bodies stored (a body is stored only whole).
inline bool bobineCoerenti(const Model& m)
{
    if (m.NumEspansioni < 0 || m.NumEspansioni > MaxEspansioni)
        return false;
    long somma = 0;
    for (int e = 1; e <= m.NumEspansioni; ++e) {
        if (m.Espansioni(e).NumBobine < 1)
            return false;
        somma += m.Espansioni(e).NumBobine;
    }
    if (somma != m.TotaleBobine)
        return false;
    for (int r = 1; r <= m.TotaleBobine; ++r)
        if (m.ConfBobine(r).Posizione == 0)
            return false;
    return true;
}

// Modules and inputs as the reader of "GET DIGITAL INPUT" leaves them.
inline bool ingressiCoerenti(const Model& m)
{
    if (m.NumModuli < 0 || m.NumModuli > MaxModuli)
        return false;
    long somma = 0;
    for (int k = 1; k <= m.NumModuli; ++k) {
        const Modulo& mod = m.Moduli(k);
        if (!((mod.Tipo == 0 && mod.NumIngressi == 16) || (mod.Tipo == 1 && mod.NumIngressi == 8)))
            return false;
        somma += mod.NumIngressi;
    }
    if (somma != m.TotaleIngressi)
        return false;
    for (int i = 1; i <= MaxIngressi; ++i)
        if (m.StatoIngressi(i) > 1)
            return false;
    return true;
}


// Reads the input into every test model with leggi(R, m), where a ParseError
// is a refused reply, not a fault; checks the bounds every model keeps; then
// the target's own checks: verifica(m, prima, R, letta).
template <typename Leggi, typename Verifica>
void suOgniModello(std::string_view input, Leggi leggi, Verifica verifica)
{
    for (Model m : modelli()) {
        const Model prima = m;
        std::string R(input);
        bool letta = true;
        try {
            leggi(R, m);
        } catch (const ParseError&) {
            letta = false;
        }
        controllaModello(m, prima);
        verifica(m, prima, R, letta);
    }
}

} // namespace ondrix::fuzz
