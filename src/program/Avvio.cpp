// Start-up: texts, legend, model re-initialisation, version, port search,
// service mode, slave address, configuration readout, input panel, head.

#include "program/Avvio.h"

#include "channel/Ricerca.h"
#include "island/Lettura.h"
#include "island/Regole.h"
#include "island/Risposte.h"
#include "program/Configuratore.h"
#include "program/Porte.h"
#include "program/Testi.h"
#include "view/Vista.h"

#include "Versione.h"

#include <cstdio>

namespace ondrix {

namespace {

// The port search, shown in the window while it runs (in the label where the
// island's address will stand). Returns with the island's port open, or ends
// the program.
void cercaPorta(Configuratore& c)
{
    Form& f = c.f;
    const Testi& t = c.m.testi;
    const std::string captionProfibus = f.PROFIBUS.caption();
    c.inRicerca = true;
    const Ricerca r = cercaIsola(
        c.host, c.port, c.porteRicerca, t.Ritardo,
        [&](const std::vector<const EsitoPorta*>& inProva) {
            f.PROFIBUS.setCaption(testoRicerca(t, inProva));
        },
        [&] { return c.ricercaInterrotta; });
    c.inRicerca = false;
    f.PROFIBUS.setCaption(captionProfibus);
    // Closed during the search: nothing was sent to an island, no service
    // mode to leave.
    if (r.interrotta)
        c.host.endProgram(0);
    for (const std::string& nota : noteBlocchi(t, r))
        std::fprintf(stderr, "%s\n", nota.c_str());
    bool aperta = false;
    if (r.numero) {
        c.port.setPortNumber(*r.numero);
        try {
            aperta = c.port.open();
        } catch (const PortError&) {
            aperta = false;
        }
    }
    if (aperta)
        return;
    // Every port's outcome, for a helpdesk to ask for.
    for (const std::string& riga : tabellaPorte(t, r))
        std::fprintf(stderr, "%s\n", riga.c_str());
    c.host.messageBox(messaggioNessunaIsola(t, r), f.caption(), MessageButtons::Ok);
    c.host.endProgram(StatoTimeout);
}

// The readout as the window shows it.
class SchermoForm : public SchermoLettura {
public:
    explicit SchermoForm(Form& f) : f_(f) {}

    void revisioneAtmel(const std::string& testo) override
    {
        f_.ATMEL.setCaption(finoAlDuePunti(f_.ATMEL.caption()) + testo);
    }
    void corpi(const Model& m) override
    {
        f_.Combo1.clearList();
        for (int i = 1; i <= m.NumEspansioni; ++i)
            f_.Combo1.addItem(testo(m.Espansioni(i).Numero), i - 1);
    }
    void interfaccia(const std::string& suffisso) override { f_.setCaption(f_.caption() + suffisso); }
    void baudRate(int codice) override { f_.Option1[static_cast<std::size_t>(codice)]->setValue(true); }
    void moduli(const Model& m) override
    {
        f_.Combo2.clearList();
        for (int k = 1; k <= m.NumModuli; ++k)
            f_.Combo2.addItem(" " + testo(k), k - 1);
    }

private:
    Form& f_;
};

} // namespace

void Form_Activate(Configuratore& c)
{
    Model& m = c.m;
    Form& f = c.f;

    // Busy pointer, texts.
    c.host.setBusyPointer(true);
    CaricaTesti(c.host, f, m.testi);

    // Legend colours.
    f.Shape1.setFillColor(*coloreStato(stato::Attivata));
    f.Shape2.setFillColor(*coloreStato(stato::Presente));
    f.Shape3.setFillColor(*coloreStato(stato::Assente));
    f.Shape4.setFillColor(ColoreDisabilitata);
    f.Shape5.setFillColor(*coloreStato(stato::GuastaC));

    // Model re-initialisation.
    for (int i = 1; i <= MaxDiagnosi; ++i)
        m.Diagnosi(i).Indice = IndiceAssente;
    m.Moduli.fill(Modulo{-1, -1, -1, -1, -1});
    m.Diagnosi(RigaSentinella) = RigaDiagnosi{IndiceSentinella, stato::Assente, 0};
    m.IndirizzoSlave.reset();

    // Version.
    f.Software.setCaption(finoAlDuePunti(f.Software.caption()) + Versione);

    // Port search, only when no port is open yet.
    if (!c.port.isOpen())
        cercaPorta(c);

    // Port in the Software caption.
    f.Software.setCaption(f.Software.caption() + " (" +
                          nomePorta(c.port.portNumber(), c.port.device()) + ")");

    // Service mode; the reply is not examined.
    c.servizio = true;
    c.invia(dialogo::EnterSv());

    // Slave address.
    PassoAvvio([&] {
        const std::string indirizzo = LeggiIndirizzoSlave(c.invia(dialogo::GetSlaveAddress()));
        f.PROFIBUS.setCaption(finoAlDuePunti(f.PROFIBUS.caption()) + indirizzo);
        m.IndirizzoSlave = interoOpzionale(indirizzo);
    });

    // Configuration readout (each of its steps skips itself on failure).
    SchermoForm schermo(f);
    LetturaConfigurazione(c.ch, m, schermo);

    // Input panel.
    PassoAvvio([&] {
        if (m.TotaleIngressi != 0) {
            f.Combo2.setText("1");
        } else {
            f.OptInput.setVisible(false);
            f.OptOutput.setVisible(false);
            f.Combo2.setVisible(false);
            f.Label1.setVisible(false);
        }
    });

    // The head.
    PassoAvvio([&] {
        if (m.NumEspansioni != 0)
            DisegnaEspansione(c, 0);
    });

    c.host.setBusyPointer(false);
}

} // namespace ondrix
