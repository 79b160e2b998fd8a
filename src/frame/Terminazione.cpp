#include "frame/Terminazione.h"

#include "form/Form.h"
#include "island/Model.h"
#include "island/Regole.h"

namespace ondrix {

void MostraTerminazione(Form& f, const Testi& t, bool on)
{
    f.CmdTerminazione.setCaption(on ? t.CaptTerminazioneOff : t.CaptTerminazioneOn);
    f.ConnettoreProfibus.setFillColor(on ? colore::Rosso : colore::Nero);
}

void MostraBaudRate(Form& f, const Model& m)
{
    if (const auto testo = testoBaudRate(m, m.IndiceBaudRate))
        f.CmdTerminazione.setCaption(*testo);
}

} // namespace ondrix
