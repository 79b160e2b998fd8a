#include "island/Risposte.h"

#include "island/Regole.h"
#include "island/Taglio.h"

#include <algorithm>
#include <cmath>

namespace ondrix {

// The "OK" that ends a reply, where a reader cuts it off.
constexpr long ChiusuraOk = 2;

// ---- "GET VALVOLE PRESENTI" -----------------------------------------------------

namespace {

constexpr long IntestazioneValvole = 23;
// Before each coil line of a body but its first.
constexpr long SeparatoreBobine = 3;

// A field ended by TAB on the current line: nothing when the TAB is missing or
// a CR comes first (the line is cut short).
std::optional<std::string> campoRiga(Taglio& taglio)
{
    const long p = taglio.tab();
    const long cr = taglio.cr();
    if (p == 0 || (cr != 0 && cr < p))
        return std::nullopt;
    std::string c = taglio.head(p);
    taglio.drop(p);
    return c;
}

} // namespace

void LeggiValvolePresenti(std::string& risposta, Model& m)
{
    Taglio taglio(risposta);
    taglio.drop(IntestazioneValvole);
    taglio.chop(ChiusuraOk);
    m.NumEspansioni = 0;
    m.TotaleBobine = 0;
    std::vector<ConfBobina> bobine;
    while (!taglio.empty() && m.NumEspansioni < MaxEspansioni) {
        const int k = m.NumEspansioni + 1;
        Espansione e = m.Espansioni(k);

        const auto numero_ = campoRiga(taglio);
        const auto conta = numero_ ? campoRiga(taglio) : std::nullopt;
        const auto posti = conta ? campoRiga(taglio) : std::nullopt;
        if (!posti)
            return;  // not a body line: the list ends here
        e.Numero = numero(*numero_);
        std::int16_t n = numero(*conta);
        if (n == 0)
            n = 1;
        e.NumBobine = n;
        e.NumPosti = numero(*posti);

        // A negative count or one that overflows the coil table cannot be
        // stored; the list ends before this body.
        if (n < 0 || m.TotaleBobine + n > MaxBobine)
            return;
        bobine.clear();
        for (int j = 1; j <= n; ++j) {
            ConfBobina b;
            const auto indice = campoRiga(taglio);
            const long p = taglio.cr();
            if (!indice || p == 0)
                return;  // the body is cut short: it is not stored
            b.Indice = numero(*indice);
            b.Posizione = numero(taglio.head(p));
            if (b.Posizione == 0)
                b.Posizione = 1;
            taglio.drop(j == n ? p : p + SeparatoreBobine);
            bobine.push_back(b);
        }

        m.Espansioni(k) = e;
        for (int j = 1; j <= n; ++j)
            m.ConfBobine(m.TotaleBobine + j) = bobine[static_cast<std::size_t>(j - 1)];
        m.NumEspansioni = static_cast<std::int16_t>(k);
        m.TotaleBobine = static_cast<std::int16_t>(m.TotaleBobine + n);
    }
}

// ---- "GET DIAGNOSI" ----------------------------------------------------------------

LetturaDiagnosi recordDiagnosi(std::string_view risposta)
{
    LetturaDiagnosi out;
    if (risposta.size() < IntestazioneDiagnosi)
        return out;
    std::string r(risposta);
    Taglio taglio(r);
    taglio.drop(static_cast<long>(IntestazioneDiagnosi));
    const auto letti = [&] { return risposta.size() - taglio.size(); };
    out.letti = letti();
    while (out.record.size() < static_cast<std::size_t>(MaxDiagnosi)) {
        // The letter follows the TAB directly; the record ends at its CR.
        const auto indice = taglio.campo('\t');
        const long cr = taglio.cr();
        if (!indice || cr == 0)
            return out;
        RecordDiagnosi rec;
        try {
            rec.indice = intero(*indice);
        } catch (const ParseError&) {
            return out;
        }
        rec.lettera = taglio.text().front();
        out.record.push_back(rec);
        taglio.drop(cr);
        out.letti = letti();
    }
    out.completa = true;
    return out;
}

bool LeggiDiagnosi(std::string& risposta, Model& m)
{
    const LetturaDiagnosi lettura = recordDiagnosi(risposta);
    int riga = 1;
    for (const RecordDiagnosi& r : lettura.record) {
        RigaDiagnosi& d = m.Diagnosi(riga++);
        d.Indice = r.indice;
        applicaLettera(d, r.lettera);
    }
    risposta.erase(0, std::min(lettura.letti, risposta.size()));
    return lettura.completa;
}

std::optional<char> letteraDiagnosi(std::string_view risposta, int indirizzo)
{
    for (const RecordDiagnosi& r : recordDiagnosi(risposta).record)
        if (r.indice == indirizzo)
            return r.lettera;
    return std::nullopt;
}

bool applicaLettera(RigaDiagnosi& riga, char lettera)
{
    switch (lettera) {
    case 'A':
        riga.Stato = stato::Assente;
        riga.Indice = IndiceAssente;
        return true;
    case 'P':
        riga.Stato = stato::Presente;
        return true;
    case 'C':
        riga.Stato = stato::GuastaC;
        return true;
    case 'I':
        riga.Stato = stato::GuastaI;
        return true;
    default:
        return false;
    }
}

// ---- "GET RELAX" -------------------------------------------------------------------

constexpr long IntestazioneRelax = 14;
// Between the relax word and its CR.
constexpr long CodaParolaRelax = 1;

void LeggiRelax(std::string& risposta, Model& m)
{
    Taglio taglio(risposta);
    taglio.drop(IntestazioneRelax);
    for (int i = 1; i <= MaxDiagnosi; ++i) {
        long p = taglio.tab();
        taglio.drop(p);  // the index before the TAB is not used
        p = taglio.cr();
        const std::string w = taglio.head(p - 1 - CodaParolaRelax);
        if (w == "OPEN")
            m.Diagnosi(i).Relax = 0;
        else if (w == "CLOSE")
            m.Diagnosi(i).Relax = 1;
        taglio.drop(p);
    }
}

// ---- "GET REV FW" ------------------------------------------------------------------

constexpr long IntestazioneRevFw = 15;
// After an input module's revision, before its TAB.
constexpr long CodaRevisioneModulo = 2;

void LeggiRevFw(std::string& risposta, Model& m, std::optional<std::string>& testoAtmel,
                std::string& resto)
{
    Taglio taglio(risposta);
    taglio.drop(IntestazioneRevFw);
    taglio.chop(ChiusuraOk);

    // The head's main controller.
    long p = taglio.tab();
    taglio.drop(p);
    p = taglio.tab();
    const std::string rev = taglio.head(p - 1);
    m.RevAtmel = intero(rev);
    testoAtmel = rev;
    taglio.drop(p);
    p = taglio.cr();
    taglio.drop(p);

    // One line per body, the head first.
    for (int i = 1; i <= m.NumEspansioni && i <= MaxEspansioni; ++i) {
        p = taglio.tab();
        taglio.drop(p);
        p = taglio.tab();
        m.Espansioni(i).RevPic = intero(taglio.head(p));
        taglio.drop(p);
        p = taglio.cr();
        taglio.drop(p);
    }
    resto = taglio.text();
}

// ---- "INTERFACCIA", "GET BAUD RATE" ------------------------------------------------

char LeggiInterfaccia(std::string_view risposta)
{
    if (risposta.empty())
        return 0;
    const char c = risposta.front();
    return (c == 'P' || c == 'C' || c == 'D') ? c : 0;
}

int ApplicaInterfaccia(char interfaccia, Model& m, std::string& suffisso)
{
    int p = 0;
    switch (interfaccia) {
    case 'P':
        p = protocollo::Profibus;
        break;
    case 'C':
        p = protocollo::Canopen;
        break;
    case 'D':
        p = protocollo::Devicenet;
        break;
    default:
        suffisso.clear();
        return 0;
    }
    impostaTestiBaudRate(p, m);
    suffisso = " - " + nomeProtocollo(p);
    return p;
}

// The code's digit stands this many places before the first CR.
constexpr long DistanzaCodiceBaudRate = 2;

std::int16_t LeggiBaudRate(std::string_view risposta)
{
    std::string r(risposta);
    Taglio taglio(r);
    const long p = taglio.cr();
    const std::int16_t v = numero(taglio.at(p - DistanzaCodiceBaudRate));
    if (!codiceBaudRate(v))
        throw ParseError("baud-rate code outside 0..7");
    return v;
}

// ---- "STATO VALVOLA", "STATO TERMINAZIONE" -----------------------------------------

bool LeggiStatoValvola(std::string_view risposta) { return risposta.find("ON") != std::string_view::npos; }

// The state word's field at the start of the reply.
constexpr long CampoTerminazione = 3;

bool LeggiTerminazione(std::string_view risposta)
{
    std::string r(risposta);
    return trim(Taglio(r).head(CampoTerminazione)).find("ON") != std::string::npos;
}

// ---- "GET DIGITAL INPUT" -----------------------------------------------------------

namespace {

constexpr long IntestazioneIngressi = 27;
// Before each input record of a module but its first.
constexpr long SeparatoreIngressi = 2;

int statoIngresso(const std::string& s)
{
    const std::string parola = trim(s);
    return parola == "ON" ? 1 : parola == "OFF" ? 0 : -1;
}

} // namespace

BlocchiIngressi leggiBlocchiIngressi(std::string_view risposta, const ContaIngressi& quanti)
{
    BlocchiIngressi out;
    if (risposta.size() < IntestazioneIngressi + ChiusuraOk) {  // not even heading and tail
        out.interrotta = true;
        return out;
    }
    std::string r(risposta);
    Taglio taglio(r);
    taglio.drop(IntestazioneIngressi);
    taglio.chop(ChiusuraOk);
    while (!taglio.empty()) {
        BloccoIngressi b;
        const auto primo = taglio.campo('\t');  // not used
        const auto tipo = primo ? taglio.campo('\t') : std::nullopt;
        const auto n = tipo ? quanti(out.blocchi.size(), trim(*tipo)) : std::nullopt;
        if (!n) {
            out.interrotta = true;
            return out;
        }
        b.tipo = trim(*tipo);
        b.attesi = *n;
        out.blocchi.push_back(b);
        BloccoIngressi& blocco = out.blocchi.back();
        for (int i = 1; i <= *n; ++i) {
            const auto numero_ = taglio.campo('\t');
            const auto ignorato = numero_ ? taglio.campo('\t') : std::nullopt;
            const auto stato_ = ignorato ? taglio.campo('\r') : std::nullopt;
            RecordIngresso rec;
            try {
                if (!stato_)
                    throw ParseError("input record cut short");
                rec.numero = intero(trim(*numero_));
            } catch (const ParseError&) {
                out.interrotta = true;
                return out;
            }
            rec.stato = statoIngresso(*stato_);
            blocco.ingressi.push_back(rec);
            if (i < *n)
                taglio.drop(SeparatoreIngressi);
        }
    }
    return out;
}

bool LeggiModuli(std::string_view risposta, Model& m, std::string& revFw)
{
    m.NumModuli = 0;
    m.TotaleIngressi = 0;
    const BlocchiIngressi blocchi =
        leggiBlocchiIngressi(risposta, [](std::size_t k, const std::string& tipo) -> std::optional<int> {
            if (k >= static_cast<std::size_t>(MaxModuli))
                return std::nullopt;  // no room for another module: the list stops here
            if (const auto noto = tipoModuloDalNome(tipo))
                return noto->ingressi;
            return std::nullopt;  // a type this program does not know ends the list
        });
    for (const BloccoIngressi& b : blocchi.blocchi) {
        if (!b.intero() || m.TotaleIngressi + b.attesi > MaxIngressi)
            return false;
        const int k = m.NumModuli + 1;
        Modulo mod = m.Moduli(k);
        mod.Tipo = tipoModuloDalNome(b.tipo)->codice;
        mod.NumIngressi = static_cast<std::int16_t>(b.attesi);
        mod.Ingressi = mod.NumIngressi;

        // The module's firmware revision: its line in the firmware list.
        std::string restoFw = revFw;
        Taglio rigaFw(restoFw);
        long q = rigaFw.tab();
        rigaFw.drop(q);
        q = rigaFw.tab();
        mod.RevPic = intero(rigaFw.head(q - 1 - CodaRevisioneModulo));
        rigaFw.drop(q);
        q = rigaFw.cr();
        rigaFw.drop(q);

        m.Moduli(k) = mod;
        for (int i = 1; i <= b.attesi; ++i) {
            const int e = m.TotaleIngressi + i;
            const RecordIngresso& rec = b.ingressi[static_cast<std::size_t>(i - 1)];
            m.NumeriIngressi(e) = rec.numero;
            if (rec.stato == 0 || rec.stato == 1)
                m.StatoIngressi(e) = static_cast<std::uint8_t>(rec.stato);
        }
        m.NumModuli = static_cast<std::int16_t>(k);
        m.TotaleIngressi = static_cast<std::int16_t>(m.TotaleIngressi + b.attesi);
        revFw = restoFw;
    }
    return !blocchi.interrotta;
}

LetturaIngressi LeggiStatiIngressi(std::string_view risposta, std::span<const std::int16_t> numIngressi)
{
    const std::size_t moduli = std::min<std::size_t>(numIngressi.size(), MaxModuli);
    const BlocchiIngressi blocchi =
        leggiBlocchiIngressi(risposta, [&](std::size_t k, const std::string&) -> std::optional<int> {
            if (k >= moduli)  // more blocks than modules
                return std::nullopt;
            const int n = numIngressi[k];
            if (n < 1 || n > MaxIngressi)
                return std::nullopt;
            return n;
        });
    LetturaIngressi out;
    out.interrotta = blocchi.interrotta;
    int base = 0;
    for (const BloccoIngressi& b : blocchi.blocchi) {
        int riga = base;
        for (const RecordIngresso& rec : b.ingressi) {
            if (!Table<int, MaxIngressi>::valid(++riga)) {
                out.interrotta = true;
                return out;
            }
            out.ingressi.push_back({riga, rec.numero, rec.stato});
        }
        if (!b.intero())
            break;
        base += b.attesi;
        ++out.moduli;
    }
    return out;
}

std::vector<std::int16_t> numeriPerModulo(const Model& m)
{
    std::vector<std::int16_t> v;
    const int moduli = std::clamp<int>(m.NumModuli, 0, MaxModuli);
    for (int k = 1; k <= moduli; ++k)
        v.push_back(m.Moduli(k).NumIngressi);
    return v;
}

void applicaIngressi(Model& m, const LetturaIngressi& lettura)
{
    for (const IngressoLetto& i : lettura.ingressi) {
        if (!Table<int, MaxIngressi>::valid(i.riga))
            continue;
        m.NumeriIngressi(i.riga) = i.numero;
        if (i.stato == 0 || i.stato == 1)
            m.StatoIngressi(i.riga) = static_cast<std::uint8_t>(i.stato);
    }
}

// ---- "GET CONF" --------------------------------------------------------------------

// The modules' part starts at this marker, with a heading of this length.
constexpr const char* MarcaModuli = "NR.DIG IN";
constexpr long IntestazioneModuliConf = 13;
// A module's address follows its marker and ends before the first capital O.
constexpr std::string_view MarcaIndirizzo = "IND:";
constexpr const char* FineIndirizzo = "O";
// After a body's first TAB: the TAB and the body's coil count ("\t14:").
constexpr long ContoBobineConf = 4;

void LeggiIndirizziModuli(std::string& risposta, Model& m)
{
    Taglio taglio(risposta);
    long p = taglio.pos(MarcaModuli);
    taglio.drop(p - 1);
    taglio.drop(IntestazioneModuliConf);
    for (int k = 1; k <= m.NumModuli && k <= MaxModuli; ++k) {
        p = taglio.pos(MarcaIndirizzo);
        taglio.drop(p - 1 + static_cast<long>(MarcaIndirizzo.size()));
        p = taglio.pos(FineIndirizzo);
        m.Moduli(k).Indirizzo = intero(trim(taglio.head(p - 1)));
    }
}

std::vector<RecordConf> RecordsGetConf(std::string& risposta, const Model& m, int corpo)
{
    std::vector<RecordConf> out;
    Taglio taglio(risposta);
    auto arrotonda = [](double v, int& out) {
        if (!std::isfinite(v) || v < -32768.5 || v > 32767.5)
            return false;
        out = static_cast<int>(std::nearbyint(v));
        return true;
    };
    for (int e = 1; e <= m.NumEspansioni && e <= MaxEspansioni && e <= corpo; ++e) {
        long p = taglio.tab();
        if (p == 0)
            return out;
        taglio.drop(p - 1);
        taglio.drop(ContoBobineConf);
        const int n = m.Espansioni(e).NumBobine;
        for (int j = 1; j <= n; ++j) {
            p = taglio.tab();
            if (p <= 1)
                return out;  // no field left to read
            const double primo = valoreIniziale(taglio.head(p - 1));
            taglio.drop(p - 1);
            const double secondo = valoreIniziale(taglio.head(p - 1));
            taglio.drop(p - 1);
            RecordConf rec{};
            if (e == corpo && arrotonda(primo, rec.posizione) && arrotonda(secondo, rec.indice))
                out.push_back(rec);
        }
    }
    return out;
}

// ---- "GET SLAVE ADDRESS" -----------------------------------------------------------

// The reply's end, up to and including its "OK".
constexpr long CodaIndirizzoSlave = 4;

std::string LeggiIndirizzoSlave(std::string_view risposta)
{
    std::string r(risposta);
    Taglio taglio(r);
    taglio.drop(taglio.pos(":"));  // the whole reply when there is no colon
    r = trim(r);
    Taglio(r).chop(CodaIndirizzoSlave);
    return trim(r);
}

// ---- "LEGGI CONTACOLPI" ------------------------------------------------------------

// The counter's field at the start of the reply.
constexpr long CampoContacolpi = 5;

std::optional<long> contacolpiDaRisposta(std::string_view risposta)
{
    std::string r(risposta);
    const std::string campo = trim(Taglio(r).head(CampoContacolpi));
    if (campo.empty())
        return std::nullopt;
    long n = 0;
    for (char ch : campo) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        n = n * 10 + (ch - '0');
    }
    return n;
}

} // namespace ondrix
