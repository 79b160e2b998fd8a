#pragma once
// The island's dialogues, each described once: every line the configurator
// sends and the text it awaits after it. A command that takes arguments is
// answered by a prompt ("INDICE:", "ESP:", "POS:", "NUM:", "OLD ADDR",
// "NEW ADDR"), each argument by the next prompt and the last line by "OK".
// Numbers go as plain decimal text, the baud-rate code with a leading space;
// the relax list ends with the line "1000". The handlers, the readout and
// the load's plan all send these, so a line on the wire is written here
// alone.

#include <span>
#include <string>
#include <vector>

namespace ondrix {

class Channel;

// One line of a dialogue and the text awaited after it.
struct Scambio {
    std::string comando;
    std::string atteso;
    friend bool operator==(const Scambio&, const Scambio&) = default;
};

using Dialogo = std::vector<Scambio>;

// Sends the lines in order through InviaComando; the reply to the last one
// (empty when there is no line).
std::string InviaDialogo(Channel& ch, std::span<const Scambio> righe);

namespace dialogo {

// Service mode.
Dialogo EnterSv();
Dialogo ExitSv();

// The readout's questions, one line each, awaiting "OK".
Dialogo GetSlaveAddress();
Dialogo GetValvolePresenti();
Dialogo GetDiagnosi();
Dialogo GetRelax();
Dialogo GetRevFw();
Dialogo Interfaccia();
Dialogo GetBaudRate();
Dialogo GetDigitalInput();
Dialogo GetConf();
Dialogo StatoTerminazione();
Dialogo StatoValvola(int indice);
// The stroke counter of the coil at posizione on body corpo (its number as
// the body list shows it).
Dialogo LeggiContacolpi(const std::string& corpo, int posizione);

// Valves: CLOSE energises a coil, OPEN de-energises it.
Dialogo CloseValvola(const std::string& indice);
Dialogo OpenValvola(const std::string& indice);
Dialogo CloseAll();
Dialogo OpenAll();

// A coil out of service, and back at posizione of body corpo with its new index.
Dialogo DisableValvola(const std::string& indice);
Dialogo EnableValvola(const std::string& corpo, const std::string& posizione, int indice);

// The indexes of every coil with relax on: the whole list each time.
Dialogo SetRelax(std::span<const int> indici);
Dialogo ZeroContacolpi(const std::string& corpo, int posizione);
Dialogo Clear();

// Fieldbus settings.
Dialogo SetSlaveAddress(int indirizzo);
Dialogo SetBaudRate(int codice);
Dialogo TerminazioneOn();
Dialogo TerminazioneOff();
// The input modules: all of them off, then each moved to its new address.
Dialogo DisableDigital();
Dialogo EnableDigital(int vecchio, int nuovo);

} // namespace dialogo

} // namespace ondrix
