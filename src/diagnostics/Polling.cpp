#include "diagnostics/Polling.h"

#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Model.h"
#include "island/Numeri.h"
#include "view/Ingressi.h"

#include <algorithm>
#include <optional>
#include <string>

namespace ondrix {

namespace {

// Head revision from which the island answers "GET DIGITAL INPUT".
constexpr int RevPicIngressi = 39;

// Cuts the text up to and including the first occurrence of c; returns the
// part before it, or nothing (and leaves r alone) when c is missing.
std::optional<std::string_view> taglia(std::string_view& r, char c)
{
    std::size_t p = r.find(c);
    if (p == std::string_view::npos)
        return std::nullopt;
    std::string_view campo = r.substr(0, p);
    r.remove_prefix(p + 1);
    return campo;
}

} // namespace

LetturaIngressi leggiIngressi(std::string_view r, std::span<const std::int16_t> numIngressi)
{
    LetturaIngressi out;
    if (r.size() < 29) {  // not even heading and tail: nothing to read
        out.interrotta = !r.empty();
        return out;
    }
    r.remove_prefix(27);
    r.remove_suffix(2);

    const std::size_t moduli = std::min<std::size_t>(numIngressi.size(), MaxModuli);
    int base = 0;
    std::size_t k = 0;
    while (!r.empty()) {
        if (k >= moduli) {  // more blocks than modules
            out.interrotta = true;
            return out;
        }
        const int n = numIngressi[k];
        if (n < 1 || n > MaxIngressi || !taglia(r, '\t') || !taglia(r, '\t')) {
            out.interrotta = true;
            return out;
        }
        for (int i = 1; i <= n; ++i) {
            const int riga = base + i;
            std::string_view resto = r;
            auto campoNumero = taglia(resto, '\t');
            auto campoIgnorato = campoNumero ? taglia(resto, '\t') : std::nullopt;
            auto campoStato = campoIgnorato ? taglia(resto, '\r') : std::nullopt;
            if (!Table<int, MaxIngressi>::valid(riga) || !campoStato) {
                out.interrotta = true;
                return out;
            }
            IngressoLetto letto;
            letto.riga = riga;
            try {
                letto.numero = intero(trim(*campoNumero));
            } catch (const ParseError&) {
                out.interrotta = true;
                return out;
            }
            const std::string s = trim(*campoStato);
            letto.stato = s == "ON" ? 1 : s == "OFF" ? 0 : -1;
            out.ingressi.push_back(letto);
            r = resto;
            if (i < n)  // two more characters before the next record of the module
                r.remove_prefix(std::min<std::size_t>(2, r.size()));
        }
        base += n;
        ++k;
        out.moduli = static_cast<int>(k);
    }
    return out;
}

std::vector<std::int16_t> numeriPerModulo(const Model& m)
{
    std::vector<std::int16_t> v;
    const int moduli = std::clamp<int>(m.NumModuli, 0, MaxModuli);
    for (int k = 1; k <= moduli; ++k)
        v.push_back(m.Moduli(k).NumIngressi);
    return v;
}

void applicaIngressi(Model& m, const LetturaIngressi& l)
{
    for (const IngressoLetto& i : l.ingressi) {
        if (!Table<int, MaxIngressi>::valid(i.riga))
            continue;
        m.NumeriIngressi(i.riga) = i.numero;
        if (i.stato == 0 || i.stato == 1)
            m.StatoIngressi(i.riga) = static_cast<std::uint8_t>(i.stato);
    }
}

void Timer1_Timer(Configuratore& c)
{
    if (!c.f.OptInput.value())
        return;
    if (c.m.Espansioni(1).RevPic >= RevPicIngressi) {
        // The tick keeps its reply to itself: Risposta may be another
        // handler's text being parsed.
        const std::string r = c.invia("GET DIGITAL INPUT", "OK");
        const std::vector<std::int16_t> n = numeriPerModulo(c.m);
        applicaIngressi(c.m, leggiIngressi(r, n));
    }
    if (auto indice = moduloScelto(c.f))
        DisegnaInput(c, *indice);
}

} // namespace ondrix
