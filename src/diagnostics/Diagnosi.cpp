#include "diagnostics/Diagnosi.h"

#include "frame/Configuratore.h"
#include "frame/Gestori.h"
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

std::optional<char> letteraDiagnosi(std::string_view risposta, int indirizzo)
{
    for (const RecordDiagnosi& r : leggiDiagnosi(risposta).record)
        if (r.indice == indirizzo)
            return r.lettera;
    return std::nullopt;
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

void DiagnosiIsola(Configuratore& c)
{
    c.m.Risposta = c.invia("GET DIAGNOSI", "OK");
    const LetturaDiagnosi l = leggiDiagnosi(c.m.Risposta);
    int riga = 1;
    for (const RecordDiagnosi& r : l.record) {
        RigaDiagnosi& d = c.m.Diagnosi(riga++);
        d.Indice = r.indice;
        applicaLettera(d, r.lettera);
    }
    // What is left unread stays in Risposta, as after any cutting.
    c.m.Risposta.erase(0, l.letti);
}

void DiagnosiBobina(Configuratore& c, int Posizione, int Indirizzo)
{
    c.m.Risposta = c.invia("GET DIAGNOSI", "OK");
    // Rows 1..32 only: the sentinel stands for "not found" and must keep its values.
    if (Posizione < 1 || Posizione > MaxDiagnosi)
        return;
    if (auto lettera = letteraDiagnosi(c.m.Risposta, Indirizzo))
        applicaLettera(c.m.Diagnosi(Posizione), *lettera);
}

} // namespace ondrix
