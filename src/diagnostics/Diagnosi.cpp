#include "diagnostics/Diagnosi.h"

#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Numeri.h"

namespace ondrix {

std::optional<char> letteraDiagnosi(std::string_view risposta, int indirizzo)
{
    for (const RecordDiagnosi& r : leggiDiagnosi(risposta).record)
        if (r.indice == indirizzo)
            return r.lettera;
    return std::nullopt;
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
