#include "island/Lettura.h"

#include "island/Dialoghi.h"
#include "island/Regole.h"
#include "island/Risposte.h"

#include <optional>

namespace ondrix {

namespace {

// The readout's steps: their exchanges and what they share.
class PassiLettura {
public:
    PassiLettura(Channel& ch, Model& m, SchermoLettura& s) : ch_(ch), m_(m), schermo_(s) {}

    void corpi()
    {
        std::string risposta = leggi(dialogo::GetValvolePresenti());
        LeggiValvolePresenti(risposta, m_);
    }

    void diagnosi()
    {
        std::string risposta = leggi(dialogo::GetDiagnosi());
        LeggiDiagnosi(risposta, m_);
    }

    void relax()
    {
        std::string risposta = leggi(dialogo::GetRelax());
        LeggiRelax(risposta, m_);
    }

    // The ATMEL caption follows the revision as soon as it is read, also
    // when a body line after it fails.
    void firmware()
    {
        std::string risposta = leggi(dialogo::GetRevFw());
        std::optional<std::string> testoAtmel;
        try {
            LeggiRevFw(risposta, m_, testoAtmel, revFwResto_);
        } catch (...) {
            if (testoAtmel)
                schermo_.revisioneAtmel(*testoAtmel);
            throw;
        }
        schermo_.revisioneAtmel(*testoAtmel);
    }

    // One exchange pair per present, de-energised coil.
    void statiValvole()
    {
        if (!leggeStatoValvole(m_))
            return;
        for (int i = 1; i <= MaxDiagnosi; ++i) {
            if (m_.Diagnosi(i).Stato != stato::Presente)
                continue;
            if (LeggiStatoValvola(InviaDialogo(ch_, dialogo::StatoValvola(m_.Diagnosi(i).Indice))))
                m_.Diagnosi(i).Stato = stato::Attivata;
        }
    }

    void interfaccia()
    {
        m_.Protocollo = protocollo::Profibus;
        if (!leggeInterfaccia(m_))
            return;
        std::string suffisso;
        const int p = ApplicaInterfaccia(LeggiInterfaccia(leggi(dialogo::Interfaccia())), m_, suffisso);
        if (p == 0)
            return;
        m_.Protocollo = static_cast<std::int16_t>(p);
        schermo_.interfaccia(suffisso);
        if (!haBaudRate(p))
            return;
        m_.IndiceBaudRate = LeggiBaudRate(leggi(dialogo::GetBaudRate()));
        schermo_.baudRate(m_.IndiceBaudRate);
    }

    // The module list is emptied first, and shown also when the reading
    // stops short.
    void ingressi()
    {
        m_.NumModuli = 0;
        m_.TotaleIngressi = 0;
        schermo_.moduli(m_);
        if (!leggeIngressi(m_))
            return;
        const std::string risposta = leggi(dialogo::GetDigitalInput());
        ingressiLetti_ = true;
        try {
            LeggiModuli(risposta, m_, revFwResto_);
        } catch (...) {
            schermo_.moduli(m_);
            throw;
        }
        schermo_.moduli(m_);
    }

    // After the input step ran, even when it found no module.
    void indirizziModuli()
    {
        if (!ingressiLetti_ || !leggeConf(m_))
            return;
        std::string risposta = leggi(dialogo::GetConf());
        LeggiIndirizziModuli(risposta, m_);
    }

private:
    std::string leggi(const Dialogo& domanda) { return InviaDialogo(ch_, domanda); }

    Channel& ch_;
    Model& m_;
    SchermoLettura& schermo_;
    std::string revFwResto_;  // the firmware lines of the input modules
    bool ingressiLetti_ = false;
};

} // namespace

void LetturaConfigurazione(Channel& ch, Model& m, SchermoLettura& schermo)
{
    PassiLettura passi(ch, m, schermo);
    PassoAvvio([&] { passi.corpi(); });
    PassoAvvio([&] { passi.diagnosi(); });
    PassoAvvio([&] { passi.relax(); });
    PassoAvvio([&] { passi.firmware(); });
    PassoAvvio([&] { schermo.corpi(m); });
    PassoAvvio([&] { passi.statiValvole(); });
    PassoAvvio([&] { passi.interfaccia(); });
    PassoAvvio([&] { passi.ingressi(); });
    PassoAvvio([&] { passi.indirizziModuli(); });
}

bool StatoTerminazione(Channel& ch)
{
    return LeggiTerminazione(InviaDialogo(ch, dialogo::StatoTerminazione()));
}

std::vector<RecordConf> ConfDelCorpo(Channel& ch, const Model& m, int corpo)
{
    std::string risposta = InviaDialogo(ch, dialogo::GetConf());
    return RecordsGetConf(risposta, m, corpo);
}

} // namespace ondrix
