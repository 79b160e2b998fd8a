// CmdCarica: a configuration file checked against the island, then written to it.

#include "config/Configurazione.h"

#include "config/File.h"
#include "config/Formato.h"
#include "frame/Sessione.h"
#include "frame/Terminazione.h"
#include "island/Codifica.h"

namespace ondrix {

namespace {

// The model and window changes of the apply pass (after the disable pass).
void applicaModifiche(Sessione& c, const Piano& p)
{
    Model& m = c.m;
    m.IndirizzoSlave = p.IndirizzoSlave;
    for (int r = 1; r <= MaxBobine; ++r)
        m.ConfBobine(r) = p.ConfBobine[static_cast<std::size_t>(r - 1)];
    for (std::size_t k = 0; k < p.Diagnosi.size(); ++k)
        m.Diagnosi(static_cast<int>(k) + 1) = p.Diagnosi[k];

    if (p.terminazione != Terminazione::Nessuna)
        MostraTerminazione(c.f, m.testi, p.terminazione == Terminazione::On);
    if (p.IndiceBaudRate) {
        m.IndiceBaudRate = *p.IndiceBaudRate;
        MostraBaudRate(c.f, m);
    }
}

} // namespace

Caricamento caricaConfigurazione(Sessione& c, const std::string& nome)
{
    const FileLetto letto = leggiFileConfigurazione(nome);
    if (!letto.ok())
        return {Caricamento::Esito::Illeggibile, letto.errore};

    // Too large a file is no configuration: it is refused like one that differs.
    std::optional<Piano> piano;
    if (!letto.troppoGrande)
        piano = pianoApplicazione(righeDi(decodificaTesto(letto.bytes)), c.m);
    if (!piano)
        return {Caricamento::Esito::Rifiutato, {}};

    const std::span<const Scambio> scambi(piano->scambi);
    c.invia(scambi.first(piano->puntoModifiche));
    applicaModifiche(c, *piano);
    c.invia(scambi.subspan(piano->puntoModifiche));
    return {Caricamento::Esito::Scritto, {}};
}

bool CmdCarica_Click(Sessione& c)
{
    Host& h = c.host;
    const auto scelto = scegliFile(c, false);
    if (!scelto)
        return false;
    const std::string& nome = *scelto;

    const Caricamento esito = caricaConfigurazione(c, nome);
    if (esito.esito == Caricamento::Esito::Illeggibile) {
        h.setBusyPointer(false);
        h.messageBox(messaggioLetturaFallita(nome, esito.motivo), c.f.caption(), MessageButtons::Ok);
        return false;
    }
    if (esito.esito == Caricamento::Esito::Rifiutato) {
        h.messageBox(c.m.testi.Messaggi(msg::Configurazione), c.f.caption(), MessageButtons::Ok);
        h.setBusyPointer(false);
        return false;
    }

    h.setBusyPointer(false);
    h.messageBox(c.m.testi.Messaggi(msg::Successo), c.f.caption(), MessageButtons::Ok);
    return true;
}

} // namespace ondrix
