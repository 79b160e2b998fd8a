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

// The check pass: the file's walk, each value checked against the island.
class Controllo : public LettoreFile {
public:
    Controllo(const std::vector<std::string>& righe, const Model& m) : LettoreFile(righe), m_(m) {}

    Contenuto leggi()
    {
        leggiFile();
        return std::move(c_);
    }

    void intestazione(std::string_view testo) override
    {
        if (testo != IntestazioneProtocollo)
            return righe_.salta();
        // With the module rows unread their 13 lines include this heading,
        // passed over unread; either way the heading may stand (again) here.
        if (!c_.v.ScriviIngressi)
            righe_.salta();
        righe_.saltaSe(IntestazioneProtocollo);
    }

    void valore(Voce voce, int n) override
    {
        if (nonLetta(voce))
            return;
        switch (voce) {
        case Voce::NumeroModuli:
            return numeroModuli();
        case Voce::Modulo:
            return modulo(n);
        case Voce::Protocollo:
            return righe_.confronta(righe_.numero(), m_.Protocollo);
        case Voce::Indirizzo:
            return indirizzo();
        case Voce::TotaleBobine:
            return righe_.confronta(righe_.numero(), m_.TotaleBobine);
        case Voce::NumeroEspansioni:
            espansioni_ = righe_.numero();
            righe_.confronta(espansioni_, m_.NumEspansioni);
            return righe_.limiti(espansioni_, 0, MaxEspansioni);
        case Voce::Espansione: {
            const std::string& riga = righe_.leggi();
            righe_.confronta(righe_.campo(riga, 1), m_.Espansioni(n).NumPosti);
            return righe_.confronta(righe_.campo(riga, 2), m_.Espansioni(n).NumBobine);
        }
        case Voce::Bobina:
            return bobina(n);
        case Voce::Terminazione:
            c_.valoreFinale = righe_.leggi();
            return;
        case Voce::BaudRate: {
            const std::string& valore = righe_.leggi();
            righe_.limiti(righe_.intero(trim(valore)), 0, CodiciBaudRate - 1);
            c_.valoreFinale = valore;
            return;
        }
        case Voce::NomeProtocollo:
        case Voce::TestoBaudRate:
            return;
        }
    }

    int espansioni() const override { return espansioni_; }
    // The termination (any text) or the baud-rate code (0..7) of the island's protocol.
    int protocollo() const override { return c_.v.SezioneFinale ? m_.Protocollo : 0; }

private:
    // Line 1 names the layout: the older one starts with the protocol, the
    // current one with the input modules, whose addresses are written when
    // the island can take them.
    void disposizione(Disposizione d) override
    {
        c_.v.SezioneFinale = true;
        c_.v.ScriviIngressi = d == Disposizione::Corrente && scriviIngressi(m_);
    }

    void numeroModuli()
    {
        if (!c_.v.ScriviIngressi)
            return righe_.salta();
        righe_.limiti(m_.NumModuli, 0, MaxModuli);
        righe_.confronta(righe_.numero(), m_.NumModuli);
    }

    // Ten module rows of the island's types; the addresses to be sent are 0,
    // 1 or 2, each module its own.
    void modulo(int r)
    {
        if (!c_.v.ScriviIngressi)
            return righe_.salta();
        const std::string& riga = righe_.leggi();
        righe_.confronta(righe_.campo(riga, 1), m_.Moduli(r).Tipo);
        if (r > m_.NumModuli)
            return;
        const int indirizzo = righe_.campo(riga, 3);
        righe_.limiti(indirizzo, 0, 2);
        if (indirizzoUsato_[indirizzo])
            righe_.rifiuta(Motivo::FuoriLimiti);
        indirizzoUsato_[indirizzo] = true;
        c_.indirizziModuli.push_back(static_cast<std::int16_t>(indirizzo));
    }

