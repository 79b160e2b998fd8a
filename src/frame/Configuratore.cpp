#include "frame/Configuratore.h"

namespace ondrix {

Configuratore::Configuratore(Host& h, SerialPort& p)
    : host(h), port(p), ch(p, h, m.testi, [this] { return f.caption(); })
{
}

} // namespace ondrix
