#pragma once
// Expansion drawing: one body of the island in the output panel, its coil
// buttons coloured by state, the supply warning, the termination / baud-rate
// button of the head and the re-check of interrupted coils.

#include <cstdint>
#include <string>
#include <vector>

namespace ondrix {

struct Configuratore;
struct Model;

// DisegnaEspansione as the start-up calls it: its exchanges raise a port
// error as PortError (the start-up skips the step) instead of ending the
// program. Time-outs end the program in both.
void DisegnaEspansioneAvvio(Configuratore& c, int Indice);

// One coil record of a "GET CONF" reply as the re-check reads it.
struct RecordConf {
    int posizione;  // first value, rounded (the coil's position on its body)
    int indice;     // second value, rounded
};

// The coil records of body `corpo` (1-based row of Espansioni) in a "GET CONF"
// reply, the bodies laid out by the NumBobine of rows 1..NumEspansioni. R is
// cut in place. A reply that stops making sense ends the reading quietly with
// the records read so far; a value too large for 16 bits is left out.
std::vector<RecordConf> RecordsGetConf(std::string& R, const Model& m, int corpo);

} // namespace ondrix