    // The apply pass finds the address after the first "[INDIRIZZO PROFIBUS
    // SLAVE]" from where it stands, which must be this line.
    void indirizzo()
    {
        const std::size_t posIndirizzo = righe_.posizione();
        const std::string& indirizzo = righe_.leggi();
        const auto& righe = righe_.tutte();
        const std::size_t da = c_.v.ScriviIngressi ? 3 + static_cast<std::size_t>(m_.NumModuli) : 0;
        std::size_t h = da;
        while (h < righe.size() && righe[h] != IntestazioneIndirizzo)
            ++h;
        if (h + 1 != posIndirizzo)
            Righe::rifiutaRiga(Motivo::IndirizzoMancante, static_cast<int>(posIndirizzo));
        c_.indirizzoSlave = righe_.intero(trim(indirizzo));
        const Intervallo ammessi = intervalloIndirizzo(m_.Protocollo);
        righe_.limiti(c_.indirizzoSlave, ammessi.min, ammessi.max);
    }

    // A coil row: the position as the island has it; a present coil's index
    // 0..31, naming one coil that one of the bodies holds.
    void bobina(int r)
    {
        const std::string& riga = righe_.leggi();
        const int indice = righe_.campo(riga, 1);
        const int posizione = righe_.campo(riga, 2);
        const int relax = righe_.campo(riga, 3);
        righe_.confronta(posizione, m_.ConfBobine(r).Posizione);
        righe_.limiti(relax, 0, 1);
        if (presente(indice, posizione)) {
            righe_.limiti(indice, 0, MaxDiagnosi - 1);
            if (indiceUsato_[indice])
                righe_.rifiuta(Motivo::FuoriLimiti);
            indiceUsato_[indice] = true;
            righe_.limiti(posizione, 1, PosizioniCorpo);
            if (!corpoDellaRiga(m_, r))
                righe_.rifiuta(Motivo::FuoriLimiti);
        }
        const auto k = static_cast<std::size_t>(r - 1);
        c_.bobine[k] = {static_cast<std::int16_t>(indice), static_cast<std::int16_t>(posizione)};
        c_.relax[k] = static_cast<std::int16_t>(relax);
    }

    const Model& m_;
    Contenuto c_;
    int espansioni_ = 0;
    bool indirizzoUsato_[3] = {};
    bool indiceUsato_[MaxDiagnosi] = {};
};

std::optional<Contenuto> leggiContenuto(const std::vector<std::string>& righe, const Model& m,
                                        Verifica& v)
{
    try {
        Contenuto c = Controllo(righe, m).leggi();
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
    const std::optional<Contenuto> letto = leggiContenuto(righe, m, v);
    if (esito)
        *esito = v;
    if (!letto)
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
                                         letto->indirizziModuli[static_cast<std::size_t>(r - 1)]));
    }

    p.IndirizzoSlave = letto->indirizzoSlave;
    invia(dialogo::SetSlaveAddress(p.IndirizzoSlave));

    // Disable pass, over the coils as the island has them now.
    for (int r = 1; r <= MaxBobine; ++r) {
        const ConfBobina& b = m.ConfBobine(r);
        if (presente(b.Indice, b.Posizione))
            invia(dialogo::DisableValvola(testo(b.Indice)));
    }
    p.puntoModifiche = p.scambi.size();

    // The file's coil rows; its present coils fill the diagnosis rows in order.
    p.ConfBobine = letto->bobine;
    for (std::size_t k = 0; k < p.ConfBobine.size(); ++k) {
        const ConfBobina& b = p.ConfBobine[k];
        if (presente(b.Indice, b.Posizione) && p.Diagnosi.size() < MaxDiagnosi)
            p.Diagnosi.push_back({b.Indice, 0, letto->relax[k]});
    }

    // Termination or baud rate.
    if (letto->valoreFinale) {
        if (m.Protocollo == protocollo::Profibus) {
            p.terminazione = *letto->valoreFinale == "ON" ? Terminazione::On : Terminazione::Off;
            invia(p.terminazione == Terminazione::On ? dialogo::TerminazioneOn() : dialogo::TerminazioneOff());
        } else {
            p.IndiceBaudRate = *interoFile(trim(*letto->valoreFinale));
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
