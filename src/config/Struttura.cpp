#include "config/Struttura.h"

#include "island/Model.h"
#include "island/Regole.h"

namespace ondrix {

const char* primaIntestazione(Disposizione d)
{
    return d == Disposizione::Corrente ? IntestazioneModuli : IntestazioneProtocollo;
}

std::optional<Disposizione> disposizioneDi(std::string_view primaRiga)
{
    for (Disposizione d : {Disposizione::Corrente, Disposizione::SenzaModuli})
        if (primaRiga == primaIntestazione(d))
            return d;
    return std::nullopt;
}

void percorriFile(PercorsoFile& p, Disposizione d)
{
    const auto righe = [&](Voce voce, int n) {
        for (int k = 1; k <= n; ++k)
            p.valore(voce, k);
    };
    if (d == Disposizione::Corrente) {
        righe(Voce::NumeroModuli, 1);
        p.intestazione(IntestazioneRigheModuli);
        righe(Voce::Modulo, MaxModuli);
        p.intestazione(IntestazioneProtocollo);
    }
    righe(Voce::Protocollo, 1);
    righe(Voce::NomeProtocollo, 1);
    p.intestazione(IntestazioneIndirizzo);
    righe(Voce::Indirizzo, 1);
    p.intestazione(IntestazioneTotaleBobine);
    righe(Voce::TotaleBobine, 1);
    p.intestazione(IntestazioneEspansioni);
    righe(Voce::NumeroEspansioni, 1);
    p.intestazione(IntestazioneRigheEspansioni);
    righe(Voce::Espansione, p.espansioni());
    p.intestazione(IntestazioneBobine);
    righe(Voce::Bobina, MaxBobine);
    const int protocollo = p.protocollo();
    if (protocollo == protocollo::Profibus) {
        p.intestazione(IntestazioneTerminazione);
        righe(Voce::Terminazione, 1);
    } else if (haBaudRate(protocollo)) {
        p.intestazione(IntestazioneBaudRate);
        righe(Voce::BaudRate, 1);
        righe(Voce::TestoBaudRate, 1);
    }
}

} // namespace ondrix
