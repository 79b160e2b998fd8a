#pragma once
// The configuration readout: the island's lists (bodies and coils, diagnosis,
// relax, firmware, valve states, interface, baud rate, digital inputs, module
// addresses) read into the island model, each step with its firmware gate.
// What the window shows of it is told to a SchermoLettura as soon as it is
// read, so the window keeps what a later step that fails does not undo.

#include "channel/Channel.h"
#include "island/Model.h"
#include "island/Numeri.h"
#include "island/Risposte.h"

#include <string>
#include <vector>

namespace ondrix {

// Runs one step of the start-up: a step that fails on a reply it cannot read
// (ParseError) or a row outside its table (OutOfBounds) is abandoned silently
// and the caller goes on with the next. A lost or silent port is no skipped
// step: the channel ends the program as a time-out does.
template <typename F>
void PassoAvvio(F&& f)
{
    try {
        f();
    } catch (const ParseError&) {
    } catch (const OutOfBounds&) {
    }
}

// What the window shows of the readout.
class SchermoLettura {
public:
    virtual ~SchermoLettura() = default;
    // The revision of the main controller, as the island printed it.
    virtual void revisioneAtmel(const std::string& testo) = 0;
    // The bodies read (Espansioni 1..NumEspansioni), for the body list.
    virtual void corpi(const Model& m) = 0;
    // The interface named: the caption suffix (" - CANOPEN").
    virtual void interfaccia(const std::string& suffisso) = 0;
    // The baud-rate code read (0..7).
    virtual void baudRate(int codice) = 0;
    // The modules read (NumModuli), for the module list; also when the list
    // was cut short.
    virtual void moduli(const Model& m) = 0;
};

// Runs the whole readout. Each step that fails (ParseError, OutOfBounds) is
// skipped and the next one runs; a time-out or a lost port ends the program.
void LetturaConfigurazione(Channel& ch, Model& m, SchermoLettura& schermo);

// The exchanges of the body drawing.
// "STATO TERMINAZIONE": whether the bus termination is on.
bool StatoTerminazione(Channel& ch);
// "GET CONF": the coil records of body corpo (1-based row of Espansioni).
std::vector<RecordConf> ConfDelCorpo(Channel& ch, const Model& m, int corpo);

} // namespace ondrix
