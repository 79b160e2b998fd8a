#include "island/Diagnosi.h"

#include "channel/Channel.h"
#include "island/Dialoghi.h"
#include "island/Model.h"
#include "island/Risposte.h"

namespace ondrix {

void DiagnosiIsola(Channel& ch, Model& m)
{
    std::string risposta = InviaDialogo(ch, dialogo::GetDiagnosi());
    LeggiDiagnosi(risposta, m);
}

void DiagnosiBobina(Channel& ch, Model& m, int Posizione, int Indirizzo)
{
    const std::string risposta = InviaDialogo(ch, dialogo::GetDiagnosi());
    // Rows 1..32 only: the sentinel stands for "not found" and must keep its values.
    if (Posizione < 1 || Posizione > MaxDiagnosi)
        return;
    if (auto lettera = letteraDiagnosi(risposta, Indirizzo))
        applicaLettera(m.Diagnosi(Posizione), *lettera);
}

} // namespace ondrix
