// The configuration file's reader: one pass over the lines that checks them
// against the island and keeps what the apply pass sends; then the plan.

#include "config/Formato.h"
#include "config/Righe.h"

#include "island/Numeri.h"
#include "island/Regole.h"

#include <stdexcept>

namespace ondrix {

namespace {

bool presente(int indice, int posizione)
{
    return posizione != 0 && indice != IndiceDisabilitato;
}

// Row of Espansioni that holds coil row r (the enable pass sends it less 1);
// empty when the bodies' coils end before r.
std::optional<int> corpoDellaRiga(const Model& m, int r)
{
    int somma = 0;
    for (int j = 1; j <= m.NumEspansioni && j <= MaxEspansioni; ++j) {
        somma += m.Espansioni(j).NumBobine;
        if (somma >= r)
            return j;
    }
    return std::nullopt;
}

// The file's module addresses are written: the island can take them.
bool scriviIngressi(const Model& m) { return leggeConf(m) && moduliIndirizzabili(m); }

// What the check read that the apply pass sends.
struct Contenuto {
    Verifica v;
    std::vector<std::int16_t> indirizziModuli;  // modules 1..NumModuli, with ScriviIngressi
    std::int16_t indirizzoSlave = 0;
    std::array<ConfBobina, MaxBobine> bobine{};
    std::array<std::int16_t, MaxBobine> relax{};
    std::optional<std::string> valoreFinale;  // the termination or baud-rate line
};

// The check pass, one section after the other.
class Lettura {
public:
    Lettura(const std::vector<std::string>& righe, const Model& m) : L(righe), m_(m) {}

    Contenuto leggi()
    {
        intestazione();
        indirizzo();
        corpi();
        bobine();
        sezioneFinale();
        return std::move(c_);
    }

private:
    // Line 1 names the layout: the older one starts with the protocol, the
    // current one with the input modules.
    void intestazione()
    {
        const std::string& prima = L.leggi();
        if (prima == IntestazioneProtocollo) {
            c_.v.ScriviIngressi = false;
            c_.v.SezioneFinale = true;
            L.confronta(L.numero(), m_.Protocollo);
            L.salta(2);
        } else if (prima == IntestazioneModuli) {
            c_.v.SezioneFinale = true;
            c_.v.ScriviIngressi = scriviIngressi(m_);
            if (c_.v.ScriviIngressi)
                moduli();
            else
                L.salta(13);
            const std::string* riga = &L.leggi();
            if (trim(*riga) == IntestazioneProtocollo)
                riga = &L.leggi();
            L.confronta(L.intero(trim(*riga)), m_.Protocollo);
            L.salta(2);
        } else {
            L.rifiuta(Motivo::Intestazione);
        }
    }

    // Ten module rows of the island's types; the addresses to be sent are 0,
    // 1 or 2, each module its own.
    void moduli()
    {
        L.limiti(m_.NumModuli, 0, MaxModuli);
        L.confronta(L.numero(), m_.NumModuli);
        L.salta(1);
        bool usato[3] = {};
        for (int r = 1; r <= MaxModuli; ++r) {
            const std::string& riga = L.leggi();
            L.confronta(L.campo(riga, 1), m_.Moduli(r).Tipo);
            if (r > m_.NumModuli)
                continue;
            const int indirizzo = L.campo(riga, 3);
            L.limiti(indirizzo, 0, 2);
            if (usato[indirizzo])
                L.rifiuta(Motivo::FuoriLimiti);
            usato[indirizzo] = true;
            c_.indirizziModuli.push_back(static_cast<std::int16_t>(indirizzo));
        }
    }

    // The apply pass finds the address after the first "[INDIRIZZO PROFIBUS
    // SLAVE]" from where it stands, which must be this line.
    void indirizzo()
    {
        const std::size_t posIndirizzo = L.posizione();
        const std::string& indirizzo = L.leggi();
        const auto& righe = L.tutte();
        const std::size_t da = c_.v.ScriviIngressi ? 3 + static_cast<std::size_t>(m_.NumModuli) : 0;
        std::size_t h = da;
        while (h < righe.size() && righe[h] != IntestazioneIndirizzo)
            ++h;
        if (h + 1 != posIndirizzo)
            Righe::rifiutaRiga(Motivo::IndirizzoMancante, static_cast<int>(posIndirizzo));
        c_.indirizzoSlave = L.intero(trim(indirizzo));
        const Intervallo ammessi = intervalloIndirizzo(m_.Protocollo);
        L.limiti(c_.indirizzoSlave, ammessi.min, ammessi.max);
    }

    // Coil count, body count and the bodies' rows, all as the island has them.
    void corpi()
    {
        L.salta(1);
        L.confronta(L.numero(), m_.TotaleBobine);
        L.salta(1);
        const int E = L.numero();
        L.confronta(E, m_.NumEspansioni);
        L.limiti(E, 0, MaxEspansioni);
        L.salta(1);
        for (int r = 1; r <= E; ++r) {
            const std::string& riga = L.leggi();
            L.confronta(L.campo(riga, 1), m_.Espansioni(r).NumPosti);
            L.confronta(L.campo(riga, 2), m_.Espansioni(r).NumBobine);
        }
    }

