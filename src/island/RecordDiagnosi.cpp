#include "island/RecordDiagnosi.h"

#include "island/Numeri.h"

namespace ondrix {

LetturaDiagnosi leggiDiagnosi(std::string_view risposta)
{
    LetturaDiagnosi out;
    if (risposta.size() < IntestazioneDiagnosi) {
        out.letti = 0;
        return out;
    }
    std::size_t pos = IntestazioneDiagnosi;
    out.letti = pos;
    while (out.record.size() < static_cast<std::size_t>(MaxDiagnosi)) {
        const std::size_t tab = risposta.find('\t', pos);
        if (tab == std::string_view::npos)
            return out;
        // The letter follows the TAB directly; the record ends at its CR.
        const std::size_t cr = risposta.find('\r', tab + 1);
        if (cr == std::string_view::npos)
            return out;
        RecordDiagnosi r;
        try {
            r.indice = intero(risposta.substr(pos, tab - pos));
        } catch (const ParseError&) {
            return out;
        }
        r.lettera = risposta[tab + 1];
        out.record.push_back(r);
        pos = cr + 1;
        out.letti = pos;
    }
    out.completa = true;
    return out;
}

bool applicaLettera(RigaDiagnosi& riga, char lettera)
{
    switch (lettera) {
    case 'A':
        riga.Stato = stato::Assente;
        riga.Indice = IndiceAssente;
        return true;
    case 'P':
        riga.Stato = stato::Presente;
        return true;
    case 'C':
        riga.Stato = stato::GuastaC;
        return true;
    case 'I':
        riga.Stato = stato::GuastaI;
        return true;
    default:
        return false;
    }
}

} // namespace ondrix
