#include "frame/Configuratore.h"
#include "frame/Gestori.h"
#include "island/Numeri.h"

namespace ondrix {

void CmdTerminazione_Click(Configuratore& c)
{
    Form& f = c.f;
    const Model& m = c.m;
    switch (m.Protocollo) {
    case 1:  // PROFIBUS: the caption offers the next action
        if (f.CmdTerminazione.caption() == m.testi.CaptTerminazioneOn) {
            c.m.Risposta = c.invia("TERMINAZIONE ON", "OK");
            f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOff);
            f.ConnettoreProfibus.setFillColor(colore::Rosso);
        } else {
            c.m.Risposta = c.invia("TERMINAZIONE OFF", "OK");
            f.CmdTerminazione.setCaption(m.testi.CaptTerminazioneOn);
            f.ConnettoreProfibus.setFillColor(colore::Nero);
        }
        break;
    case 2:  // CANOPEN: eight rates
    case 3:  // DEVICENET: three rates
    {
        const int mostrate = m.Protocollo == 2 ? 8 : 3;
        f.FrmBaudRate.setCaption(m.Protocollo == 2 ? "BAUD RATE CANOPEN" : "BAUD RATE DEVICENET");
        for (int k = 0; k < 8; ++k) {
            f.Option1[k]->setCaption(m.TestiBaudRate(k + 1));
            f.Option1[k]->setVisible(k < mostrate);
        }
        f.FrmBaudRate.setVisible(true);
        break;
    }
    default:
        break;
    }
}

void CmdBaudRate_Click(Configuratore& c)
{
    Form& f = c.f;
    Model& m = c.m;
    f.FrmBaudRate.setVisible(false);
    for (int k = 0; k < 8; ++k)
        if (f.Option1[k]->value())
            m.IndiceBaudRate = static_cast<std::int16_t>(k);
    // An index the island reported outside 0..7 has no text to show.
    if (m.TestiBaudRate.valid(m.IndiceBaudRate + 1))
        f.CmdTerminazione.setCaption(m.TestiBaudRate(m.IndiceBaudRate + 1));
    m.Risposta = c.invia("SET BAUD RATE", "NUM:");
    m.Risposta = c.invia(testoConSegno(m.IndiceBaudRate), "OK");
}

} // namespace ondrix