    // 256 coil rows: the positions as the island has them; the present coils'
    // indexes 0..31, each naming one coil that one of the bodies holds.
    void bobine()
    {
        L.salta(1);
        bool indiceUsato[MaxDiagnosi] = {};
        for (int r = 1; r <= MaxBobine; ++r) {
            const std::string& riga = L.leggi();
            const int indice = L.campo(riga, 1);
            const int posizione = L.campo(riga, 2);
            const int relax = L.campo(riga, 3);
            L.confronta(posizione, m_.ConfBobine(r).Posizione);
            L.limiti(relax, 0, 1);
            if (presente(indice, posizione)) {
                L.limiti(indice, 0, MaxDiagnosi - 1);
                if (indiceUsato[indice])
                    L.rifiuta(Motivo::FuoriLimiti);
                indiceUsato[indice] = true;
                L.limiti(posizione, 1, PosizioniCorpo);
                if (!corpoDellaRiga(m_, r))
                    L.rifiuta(Motivo::FuoriLimiti);
            }
            const auto k = static_cast<std::size_t>(r - 1);
            c_.bobine[k] = {static_cast<std::int16_t>(indice), static_cast<std::int16_t>(posizione)};
            c_.relax[k] = static_cast<std::int16_t>(relax);
        }
    }

    // The termination (any text) or the baud-rate code (0..7).
    void sezioneFinale()
    {
        if (!c_.v.SezioneFinale || !protocolloNoto(m_.Protocollo))
            return;
        L.salta(1);
        const std::string& valore = L.leggi();
        if (haBaudRate(m_.Protocollo)) {
            const int codice = L.intero(trim(valore));
            L.limiti(codice, 0, CodiciBaudRate - 1);
        }
        c_.valoreFinale = valore;
    }

    Righe L;
    const Model& m_;
    Contenuto c_;
};

std::optional<Contenuto> leggiContenuto(const std::vector<std::string>& righe, const Model& m,
                                        Verifica& v)
{
    try {
        Contenuto c = Lettura(righe, m).leggi();
        v = c.v;
        return c;
    } catch (const Rifiutato& e) {
        v = Verifica{};
        v.rifiuto = e.r;
        return std::nullopt;
    }
}

} // namespace

Verifica verificaConfigurazione(const std::vector<std::string>& righe, const Model& m)
{
    Verifica v;
    leggiContenuto(righe, m, v);
    return v;
}

std::optional<Piano> pianoApplicazione(const std::vector<std::string>& righe, const Model& m,
                                       Verifica* esito)
{
    Verifica v;
    const std::optional<Contenuto> f = leggiContenuto(righe, m, v);
    if (esito)
        *esito = v;
    if (!f)
        return std::nullopt;

    Piano p;
    p.ScriviIngressi = v.ScriviIngressi;
    p.SezioneFinale = v.SezioneFinale;
    const auto invia = [&](const Dialogo& d) { p.scambi.insert(p.scambi.end(), d.begin(), d.end()); };

    // Input modules: their current address, then the file's.
    if (v.ScriviIngressi) {
        if (m.NumModuli != 0)
            invia(dialogo::DisableDigital());
        for (int r = 1; r <= m.NumModuli; ++r)
            invia(dialogo::EnableDigital(m.Moduli(r).Indirizzo,
                                         f->indirizziModuli[static_cast<std::size_t>(r - 1)]));
    }

    p.IndirizzoSlave = f->indirizzoSlave;
    invia(dialogo::SetSlaveAddress(p.IndirizzoSlave));

    // Disable pass, over the coils as the island has them now.
    for (int r = 1; r <= MaxBobine; ++r) {
        const ConfBobina& b = m.ConfBobine(r);
        if (presente(b.Indice, b.Posizione))
            invia(dialogo::DisableValvola(testo(b.Indice)));
    }
    p.puntoModifiche = p.scambi.size();

    // The file's coil rows; its present coils fill the diagnosis rows in order.
    p.ConfBobine = f->bobine;
    for (std::size_t k = 0; k < p.ConfBobine.size(); ++k) {
        const ConfBobina& b = p.ConfBobine[k];
        if (presente(b.Indice, b.Posizione) && p.Diagnosi.size() < MaxDiagnosi)
            p.Diagnosi.push_back({b.Indice, 0, f->relax[k]});
    }

    // Termination or baud rate.
    if (f->valoreFinale) {
        if (m.Protocollo == protocollo::Profibus) {
            p.terminazione = *f->valoreFinale == "ON" ? Terminazione::On : Terminazione::Off;
            invia(p.terminazione == Terminazione::On ? dialogo::TerminazioneOn() : dialogo::TerminazioneOff());
        } else {
            p.IndiceBaudRate = *interoFile(trim(*f->valoreFinale));
            invia(dialogo::SetBaudRate(*p.IndiceBaudRate));
        }
    }

    // Enable pass, over the coils as the file sets them.
    for (int r = 1; r <= MaxBobine; ++r) {
        const ConfBobina& b = p.ConfBobine[static_cast<std::size_t>(r - 1)];
        if (!presente(b.Indice, b.Posizione))
            continue;
        const auto j = corpoDellaRiga(m, r);
        if (!j)
            throw std::logic_error("apply pass met a coil beyond the bodies");
        invia(dialogo::EnableValvola(testo(*j - 1), testo(b.Posizione), b.Indice));
    }

    // Relax list: the fieldbus index of each of the file's coils with relax on.
    std::vector<int> relax;
    for (const RigaDiagnosi& d : p.Diagnosi)
        if (d.Relax == 1)
            relax.push_back(d.Indice);
    invia(dialogo::SetRelax(relax));
    return p;
}

} // namespace ondrix
