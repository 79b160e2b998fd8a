#include "frame/Bobine.h"

#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

#include <algorithm>

namespace ondrix {

std::optional<int> numeroCaption(const std::string& caption) { return interoOpzionale(caption); }

std::optional<int> indiceCaption(const std::string& caption)
{
    auto n = numeroCaption(caption);
    if (!n || *n < 0 || *n >= MaxDiagnosi)
        return std::nullopt;
    return n;
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
    b.prima = std::min(bobinePrima(m, b.riga), MaxBobine);
    // A body the list shows but the table does not hold has no coils to find.
    const bool held = b.riga >= 1 && b.riga <= numEsp;
    const int own = held ? std::max<int>(m.Espansioni(b.riga).NumBobine, 0) : 0;
    b.numBobine = std::clamp(std::min(own, bobineInUso(m) - b.prima), 0, MaxBobine - b.prima);
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
