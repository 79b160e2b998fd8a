// CmdSalva: the island's configuration to a file.

#include "config/File.h"
#include "config/Formato.h"
#include "frame/Configuratore.h"
#include "frame/Gestori.h"

namespace ondrix {

void CmdSalva_Click(Configuratore& c)
{
    Host& h = c.host;
    h.setBusyPointer(true);

    std::string nome = c.nomeFile;
    if (!h.fileDialog(dialogoConfigurazione(true), nome) || nome.empty()) {
        h.setBusyPointer(false);
        return;
    }
    c.nomeFile = nome;

    const std::string bytes =
        scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), c.f.CmdTerminazione.caption());
    const auto errore = scriviFileSicuro(nome, bytes);

    h.setBusyPointer(false);
    if (errore) {
        h.messageBox(messaggioSalvataggioFallito(nome, *errore), c.f.caption(), MessageButtons::Ok);
        return;
    }
    h.messageBox(c.m.testi.Messaggi(msg::Successo), c.f.caption(), MessageButtons::Ok);
}

} // namespace ondrix
