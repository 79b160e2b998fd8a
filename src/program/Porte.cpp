#include "program/Porte.h"

#include "island/Numeri.h"

#include <algorithm>

namespace ondrix {

namespace {

using E = OpenOutcome::Status;
using C = EsitoPorta::Collegamento;

// The text with each {NAME} replaced by its value.
std::string componi(std::string t, const std::vector<std::pair<std::string, std::string>>& valori)
{
    for (const auto& [nome, valore] : valori) {
        const std::string segno = "{" + nome + "}";
        for (std::size_t p = t.find(segno); p != std::string::npos; p = t.find(segno, p + valore.size())) {
            t.replace(p, segno.size(), valore);
        }
    }
    return t;
}

std::string nome(const EsitoPorta& e) { return nomePorta(e.numero, e.apertura.device); }

} // namespace

std::string nomePorta(int numero, const std::string& dispositivo)
{
    const std::string com = "COM" + testo(numero);
    return dispositivo.empty() || dispositivo == com ? com : com + " " + dispositivo;
}

std::string testoRicerca(const Testi& t, const std::vector<const EsitoPorta*>& inProva)
{
    std::string s = t.Ricerca;
    for (const EsitoPorta* e : inProva)
        s += (e == inProva.front() ? " " : ", ") + nome(*e);
    return s;
}

std::string perchePorta(const Testi& t, const EsitoPorta& e)
{
    const OpenOutcome& a = e.apertura;
    const std::string porta = nome(e);
    switch (a.status) {
    case E::Denied:
        return componi(t.PortaPermesso, {{"PORTA", porta}, {"GRUPPO", a.group}});
    case E::Busy: {
        std::string chi;
        if (a.holderPid > 0)
            chi = " (" + (a.holderProgram.empty() ? std::string() : a.holderProgram + ", ") + testo(a.holderPid) + ")";
        return componi(t.PortaOccupata, {{"PORTA", porta}, {"CHI", chi}});
    }
    case E::Locked:
        return componi(t.PortaBloccata, {{"PORTA", porta}, {"FILE", a.lockFile}});
    case E::Failed:
        return componi(t.PortaErrore, {{"PORTA", porta}, {"MOTIVO", a.reason}});
    case E::Open:
    case E::Absent:
        return {};
    }
    return {};
}

std::string messaggioNessunaIsola(const Testi& t, const Ricerca& r)
{
    const bool nessuna = std::all_of(r.porte.begin(), r.porte.end(), [](const EsitoPorta& e) {
        return e.apertura.status == E::Absent;
    });
    if (nessuna)
        return t.Messaggi(msg::Seriale);
    std::string m = t.MessaggioTimeout();
    for (const EsitoPorta& e : r.porte)
        if (const std::string perche = perchePorta(t, e); !perche.empty())
            m += "\r\n" + perche;
    return m;
}

std::vector<std::string> tabellaPorte(const Testi& t, const Ricerca& r)
{
    std::vector<std::string> righe;
    for (const EsitoPorta& e : r.porte) {
        if (std::string perche = perchePorta(t, e); !perche.empty()) {
            righe.push_back(std::move(perche));
            continue;
        }
        if (e.collegamento == C::Errore) {
            righe.push_back(componi(t.PortaErrore, {{"PORTA", nome(e)}, {"MOTIVO", e.errore}}));
            continue;
        }
        const std::string& parola = e.apertura.status == E::Absent ? t.PortaAssente
                                    : e.collegamento == C::Risponde ? t.PortaRisponde
                                    : e.collegamento == C::Silenziosa ? t.PortaSilenziosa
                                                                      : t.PortaNonProvata;
        righe.push_back(nome(e) + ": " + parola);
    }
    return righe;
}

std::vector<std::string> noteBlocchi(const Testi& t, const Ricerca& r)
{
    std::vector<std::string> note;
    for (const EsitoPorta& e : r.porte)
        if (e.apertura.status == E::Open && !e.apertura.lockFile.empty())
            note.push_back(componi(t.BloccoRipreso, {{"PORTA", nome(e)}, {"FILE", e.apertura.lockFile}}));
    return note;
}

} // namespace ondrix
