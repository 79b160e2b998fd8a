#include "view/Bobine.h"

#include "island/Numeri.h"
#include "island/Regole.h"

#include <algorithm>

namespace ondrix {

std::optional<int> numeroCaption(const std::string& caption)
{
    try {
        return intero(caption);
    } catch (const ParseError&) {
        return std::nullopt;
    }
}

std::optional<int> indiceCaption(const std::string& caption)
{
    auto n = numeroCaption(caption);
    if (!n || *n < 0 || *n >= MaxDiagnosi)
        return std::nullopt;
    return n;
}

std::optional<int> rigaDiagnosi(const Model& m, int indice)
{
    for (int r = 1; r <= MaxDiagnosi; ++r)
        if (m.Diagnosi(r).Indice == indice)
            return r;
    return std::nullopt;
}

int rigaDiagnosiOSentinella(const Model& m, int indice)
{
    return rigaDiagnosi(m, indice).value_or(RigaSentinella);
}

namespace {

// Rows of ConfBobine filled by the last readout; rows past it are left over
// from an earlier island and must not be found.
int coilsInUse(const Model& m) { return std::clamp<int>(m.TotaleBobine, 0, MaxBobine); }

} // namespace

std::optional<int> rigaConfPerIndice(const Model& m, int indice)
{
    const int n = coilsInUse(m);
    for (int r = 1; r <= n; ++r)
        if (m.ConfBobine(r).Indice == indice)
            return r;
    return std::nullopt;
}

CorpoMostrato corpoMostrato(const Model& m, const Form& f)
{
    // The drawing selects the body's entry in Combo1; its list position is the
    // body's row less one (the body number itself need not be that position).
    int pos = f.Combo1.listIndex();
    if (pos < 0)
        pos = m.EspansioneCorrente;
    const int numEsp = std::clamp<int>(m.NumEspansioni, 0, MaxEspansioni);
    CorpoMostrato b;
    b.riga = pos + 1;
    int prima = 0;
    for (int r = 1; r < b.riga && r <= numEsp; ++r)
        prima += std::max<int>(m.Espansioni(r).NumBobine, 0);
    b.prima = std::min(prima, MaxBobine);
    // A body the list shows but the table does not hold has no coils to find.
    const bool held = b.riga >= 1 && b.riga <= numEsp;
    const int own = held ? std::max<int>(m.Espansioni(b.riga).NumBobine, 0) : 0;
    b.numBobine = std::clamp(std::min(own, coilsInUse(m) - b.prima), 0, MaxBobine - b.prima);
    return b;
}

std::optional<int> rigaConfPerPosizione(const Model& m, const Form& f, int posizione)
{
    const CorpoMostrato b = corpoMostrato(m, f);
    for (int r = b.prima + 1; r <= b.prima + b.numBobine; ++r)
        if (m.ConfBobine(r).Posizione == posizione)
            return r;
    return std::nullopt;
}

std::optional<int> rigaConfDellaBobina(const Model& m, const Form& f, int i)
{
    if (i < 0 || i >= static_cast<int>(f.Bobina.size()))
        return std::nullopt;
    const Control& b = *f.Bobina[static_cast<std::size_t>(i)];
    auto n = numeroCaption(b.caption());
    if (!n)
        return std::nullopt;
    if (b.backColor() == ColoreDisabilitata)
        return rigaConfPerPosizione(m, f, *n);
    return rigaConfPerIndice(m, *n);
}

Control* bobinaCorrente(const Model& m, Form& f)
{
    const int i = m.BobinaCorrente;
    if (i < 0 || i >= static_cast<int>(f.Bobina.size()))
        return nullptr;
    return f.Bobina[static_cast<std::size_t>(i)];
}

} // namespace ondrix
