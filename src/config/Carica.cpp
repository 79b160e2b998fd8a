// CmdCarica: a configuration file checked against the island, then written to it.

#include "config/File.h"
#include "config/Formato.h"
#include "frame/Configuratore.h"
#include "frame/Gestori.h"

namespace ondrix {

namespace {

// The model and window changes of the apply pass (after the disable pass).
void applicaModifiche(Configuratore& c, const Piano& p)
{
    Model& m = c.m;
    for (int r = 1; r <= MaxBobine; ++r)
        m.ConfBobine(r) = p.ConfBobine[static_cast<std::size_t>(r - 1)];
    for (std::size_t k = 0; k < p.Diagnosi.size(); ++k)
        m.Diagnosi(static_cast<int>(k) + 1) = p.Diagnosi[k];

    if (p.terminazione == Terminazione::On) {
        c.f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOff);
        c.f.ConnettoreProfibus.setFillColor(colore::Rosso);
    } else if (p.terminazione == Terminazione::Off) {
        c.f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOn);
        c.f.ConnettoreProfibus.setFillColor(colore::Nero);
    }
    if (p.IndiceBaudRate) {
        m.IndiceBaudRate = *p.IndiceBaudRate;
        c.f.CmdTerminazione.setCaption(m.TestiBaudRate(m.IndiceBaudRate + 1));
    }
}

} // namespace

void CmdCarica_Click(Configuratore& c)
{
    Host& h = c.host;
    h.setBusyPointer(true);

    std::string nome = c.nomeFile;
    if (!h.fileDialog(dialogoConfigurazione(false), nome) || nome.empty()) {
        h.setBusyPointer(false);
        return;
    }
    c.nomeFile = nome;

    const FileLetto letto = leggiFileConfigurazione(nome);
    if (!letto.ok()) {
        h.setBusyPointer(false);
        h.messageBox(messaggioLetturaFallita(nome, letto.errore), c.f.caption(),
                     MessageButtons::Ok);
        return;
    }

    // Too large a file is no configuration: it is refused like one that differs.
    std::optional<Piano> piano;
    if (!letto.troppoGrande)
        piano = pianoApplicazione(righeDi(decodificaFile(letto.bytes)), c.m);
    if (!piano) {
        h.messageBox(c.m.testi.Messaggi(msg::Configurazione), c.f.caption(), MessageButtons::Ok);
        h.setBusyPointer(false);
        return;
    }

    for (std::size_t i = 0; i <= piano->scambi.size(); ++i) {
        if (i == piano->puntoModifiche)
            applicaModifiche(c, *piano);
        if (i < piano->scambi.size())
            c.m.Risposta = c.invia(piano->scambi[i].comando, piano->scambi[i].atteso);
    }

    h.setBusyPointer(false);
    h.messageBox(c.m.testi.Messaggi(msg::Successo), c.f.caption(), MessageButtons::Ok);
    Form_Activate(c);
}

} // namespace ondrix
