// The configuration file's reader: the check pass and the apply plan.

#include "config/Formato.h"

#include "island/Numeri.h"

#include <stdexcept>

namespace ondrix {

namespace {

// An integer as the file writes it: an optional sign and decimal digits (any
// leading zeros), nothing else, within 16 bits. The caller trims the spaces.
std::optional<std::int16_t> interoFile(std::string_view s)
{
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 32768)
            return std::nullopt;
    }
    if (neg)
        v = -v;
    if (v < -32768 || v > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

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

bool scriviIngressi(const Model& m)
{
    if (m.RevAtmel < 46)
        return false;
    for (int r = 1; r <= m.NumModuli && r <= MaxModuli; ++r)
        if (m.Moduli(r).RevPic < 21)
            return false;
    return true;
}

struct Rifiutato {
    Rifiuto r;
};

// Reads the lines in order for the check pass: a missing line, a field that
// is not an integer, or a value that differs refuses the file.
class Controllore {
public:
    explicit Controllore(const std::vector<std::string>& righe) : righe_(righe) {}

    std::size_t posizione() const { return i_; }  // index of the next line
    int riga() const { return static_cast<int>(i_); }  // number of the line just read

    [[noreturn]] void rifiuta(Motivo motivo) const { throw Rifiutato{{motivo, riga()}}; }
    [[noreturn]] void rifiutaRiga(Motivo motivo, int riga) const { throw Rifiutato{{motivo, riga}}; }

    const std::string& leggi()
    {
        if (i_ >= righe_.size())
            throw Rifiutato{{Motivo::RigaMancante, static_cast<int>(righe_.size()) + 1}};
        return righe_[i_++];
    }
    void salta(int n)
    {
        for (int k = 0; k < n; ++k)
            leggi();
    }
    std::int16_t intero(std::string_view s) const
    {
        const auto v = interoFile(s);
        if (!v)
            rifiuta(Motivo::NonNumero);
        return *v;
    }
    // A number line.
    std::int16_t numero() { return intero(trim(leggi())); }
    std::int16_t campo(const std::string& riga, int n) const
    {
        return intero(EstraiCampo(riga, n));
    }
    void confronta(long valore, long modello) const
    {
        if (valore != modello)
            rifiuta(Motivo::Diverso);
    }
    void limiti(long valore, long min, long max) const
    {
        if (valore < min || valore > max)
            rifiuta(Motivo::FuoriLimiti);
    }

private:
    const std::vector<std::string>& righe_;
    std::size_t i_ = 0;
};

Verifica verifica(const std::vector<std::string>& righe, const Model& m)
{
    Verifica v;
    Controllore L(righe);
    const std::string& prima = L.leggi();

    if (prima == IntestazioneProtocollo) {
        v.ScriviIngressi = false;
        v.SezioneFinale = true;
        L.confronta(L.numero(), m.Protocollo);
        L.salta(2);
    } else if (prima == IntestazioneModuli) {
        v.SezioneFinale = true;
        v.ScriviIngressi = scriviIngressi(m);
        if (v.ScriviIngressi) {
            L.limiti(m.NumModuli, 0, MaxModuli);
            L.confronta(L.numero(), m.NumModuli);
            L.salta(1);
            bool usato[3] = {};
            for (int r = 1; r <= MaxModuli; ++r) {
                const std::string& riga = L.leggi();
                L.confronta(L.campo(riga, 1), m.Moduli(r).Tipo);
                if (r <= m.NumModuli) {
                    // The address to be sent: 0, 1 or 2, each module its own.
                    const int indirizzo = L.campo(riga, 3);
                    L.limiti(indirizzo, 0, 2);
                    if (usato[indirizzo])
                        L.rifiuta(Motivo::FuoriLimiti);
                    usato[indirizzo] = true;
                }
            }
        } else {
            L.salta(13);
        }
        const std::string* riga = &L.leggi();
        if (trim(*riga) == IntestazioneProtocollo)
            riga = &L.leggi();
        L.confronta(L.intero(trim(*riga)), m.Protocollo);
        L.salta(2);
    } else {
        L.rifiuta(Motivo::Intestazione);
    }

    // The address line: the apply pass finds it after the first
    // "[INDIRIZZO PROFIBUS SLAVE]" from where it stands, which must be this line.
    const std::size_t posIndirizzo = L.posizione();
    const std::string& indirizzo = L.leggi();
    const std::size_t da = v.ScriviIngressi ? 3 + static_cast<std::size_t>(m.NumModuli) : 0;
    std::size_t h = da;
    while (h < righe.size() && righe[h] != IntestazioneIndirizzo)
        ++h;
    if (h + 1 != posIndirizzo)
        L.rifiutaRiga(Motivo::IndirizzoMancante, static_cast<int>(posIndirizzo));
    const Intervallo ammessi = intervalloIndirizzo(m.Protocollo);
    L.limiti(L.intero(trim(indirizzo)), ammessi.min, ammessi.max);

    L.salta(1);
    L.confronta(L.numero(), m.TotaleBobine);

    L.salta(1);
    const int E = L.numero();
    L.confronta(E, m.NumEspansioni);
    L.limiti(E, 0, MaxEspansioni);

    L.salta(1);
    for (int r = 1; r <= E; ++r) {
        const std::string& riga = L.leggi();
        L.confronta(L.campo(riga, 1), m.Espansioni(r).NumPosti);
        L.confronta(L.campo(riga, 2), m.Espansioni(r).NumBobine);
    }

    L.salta(1);
    bool indiceUsato[MaxDiagnosi] = {};
    for (int r = 1; r <= MaxBobine; ++r) {
        const std::string& riga = L.leggi();
        const int indice = L.campo(riga, 1);
        const int posizione = L.campo(riga, 2);
        const int relax = L.campo(riga, 3);
        L.confronta(posizione, m.ConfBobine(r).Posizione);
        L.limiti(relax, 0, 1);
        if (presente(indice, posizione)) {
            L.limiti(indice, 0, MaxDiagnosi - 1);
            if (indiceUsato[indice])  // one fieldbus index names one coil
                L.rifiuta(Motivo::FuoriLimiti);
            indiceUsato[indice] = true;
            L.limiti(posizione, 1, 16);
            if (!corpoDellaRiga(m, r))
                L.rifiuta(Motivo::FuoriLimiti);
        }
    }

    if (v.SezioneFinale && m.Protocollo >= 1 && m.Protocollo <= 3) {
        L.salta(1);
        const std::string& valore = L.leggi();
        if (m.Protocollo != 1)
            L.limiti(L.intero(trim(valore)), 0, 7);
    }
    return v;
}

// Reads the lines in order for the apply pass. The check pass has read the
// same lines before, so running out of them is a fault of this program.
class Lettore {
public:
    explicit Lettore(const std::vector<std::string>& righe) : righe_(righe) {}
    const std::string& leggi()
    {
        if (i_ >= righe_.size())
            throw std::logic_error("apply pass read past the end of the file");
        return righe_[i_++];
    }
    void salta(int n)
    {
        for (int k = 0; k < n; ++k)
            leggi();
    }

private:
    const std::vector<std::string>& righe_;
    std::size_t i_ = 0;
};

std::int16_t valore(std::string_view testo)
{
    const auto v = interoFile(trim(testo));
    if (!v)
        throw std::logic_error("apply pass met a value the check did not");
    return *v;
}

} // namespace

Intervallo intervalloIndirizzo(int protocollo)
{
    switch (protocollo) {
    case 1:
        return {3, 126};
    case 2:
        return {1, 127};
    case 3:
        return {1, 63};
    default:
        return {1, 127};
    }
}

Verifica verificaConfigurazione(const std::vector<std::string>& righe, const Model& m)
{
    try {
        return verifica(righe, m);
    } catch (const Rifiutato& e) {
        Verifica v;
        v.rifiuto = e.r;
        return v;
    }
}

std::optional<Piano> pianoApplicazione(const std::vector<std::string>& righe, const Model& m,
                                       Verifica* esito)
{
    const Verifica v = verificaConfigurazione(righe, m);
    if (esito)
        *esito = v;
    if (!v)
        return std::nullopt;

    Piano p;
    p.ScriviIngressi = v.ScriviIngressi;
    p.SezioneFinale = v.SezioneFinale;
    const auto invia = [&](std::string comando, std::string atteso) {
        p.scambi.push_back({std::move(comando), std::move(atteso)});
    };
    Lettore L(righe);

    // Input modules: their current address, then the file's.
    if (v.ScriviIngressi) {
        L.salta(3);
        if (m.NumModuli != 0)
            invia("DISABLE DIGITAL", "OK");
        for (int r = 1; r <= m.NumModuli; ++r) {
            const std::string& riga = L.leggi();
            invia("ENABLE DIGITAL", "OLD ADDR");
            invia(testo(m.Moduli(r).Indirizzo), "NEW ADDR");
            invia(testo(valore(EstraiCampo(riga, 3))), "OK");
        }
    }

    // Slave address.
    while (L.leggi() != IntestazioneIndirizzo) {
    }
    invia("SET SLAVE ADDRESS", "NUM:");
    invia(testo(valore(L.leggi())), "OK");

    L.salta(3);
    const int E = valore(L.leggi());
    L.salta(1 + E);

    // Disable pass, over the coils as the island has them now.
    for (int r = 1; r <= MaxBobine; ++r) {
        const ConfBobina& b = m.ConfBobine(r);
        if (presente(b.Indice, b.Posizione)) {
            invia("DISABLE VALVOLA", "INDICE:");
            invia(testo(b.Indice), "OK");
        }
    }
    p.puntoModifiche = p.scambi.size();

    // The file's coil rows; its present coils fill the diagnosis rows in order.
    L.salta(1);
    for (int r = 1; r <= MaxBobine; ++r) {
        const std::string& riga = L.leggi();
        ConfBobina& b = p.ConfBobine[static_cast<std::size_t>(r - 1)];
        b.Indice = valore(EstraiCampo(riga, 1));
        b.Posizione = valore(EstraiCampo(riga, 2));
        if (presente(b.Indice, b.Posizione) && p.Diagnosi.size() < MaxDiagnosi)
            p.Diagnosi.push_back({b.Indice, 0, valore(EstraiCampo(riga, 3))});
    }

    // Termination or baud rate.
    if (v.SezioneFinale && m.Protocollo >= 1 && m.Protocollo <= 3) {
        L.salta(1);
        const std::string& riga = L.leggi();
        if (m.Protocollo == 1) {
            p.terminazione = riga == "ON" ? Terminazione::On : Terminazione::Off;
            invia(p.terminazione == Terminazione::On ? "TERMINAZIONE ON" : "TERMINAZIONE OFF",
                  "OK");
        } else {
            p.IndiceBaudRate = valore(riga);
            invia("SET BAUD RATE", "NUM:");
            invia(testoConSegno(*p.IndiceBaudRate), "OK");
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
        invia("ENABLE VALVOLA", "ESP:");
        invia(testo(*j - 1), "POS:");
        invia(testo(b.Posizione), "INDICE:");
        invia(testo(b.Indice), "OK");
    }

    // Relax list: the fieldbus index of each of the file's coils with relax on.
    invia("SET RELAX", "INDICE:");
    for (const RigaDiagnosi& d : p.Diagnosi)
        if (d.Relax == 1)
            invia(testo(d.Indice), "INDICE:");
    invia("1000", "OK");
    return p;
}

} // namespace ondrix
