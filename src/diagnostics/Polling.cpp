// The input poll: on each tick of Timer1, while the inputs are shown.

#include "diagnostics/Diagnosi.h"

#include "frame/Sessione.h"
#include "island/Regole.h"
#include "island/Risposte.h"
#include "view/Vista.h"

#include <string>

namespace ondrix {

void Timer1_Timer(Sessione& c)
{
    if (!c.f.OptInput.value())
        return;
    if (revTesta(c.m) >= firmware::TestaIngressi) {
        const std::string r = c.invia(dialogo::GetDigitalInput());
        applicaIngressi(c.m, LeggiStatiIngressi(r, numeriPerModulo(c.m)));
    }
    if (auto indice = moduloScelto(c.f))
        DisegnaInput(c.m, c.f, *indice);
}

} // namespace ondrix
