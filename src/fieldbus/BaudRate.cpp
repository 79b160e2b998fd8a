// The head's second button: the bus termination of a PROFIBUS island, the
// baud rate of a CANopen or DeviceNet island.

#include "fieldbus/Fieldbus.h"

#include "frame/Sessione.h"
#include "frame/Terminazione.h"
#include "island/Numeri.h"
#include "island/Regole.h"

namespace ondrix {

void CmdTerminazione_Click(Sessione& c)
{
    Form& f = c.f;
    const Model& m = c.m;
    if (m.Protocollo == protocollo::Profibus) {
        // The caption offers the next action.
        const bool on = f.CmdTerminazione.caption() == m.testi.CaptTerminazioneOn;
        c.invia(on ? dialogo::TerminazioneOn() : dialogo::TerminazioneOff());
        MostraTerminazione(f, m.testi, on);
    } else if (haBaudRate(m.Protocollo)) {
        const int mostrate = baudRateOfferti(m.Protocollo);
        f.FrmBaudRate.setCaption(m.testi.TitoloBaudRate + " " + nomeProtocollo(m.Protocollo));
        for (int k = 0; k < CodiciBaudRate; ++k) {
            f.Option1[k]->setCaption(*testoBaudRate(m, k));
            f.Option1[k]->setVisible(k < mostrate);
        }
        f.FrmBaudRate.setVisible(true);
    }
}

void CmdBaudRate_Click(Sessione& c)
{
    Form& f = c.f;
    Model& m = c.m;
    f.FrmBaudRate.setVisible(false);
    for (int k = 0; k < CodiciBaudRate; ++k)
        if (f.Option1[k]->value())
            m.IndiceBaudRate = static_cast<std::int16_t>(k);
    MostraBaudRate(f, m);
    c.invia(dialogo::SetBaudRate(m.IndiceBaudRate));
}

} // namespace ondrix
