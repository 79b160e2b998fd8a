#include "frame/Terminazione.h"

#include "form/Form.h"
#include "island/Model.h"

namespace ondrix {

void MostraTerminazione(Form& f, const Testi& t, bool on)
{
    f.CmdTerminazione.setCaption(on ? t.CaptTerminazioneOff : t.CaptTerminazioneOn);
    f.ConnettoreProfibus.setFillColor(on ? colore::Rosso : colore::Nero);
}

} // namespace ondrix
