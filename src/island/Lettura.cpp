#include "island/Lettura.h"

#include "island/Regole.h"
#include "island/Risposte.h"

#include <optional>

namespace ondrix {

namespace {

// The readout's exchanges and what they share between steps.
class Lettura {
public:
    Lettura(Channel& ch, Model& m, SchermoLettura& s) : ch_(ch), m_(m), schermo_(s) {}

    void corpi()
    {
        leggi("GET VALVOLE PRESENTI");
        LeggiValvolePresenti(m_.Risposta, m_);
    }

    void diagnosi()
    {
        leggi("GET DIAGNOSI");
        LeggiDiagnosi(m_.Risposta, m_);
    }

    void relax()
    {
        leggi("GET RELAX");
        LeggiRelax(m_.Risposta, m_);
    }

    // The ATMEL caption follows the revision as soon as it is read, also
    // when a body line after it fails.
    void firmware()
    {
        leggi("GET REV FW");
        std::optional<std::string> testoAtmel;
        try {
            LeggiRevFw(m_.Risposta, m_, testoAtmel, revFwResto_);
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
            ch_.InviaComando("STATO VALVOLA", "INDICE:");
            m_.Risposta = ch_.InviaComando(testo(m_.Diagnosi(i).Indice), "OK");
            if (LeggiStatoValvola(m_.Risposta))
                m_.Diagnosi(i).Stato = stato::Attivata;
        }
    }

    void interfaccia()
    {
        m_.Protocollo = protocollo::Profibus;
        if (!leggeInterfaccia(m_))
            return;
        leggi("INTERFACCIA");
        std::string suffisso;
        const int p = ApplicaInterfaccia(LeggiInterfaccia(m_.Risposta), m_, suffisso);
        if (p == 0)
            return;
        m_.Protocollo = static_cast<std::int16_t>(p);
        schermo_.interfaccia(suffisso);
        if (!haBaudRate(p))
            return;
        leggi("GET BAUD RATE");
        m_.IndiceBaudRate = LeggiBaudRate(m_.Risposta);
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
        leggi("GET DIGITAL INPUT");
        ingressiLetti_ = true;
        try {
            LeggiModuli(m_.Risposta, m_, revFwResto_);
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
        leggi("GET CONF");
        LeggiIndirizziModuli(m_.Risposta, m_);
    }

private:
    void leggi(const std::string& comando) { m_.Risposta = ch_.InviaComando(comando, "OK"); }

    Channel& ch_;
    Model& m_;
    SchermoLettura& schermo_;
    std::string revFwResto_;  // the firmware lines of the input modules
    bool ingressiLetti_ = false;
};

} // namespace

void LetturaConfigurazione(Channel& ch, Model& m, SchermoLettura& schermo)
{
    Lettura l(ch, m, schermo);
    PassoAvvio([&] { l.corpi(); });
    PassoAvvio([&] { l.diagnosi(); });
    PassoAvvio([&] { l.relax(); });
    PassoAvvio([&] { l.firmware(); });
    PassoAvvio([&] { schermo.corpi(m); });
    PassoAvvio([&] { l.statiValvole(); });
    PassoAvvio([&] { l.interfaccia(); });
    PassoAvvio([&] { l.ingressi(); });
    PassoAvvio([&] { l.indirizziModuli(); });
}

bool StatoTerminazione(Channel& ch, Model& m)
{
    m.Risposta = ch.InviaComando("STATO TERMINAZIONE", "OK");
    return LeggiTerminazione(m.Risposta);
}

std::vector<RecordConf> ConfDelCorpo(Channel& ch, Model& m, int corpo)
{
    m.Risposta = ch.InviaComando("GET CONF", "OK");
    return RecordsGetConf(m.Risposta, m, corpo);
}

} // namespace ondrix
