#include "island/Tabelle.h"

#include <algorithm>

namespace ondrix {

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

int bobineInUso(const Model& m) { return std::clamp<int>(m.TotaleBobine, 0, MaxBobine); }

std::optional<int> rigaConfPerIndice(const Model& m, int indice)
{
    const int n = bobineInUso(m);
    for (int r = 1; r <= n; ++r)
        if (m.ConfBobine(r).Indice == indice)
            return r;
    return std::nullopt;
}

int bobinePrima(const Model& m, int riga)
{
    const int corpi = std::clamp<int>(m.NumEspansioni, 0, MaxEspansioni);
    int prima = 0;
    for (int r = 1; r < riga && r <= corpi; ++r)
        prima += std::max<int>(m.Espansioni(r).NumBobine, 0);
    return prima;
}

bool senzaAlimentazione(const Model& m, int riga)
{
    const Espansione& corpo = m.Espansioni(riga);
    if (corpo.NumBobine == 1)
        return false;
    const int prima = bobinePrima(m, riga);
    for (int j = 1; j <= corpo.NumBobine && m.ConfBobine.valid(prima + j); ++j) {
        const ConfBobina& cb = m.ConfBobine(prima + j);
        if (cb.Posizione < 1 || cb.Posizione > PosizioniCorpo || cb.Indice == IndiceDisabilitato)
            continue;
        if (!rigaDiagnosi(m, cb.Indice))
            return true;
    }
    return false;
}

int ingressiPrima(const Model& m, int k)
{
    int prima = 0;
    for (int r = 1; r < k && r <= MaxModuli; ++r)
        prima += m.Moduli(r).Ingressi;
    return prima;
}

} // namespace ondrix
