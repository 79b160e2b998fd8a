#include "channel/Ricerca.h"

#include "channel/Channel.h"

#include <algorithm>
#include <limits>

namespace ondrix {

namespace {

using C = EsitoPorta::Collegamento;

// One port's check: its line sent, then what came back.
struct Prova {
    SerialPort* porta = nullptr;
    bool inCorso = true;
    bool partita = false;     // the empty line has left
    std::int64_t t0 = 0;      // when it had (or when it was written, until then)
    std::string ricevuto;
};

// The checks of all the ports, and what each came to.
struct Prove {
    std::vector<Prova> prove;
    std::vector<C> esiti;
    std::vector<std::string>* errori;

    Prove(std::size_t n, std::vector<std::string>* e) : prove(n), esiti(n, C::NonProvata), errori(e)
    {
        if (errori)
            errori->assign(n, {});
    }
    void fine(std::size_t i, C esito, const char* perche = nullptr)
    {
        prove[i].inCorso = false;
        esiti[i] = esito;
        if (errori && perche)
            (*errori)[i] = perche;
    }
    bool inCorso() const
    {
        return std::any_of(prove.begin(), prove.end(), [](const Prova& p) { return p.inCorso; });
    }
    // A port after one that answered can no longer win: closed at once.
    void chiudiDopoIlPrimo()
    {
        const auto primo = std::find(esiti.begin(), esiti.end(), C::Risponde);
        for (auto k = static_cast<std::size_t>(primo - esiti.begin()) + 1; k < prove.size(); ++k)
            if (prove[k].inCorso) {
                prove[k].inCorso = false;
                try {
                    prove[k].porta->close();
                } catch (const PortError&) {
                }
            }
    }
};

// The empty line written to every port at once.
void inviaRigheVuote(Host& host, Prove& t, const std::vector<SerialPort*>& porte)
{
    for (std::size_t i = 0; i < porte.size(); ++i) {
        t.prove[i].porta = porte[i];
        t.prove[i].t0 = host.nowUs();
        try {
            porte[i]->write("\r\n");
        } catch (const PortError& e) {
            t.fine(i, C::Errore, e.what());
        }
    }
}

// One look at a running check: true when it came to its outcome; otherwise
// sveglia is brought forward to when it needs the next look.
bool guarda(Host& host, Prove& t, std::size_t i, std::int64_t& sveglia)
{
    Prova& p = t.prove[i];
    try {
        const std::int64_t ora = host.nowUs();
        if (!p.partita) {
            // A line that has not taken the empty line within the limit is dead.
            if (p.porta->outputCount() == 0) {
                p.partita = true;
                p.t0 = ora;
            } else if (Channel::expired(p.t0, ora)) {
                t.fine(i, C::Errore, "the serial port does not send");
                return true;
            } else {
                sveglia = std::min({sveglia, ora + Channel::OutputStepUs, p.t0 + Channel::ReplyLimitUs + 1});
                return false;
            }
        }
        while (p.porta->inputCount() != 0 && p.ricevuto.find(RispostaCollegamento) == std::string::npos)
            p.ricevuto += p.porta->readAll();
        if (p.ricevuto.find(RispostaCollegamento) != std::string::npos) {
            t.fine(i, C::Risponde);
            return true;
        }
        if (Channel::expired(p.t0, host.nowUs())) {
            t.fine(i, C::Silenziosa);
            return true;
        }
        sveglia = std::min(sveglia, p.t0 + Channel::ReplyLimitUs + 1);
        if (auto arrivo = p.porta->nextArrivalUs())
            sveglia = std::min(sveglia, *arrivo);
        return false;
    } catch (const PortError& e) {
        t.fine(i, C::Errore, e.what());
        return true;
    }
}

} // namespace

std::optional<std::size_t> vincitore(const std::vector<C>& esiti)
{
    for (std::size_t k = 0; k < esiti.size(); ++k) {
        if (esiti[k] == C::NonProvata)
            return std::nullopt;
        if (esiti[k] == C::Risponde)
            return k;
    }
    return std::nullopt;
}

std::vector<C> provaCollegamenti(Host& host, const std::vector<SerialPort*>& porte, float ritardo,
                                 const std::function<void(const std::vector<C>&)>& aggiorna,
                                 const std::function<bool()>& interrotta,
                                 std::vector<std::string>* errori)
{
    Prove t(porte.size(), errori);
    inviaRigheVuote(host, t, porte);
    // Events are processed at least once before the output counts are read.
    host.processEvents();

    for (;;) {
        if (interrotta && interrotta())
            return t.esiti;
        bool cambiato = false;
        std::int64_t sveglia = std::numeric_limits<std::int64_t>::max();
        for (std::size_t i = 0; i < t.prove.size(); ++i)
            if (t.prove[i].inCorso && guarda(host, t, i, sveglia))
                cambiato = true;
        if (cambiato) {
            t.chiudiDopoIlPrimo();
            if (aggiorna)
                aggiorna(t.esiti);
            if (vincitore(t.esiti))
                break;
        }
        if (!t.inCorso())
            break;
        if (!cambiato)
            host.waitForEvent(std::max(sveglia, host.nowUs() + 1));
    }

    if (vincitore(t.esiti))
        Channel::settle(host, ritardo);
    return t.esiti;
}

Ricerca cercaIsola(Host& host, SerialPort& modello, const std::vector<int>& numeri, float ritardo,
                   const std::function<void(const std::vector<const EsitoPorta*>&)>& inProva,
                   const std::function<bool()>& interrotta)
{
    Ricerca r;
    std::vector<std::unique_ptr<SerialPort>> sonde;
    std::vector<SerialPort*> aperte;
    std::vector<std::size_t> indice;  // aperte[k] is port r.porte[indice[k]]
    for (int n : numeri) {
        EsitoPorta e;
        e.numero = n;
        std::unique_ptr<SerialPort> p = modello.probe(n);
        bool aperta = false;
        if (p) {
            try {
                aperta = p->open();
                e.apertura = p->openOutcome();
            } catch (const PortError& err) {
                e.apertura.status = OpenOutcome::Status::Failed;
                e.apertura.reason = err.what();
            }
            if (aperta)
                e.apertura.status = OpenOutcome::Status::Open;
        }
        if (aperta) {
            aperte.push_back(p.get());
            indice.push_back(r.porte.size());
        }
        r.porte.push_back(e);
        sonde.push_back(std::move(p));
    }

    const auto mostra = [&](const std::vector<C>& esiti) {
        if (!inProva)
            return;
        std::vector<const EsitoPorta*> inCorso;
        for (std::size_t k = 0; k < aperte.size(); ++k)
            if (esiti[k] == C::NonProvata && aperte[k]->isOpen())
                inCorso.push_back(&r.porte[indice[k]]);
        inProva(inCorso);
    };
    mostra(std::vector<C>(aperte.size(), C::NonProvata));
    std::vector<std::string> errori;
    const auto esiti = provaCollegamenti(host, aperte, ritardo, mostra, interrotta, &errori);
    r.interrotta = interrotta && interrotta();

    for (std::size_t k = 0; k < esiti.size(); ++k) {
        r.porte[indice[k]].collegamento = esiti[k];
        r.porte[indice[k]].errore = errori[k];
    }
    if (!r.interrotta)
        if (const auto v = vincitore(esiti))
            r.numero = r.porte[indice[*v]].numero;
    for (auto& p : sonde)
        if (p) {
            try {
                if (p->isOpen())
                    p->close();
            } catch (const PortError&) {
            }
        }
    return r;
}

} // namespace ondrix
