// Start-up: texts, legend, model re-initialisation, version, port search,
// service mode, slave address, configuration readout, input panel, head.

#include "program/Avvio.h"

#include "frame/Sessione.h"
#include "island/Lettura.h"
#include "island/Regole.h"
#include "island/Risposte.h"
#include "program/Configuratore.h"
#include "program/Testi.h"
#include "view/Vista.h"

namespace ondrix {

namespace {

// Ports 1..16 in order; the first one where the link check answers stays open.
bool cercaPorta(Channel& ch)
{
    SerialPort& port = ch.port();
    for (int n = 1; n <= 16; ++n) {
        bool aperta = false;
        try {
            port.setPortNumber(n);
            aperta = port.open();
        } catch (const PortError&) {
            aperta = false;
        }
        if (!aperta)
            continue;  // no such port, or in use
        bool risponde = false;
        try {
            risponde = ch.ProvaCollegamento();
        } catch (const PortError&) {
            risponde = false;
        }
        if (risponde)
            return true;
        try {
            port.close();
        } catch (const PortError&) {
        }
    }
    return false;
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

void Form_Activate(Sessione& c)
{
    Model& m = c.m;
    Form& f = c.f;

    // 1-2. Busy pointer, texts.
    c.host.setBusyPointer(true);
    CaricaTesti(c.host, f, m.testi);

    // 3. Legend colours.
    f.Shape1.setFillColor(*coloreStato(stato::Attivata));
    f.Shape2.setFillColor(*coloreStato(stato::Presente));
    f.Shape3.setFillColor(*coloreStato(stato::Assente));
    f.Shape4.setFillColor(ColoreDisabilitata);
    f.Shape5.setFillColor(*coloreStato(stato::GuastaC));

    // 4. Model re-initialisation.
    for (int i = 1; i <= MaxDiagnosi; ++i)
        m.Diagnosi(i).Indice = IndiceAssente;
    m.Moduli.fill(Modulo{-1, -1, -1, -1, -1});
    m.Diagnosi(RigaSentinella) = RigaDiagnosi{IndiceSentinella, stato::Assente, 0};

    // 5. Version.
    f.Software.setCaption(finoAlDuePunti(f.Software.caption()) + testo(VersioneMajor) + "." +
                          testo(VersioneMinor) + "." + testo(VersioneRevision));

    // 6. Port search, only when no port is open yet.
    bool nessunaPorta = false;
    PassoAvvio([&] {
        if (!c.ch.port().isOpen() && !cercaPorta(c.ch))
            nessunaPorta = true;
    });
    if (nessunaPorta) {
        c.host.messageBox(m.testi.MessaggioTimeout(), f.caption(), MessageButtons::Ok);
        c.host.endProgram(StatoTimeout);
    }

    // 7. Port in the Software caption.
    PassoAvvio([&] { f.Software.setCaption(f.Software.caption() + " (COM" + testo(c.ch.port().portNumber()) + ")"); });

    // 8. Service mode; the reply is not examined.
    PassoAvvio([&] { c.ch.InviaComandoOppureErrore("ENTER SV", "OK"); });

    // 9. Slave address.
    PassoAvvio([&] {
        m.Risposta = c.ch.InviaComandoOppureErrore("GET SLAVE ADDRESS", "OK");
        const std::string indirizzo = LeggiIndirizzoSlave(m.Risposta);
        f.PROFIBUS.setCaption(finoAlDuePunti(f.PROFIBUS.caption()) + indirizzo);
    });

    // 10. Configuration readout (each of its steps skips itself on failure).
    SchermoForm schermo(f);
    LetturaConfigurazione(c.ch, m, schermo);

    // 11. Input panel.
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

    // 12. The head.
    PassoAvvio([&] {
        if (m.NumEspansioni != 0)
            DisegnaEspansione(c, 0, &Channel::InviaComandoOppureErrore);
    });

    // 13. Done.
    c.host.setBusyPointer(false);
}

} // namespace ondrix
