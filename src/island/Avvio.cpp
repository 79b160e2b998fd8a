// Start-up: texts, legend, model re-initialisation, version, port search,
// service mode, slave address, configuration readout, input panel, head.
// Runs on the first activation of the window and again after a configuration
// has been loaded (the port is then open and the search is skipped).

#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Lettura.h"
#include "island/Risorse.h"
#include "view/Espansione.h"

namespace ondrix {

namespace {

// Ports 1..16 in order; the first one where the link check answers stays open.
bool cercaPorta(Configuratore& c)
{
    for (int n = 1; n <= 16; ++n) {
        bool aperta = false;
        try {
            c.port.setPortNumber(n);
            aperta = c.port.open();
        } catch (const PortError&) {
            aperta = false;
        }
        if (!aperta)
            continue;  // no such port, or in use
        bool risponde = false;
        try {
            risponde = c.ch.ProvaCollegamento();
        } catch (const PortError&) {
            risponde = false;
        }
        if (risponde)
            return true;
        try {
            c.port.close();
        } catch (const PortError&) {
        }
    }
    return false;
}

} // namespace

void Form_Activate(Configuratore& c)
{
    Model& m = c.m;
    Form& f = c.f;

    // 1-2. Busy pointer, texts.
    c.host.setBusyPointer(true);
    CaricaTesti(c);

    // 3. Legend colours.
    f.Shape1.setFillColor(colore::Verde);
    f.Shape2.setFillColor(colore::Arancio);
    f.Shape3.setFillColor(colore::Grigio);
    f.Shape4.setFillColor(colore::GialloPallido);
    f.Shape5.setFillColor(colore::Rosso);

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
        if (!c.port.isOpen() && !cercaPorta(c))
            nessunaPorta = true;
    });
    if (nessunaPorta) {
        c.host.messageBox(m.testi.Messaggi(msg::Timeout1) + "\r\n" + m.testi.Messaggi(msg::Timeout2),
                          f.caption(), MessageButtons::Ok);
        c.host.endProgram(StatoTimeout);
    }

    // 7. Port in the Software caption.
    PassoAvvio([&] { f.Software.setCaption(f.Software.caption() + " (COM" + testo(c.port.portNumber()) + ")"); });

    // 8. Service mode; the reply is not examined.
    PassoAvvio([&] { c.ch.InviaComandoOppureErrore("ENTER SV", "OK"); });

    // 9. Slave address.
    PassoAvvio([&] {
        m.Risposta = c.ch.InviaComandoOppureErrore("GET SLAVE ADDRESS", "OK");
        const std::string indirizzo = LeggiIndirizzoSlave(m.Risposta);
        f.PROFIBUS.setCaption(finoAlDuePunti(f.PROFIBUS.caption()) + indirizzo);
    });

    // 10. Configuration readout (each of its steps skips itself on failure).
    LetturaConfigurazione(c);

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
            DisegnaEspansioneAvvio(c, 0);
    });

    // 13. Done.
    c.host.setBusyPointer(false);
}

} // namespace ondrix
