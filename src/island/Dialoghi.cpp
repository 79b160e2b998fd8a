#include "island/Dialoghi.h"

#include "channel/Channel.h"
#include "island/Numeri.h"

namespace ondrix {

std::string InviaDialogo(Channel& ch, std::span<const Scambio> righe)
{
    std::string risposta;
    for (const Scambio& s : righe)
        risposta = ch.InviaComando(s.comando, s.atteso);
    return risposta;
}

namespace dialogo {

namespace {

// The prompts.
constexpr const char* Ok = "OK";
constexpr const char* Indice = "INDICE:";
constexpr const char* Esp = "ESP:";
constexpr const char* Pos = "POS:";
constexpr const char* Num = "NUM:";
// The line that ends the relax list.
constexpr const char* FineLista = "1000";

Dialogo domanda(const char* comando) { return {{comando, Ok}}; }

// A command on one coil named by its body and its position on it.
Dialogo suCorpoEPosizione(const char* comando, const std::string& corpo, int posizione)
{
    return {{comando, Esp}, {corpo, Pos}, {testo(posizione), Ok}};
}

} // namespace

Dialogo EnterSv() { return domanda("ENTER SV"); }
Dialogo ExitSv() { return domanda("EXIT SV"); }

Dialogo GetSlaveAddress() { return domanda("GET SLAVE ADDRESS"); }
Dialogo GetValvolePresenti() { return domanda("GET VALVOLE PRESENTI"); }
Dialogo GetDiagnosi() { return domanda("GET DIAGNOSI"); }
Dialogo GetRelax() { return domanda("GET RELAX"); }
Dialogo GetRevFw() { return domanda("GET REV FW"); }
Dialogo Interfaccia() { return domanda("INTERFACCIA"); }
Dialogo GetBaudRate() { return domanda("GET BAUD RATE"); }
Dialogo GetDigitalInput() { return domanda("GET DIGITAL INPUT"); }
Dialogo GetConf() { return domanda("GET CONF"); }
Dialogo StatoTerminazione() { return domanda("STATO TERMINAZIONE"); }
Dialogo StatoValvola(int indice) { return {{"STATO VALVOLA", Indice}, {testo(indice), Ok}}; }
Dialogo LeggiContacolpi(const std::string& corpo, int posizione)
{
    return suCorpoEPosizione("LEGGI CONTACOLPI", corpo, posizione);
}

Dialogo CloseValvola(const std::string& indice) { return {{"CLOSE VALVOLA", Indice}, {indice, Ok}}; }
Dialogo OpenValvola(const std::string& indice) { return {{"OPEN VALVOLA", Indice}, {indice, Ok}}; }
Dialogo CloseAll() { return domanda("CLOSE ALL"); }
Dialogo OpenAll() { return domanda("OPEN ALL"); }

Dialogo DisableValvola(const std::string& indice) { return {{"DISABLE VALVOLA", Indice}, {indice, Ok}}; }
Dialogo EnableValvola(const std::string& corpo, const std::string& posizione, int indice)
{
    return {{"ENABLE VALVOLA", Esp}, {corpo, Pos}, {posizione, Indice}, {testo(indice), Ok}};
}

Dialogo SetRelax(std::span<const int> indici)
{
    Dialogo d{{"SET RELAX", Indice}};
    for (int i : indici)
        d.push_back({testo(i), Indice});
    d.push_back({FineLista, Ok});
    return d;
}

Dialogo ZeroContacolpi(const std::string& corpo, int posizione)
{
    return suCorpoEPosizione("ZERO CONTACOLPI", corpo, posizione);
}

Dialogo Clear() { return domanda("CLEAR"); }

Dialogo SetSlaveAddress(int indirizzo) { return {{"SET SLAVE ADDRESS", Num}, {testo(indirizzo), Ok}}; }
Dialogo SetBaudRate(int codice) { return {{"SET BAUD RATE", Num}, {testoConSegno(codice), Ok}}; }
Dialogo TerminazioneOn() { return domanda("TERMINAZIONE ON"); }
Dialogo TerminazioneOff() { return domanda("TERMINAZIONE OFF"); }
Dialogo DisableDigital() { return domanda("DISABLE DIGITAL"); }
Dialogo EnableDigital(int vecchio, int nuovo)
{
    return {{"ENABLE DIGITAL", "OLD ADDR"}, {testo(vecchio), "NEW ADDR"}, {testo(nuovo), Ok}};
}

} // namespace dialogo

} // namespace ondrix
