#pragma once
// The start-up: texts, legend, model re-initialisation, version, port search,
// service mode, slave address, configuration readout, input panel, head. It
// runs on the first activation of the window and again after a configuration
// has been loaded (the port is then open and the search is skipped).

namespace ondrix {

struct Configuratore;

void Form_Activate(Configuratore& c);

} // namespace ondrix
