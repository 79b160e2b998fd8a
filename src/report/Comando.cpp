#include "report/Comando.h"

#include "frame/Sessione.h"
#include "report/Contacolpi.h"

#include <QString>

namespace ondrix {

FileDialogRequest dialogoRapporto() { return {true, ".pdf", "(*.pdf)", "*.pdf"}; }

Rapporto rapportoIsola(Sessione& c, bool colpi)
{
    std::optional<Contacolpi> letti;
    if (colpi)
        letti = LeggiContacolpiIsola(c.ch, c.m);
    return componiRapporto(c.m, c.f, letti ? &*letti : nullptr, dataOraAdesso(), c.host.groupSeparator());
}

void Rapporto_Click(Sessione& c, const ScriviRapporto& scrivi)
{
    Host& h = c.host;
    std::string nome;
    if (!h.fileDialog(dialogoRapporto(), nome) || nome.empty())
        return;
    h.setBusyPointer(true);
    // The counters only in administrator mode, where the window shows them.
    const Rapporto r = rapportoIsola(c, c.f.TxtColpi.visible());
    const auto errore = scrivi(r, nome);
    h.setBusyPointer(false);
    h.messageBox(errore ? messaggioRapportoFallito(c.m.testi, nome, *errore) : c.m.testi.Messaggi(msg::Successo),
                 c.f.caption(), MessageButtons::Ok);
}

std::string messaggioRapportoFallito(const Testi& t, const std::string& file, const std::string& motivo)
{
    return QString::fromStdString(t.rapporto.Errore)
        .replace(QStringLiteral("{FILE}"), QString::fromStdString(file))
        .replace(QStringLiteral("{MOTIVO}"), QString::fromStdString(motivo))
        .toStdString();
}

} // namespace ondrix
