#include "frame/Configuratore.h"
#include "frame/Gestori.h"

// Placeholder until this subsystem is built.
namespace ondrix {
void Form_Load(Configuratore&) {}
void Form_Resize(Configuratore&) {}
void ScorriOrizzontale(Configuratore&) {}
void ScorriVerticale(Configuratore&) {}
} // namespace ondrix
