#pragma once
// The link check and the search for the island. An island answers an empty
// line with a text containing "ERROR"; a port where nothing of the kind comes
// within 4 seconds of the line having left is silent.
//
// The search opens every port of its list at once and checks them all
// together; its rule is the one of a search port after port: the island is
// the lowest-numbered port that answers within its 4 seconds. It ends as soon
// as that port has answered and every port below it has failed or stayed
// silent for its 4 seconds; ports above it are closed at once. Each port gets
// the link check and nothing else.

#include "channel/Host.h"
#include "channel/SerialPort.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ondrix {

// The text that identifies an island on a port.
inline constexpr const char* RispostaCollegamento = "ERROR";

// What one port came to.
struct EsitoPorta {
    enum class Collegamento {
        NonProvata,  // not opened, or closed because a lower port answered
        Silenziosa,  // opened, no answer within 4 s
        Risponde,    // the island answered
        Errore,      // the port failed during the check
    };
    int numero = 0;
    OpenOutcome apertura;
    Collegamento collegamento = Collegamento::NonProvata;
    std::string errore;  // Errore: the port's reason
};

// The link check on ports that are open, all at once, in the search's order:
// the first port that answers wins once every port before it is done; the
// ports after it are closed at once. The winner gets the settling pause
// ritardo (seconds). aggiorna is told the outcomes whenever one changes;
// interrotta is asked at every wake-up and stops the check. Returns one
// outcome per port (NonProvata for a port stopped before its outcome); errori,
// when given, gets the reason of each port that failed.
std::vector<EsitoPorta::Collegamento> provaCollegamenti(
    Host& host, const std::vector<SerialPort*>& porte, float ritardo,
    const std::function<void(const std::vector<EsitoPorta::Collegamento>&)>& aggiorna = {},
    const std::function<bool()>& interrotta = {}, std::vector<std::string>* errori = nullptr);

// The port that wins among outcomes in the search's order; nothing while a
// port before the first answering one is still being checked.
std::optional<std::size_t> vincitore(const std::vector<EsitoPorta::Collegamento>& esiti);

struct Ricerca {
    std::optional<int> numero;       // the island's port
    std::vector<EsitoPorta> porte;   // every port of the list, in order
    bool interrotta = false;         // the user ended the program meanwhile
};

// Searches the ports numeri (usually 1..16) with probes made by
// modello.probe(n); every probe is closed again when it returns. inProva is
// told the ports still being checked whenever that changes; interrotta is
// asked at every wake-up and stops the search (every port closed).
Ricerca cercaIsola(Host& host, SerialPort& modello, const std::vector<int>& numeri, float ritardo,
                   const std::function<void(const std::vector<const EsitoPorta*>&)>& inProva = {},
                   const std::function<bool()>& interrotta = {});

} // namespace ondrix
