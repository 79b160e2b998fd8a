// The input poll: on each tick of Timer1, while the inputs are shown.

#include "diagnostics/Polling.h"

#include "frame/Sessione.h"
#include "island/Regole.h"
#include "island/Risposte.h"

namespace ondrix {

void Timer1_Timer(Sessione& c, const std::function<void()>& ridisegna)
{
    if (!c.f.OptInput.value())
        return;
    if (revTesta(c.m) >= firmware::TestaIngressi)
        applicaIngressi(c.m, LeggiStatiIngressi(c.invia(dialogo::GetDigitalInput()), numeriPerModulo(c.m)));
    ridisegna();
}

} // namespace ondrix
