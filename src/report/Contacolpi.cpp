#include "report/Contacolpi.h"

#include "channel/Channel.h"
#include "island/Dialoghi.h"
#include "island/Model.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Risposte.h"
#include "island/Tabelle.h"

#include <algorithm>

namespace ondrix {

std::optional<long> LeggiContacolpi(Channel& ch, int corpo, int posizione)
{
    return contacolpiDaRisposta(InviaDialogo(ch, dialogo::LeggiContacolpi(testo(corpo), posizione)));
}

Contacolpi LeggiContacolpiIsola(Channel& ch, const Model& m)
{
    Contacolpi colpi;
    const int righe = std::clamp<int>(m.TotaleBobine, 0, MaxBobine);
    int riga = 0;
    for (int e = 1; e <= std::clamp<int>(m.NumEspansioni, 0, MaxEspansioni); ++e) {
        const Espansione& E = m.Espansioni(e);
        for (int j = 1; j <= E.NumBobine && riga < righe; ++j) {
            const ConfBobina& cb = m.ConfBobine(++riga);
            if (E.RevPic < firmware::CorpoAmministratore || cb.Indice == IndiceDisabilitato)
                continue;
            const auto d = rigaDiagnosi(m, cb.Indice);
            if (!d || !(selezionabile(m.Diagnosi(*d).Stato) || guasta(m.Diagnosi(*d).Stato)))
                continue;  // not present
            if (const auto n = LeggiContacolpi(ch, E.Numero, cb.Posizione))
                colpi[riga] = *n;
        }
    }
    return colpi;
}

} // namespace ondrix
