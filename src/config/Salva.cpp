// CmdSalva: the island's configuration to a file.

#include "config/Configurazione.h"

#include "config/File.h"
#include "config/Formato.h"
#include "frame/Sessione.h"

namespace ondrix {

std::optional<std::string> salvaConfigurazione(Sessione& c, const std::string& nome)
{
    return scriviFileSicuro(nome, scriviConfigurazione(c.m, c.f.PROFIBUS.caption(),
                                                       c.f.CmdTerminazione.caption()));
}

void CmdSalva_Click(Sessione& c)
{
    Host& h = c.host;
    const auto scelto = scegliFile(c, true);
    if (!scelto)
        return;
    const std::string& nome = *scelto;

    const auto errore = salvaConfigurazione(c, nome);

    h.setBusyPointer(false);
    if (errore) {
        h.messageBox(messaggioSalvataggioFallito(nome, *errore), c.f.caption(), MessageButtons::Ok);
        return;
    }
    h.messageBox(c.m.testi.Messaggi(msg::Successo), c.f.caption(), MessageButtons::Ok);
}

} // namespace ondrix
