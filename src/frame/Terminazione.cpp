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

bool terminazioneAccesa(std::string_view caption, const Testi& t) { return caption == t.CaptTerminazioneOff; }

std::optional<bool> terminazioneMostrata(const Model& m, const Form& f)
{
    if (m.Protocollo != protocollo::Profibus || m.RevAtmel < firmware::AtmelTerminazione)
        return std::nullopt;
    return terminazioneAccesa(f.CmdTerminazione.caption(), m.testi);
}

void MostraBaudRate(Form& f, const Model& m)
{
    if (const auto testo = testoBaudRate(m, m.IndiceBaudRate))
        f.CmdTerminazione.setCaption(*testo);
}

} // namespace ondrix
