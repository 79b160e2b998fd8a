#include "report/Rapporto.h"

#include "config/Formato.h"
#include "form/Form.h"
#include "frame/Terminazione.h"
#include "island/Model.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"
#include "view/Descrizione.h"
#include "view/Vista.h"

#include <QDateTime>

#include <algorithm>

namespace ondrix {

namespace {

// Where the strokes or the index are not known.
const std::string Trattino = "\xE2\x80\x93";

// "INDIRIZZO SLAVE: 5" -> "INDIRIZZO SLAVE:" and "5"; no colon: all label.
Etichettato dividi(const std::string& caption)
{
    const std::size_t p = caption.find(':');
    if (p == std::string::npos)
        return {trim(caption), {}};
    return {trim(caption.substr(0, p + 1)), trim(caption.substr(p + 1))};
}

std::string parole(const Control& etichetta) { return paroleLegenda(etichetta); }

// The legend's words for a coil state; a state the legend does not show reads
// as absent.
std::string paroleStato(const Form& f, int s)
{
    const auto c = coloreStato(s);
    const Control* etichetta = c ? legendaBobina(f, *c) : nullptr;
    return parole(etichetta ? *etichetta : f.Label5);
}


// The valves of some body lack their supply (its drawing says so).
bool senzaAlimentazione(const Model& m)
{
    for (int e = 1; e <= std::min<int>(m.NumEspansioni, MaxEspansioni); ++e)
        if (senzaAlimentazione(m, e))
            return true;
    return false;
}

CorpoRapporto corpo(const Model& m, const Form& f, int e, int& riga, const Contacolpi* colpi,
                    const std::string& separatore)
{
    const Testi::Rapporto& t = m.testi.rapporto;
    const ParoleLuogo& luogo = m.testi.Luogo;
    const Espansione& E = m.Espansioni(e);
    CorpoRapporto c;
    c.titolo = luogo.Corpo + " " + testo(E.Numero) + (e == 1 ? " (" + t.Testa + ")" : "");
    c.posti = E.NumPosti;
    c.testa = e == 1;
    for (int j = 1; j <= E.NumBobine && riga < std::min<int>(m.TotaleBobine, MaxBobine); ++j) {
        const ConfBobina& cb = m.ConfBobine(++riga);
        BobinaRapporto b;
        b.posizione = cb.Posizione;
        std::string indice = Trattino;
        if (cb.Indice == IndiceDisabilitato) {
            b.disabilitata = true;
            b.caption = testo(cb.Posizione);
            b.colore = ColoreDisabilitata;
            b.stato = parole(f.Label6);
        } else {
            if (cb.Indice != IndiceSentinella)
                b.caption = indice = testo(cb.Indice);
            const RigaDiagnosi& d = m.Diagnosi(rigaDiagnosiOSentinella(m, cb.Indice));
            b.colore = coloreStato(d.Stato).value_or(colore::Grigio);
            b.stato = paroleStato(f, d.Stato);
            b.relax = d.Relax == 1;
            b.guasta = guasta(d.Stato);
        }
        std::string strokes = Trattino;
        if (colpi)
            if (const auto n = colpi->find(riga); n != colpi->end())
                strokes = formattaColpi(n->second * 1000LL, separatore);
        b.riga = {testo(E.Numero), testo(cb.Posizione), indice, b.stato, b.relax ? t.Si : t.No, strokes};
        c.bobine.push_back(std::move(b));
    }
    return c;
}

// "BOBINE GUASTE: CORPO 0, POSIZIONE 4, INDICE 3; CORPO 0, POSIZIONE 7, INDICE 6"
std::string guaste(const Testi::Rapporto& t, const ParoleLuogo& luogo, const std::vector<CorpoRapporto>& corpi)
{
    std::string s;
    for (const CorpoRapporto& c : corpi)
        for (const BobinaRapporto& b : c.bobine)
            if (b.guasta)
                s += (s.empty() ? t.Guaste + " " : "; ") + luogo.Corpo + " " + b.riga[0] + ", " + luogo.Posizione + " " +
                     b.riga[1] + ", " + luogo.Indice + " " + b.riga[2];
    return s;
}

// Positions in runs: 1, 2, 3, 5 -> "1-3, 5" (with an en dash).
std::string serie(std::vector<int> p)
{
    std::sort(p.begin(), p.end());
    std::string s;
    for (std::size_t i = 0; i < p.size();) {
        std::size_t j = i;
        while (j + 1 < p.size() && p[j + 1] == p[j] + 1)
            ++j;
        s += (s.empty() ? "" : ", ") + testo(p[i]) + (j > i ? Trattino + testo(p[j]) : std::string());
        i = j + 1;
    }
    return s;
}

// "BOBINE DISABILITATE: CORPO 0, POSIZIONE 6; CORPO 2, POSIZIONE 1-16", one
// entry per body: an island may have hundreds.
std::string disabilitate(const Testi::Rapporto& t, const ParoleLuogo& luogo,
                         const std::vector<CorpoRapporto>& corpi)
{
    std::string s;
    for (const CorpoRapporto& c : corpi) {
        std::vector<int> posizioni;
        for (const BobinaRapporto& b : c.bobine)
            if (b.disabilitata)
                posizioni.push_back(b.posizione);
        if (!posizioni.empty())
            s += (s.empty() ? t.Disabilitate + " " : "; ") + luogo.Corpo + " " + c.bobine.front().riga[0] + ", " +
                 luogo.Posizione + " " + serie(posizioni);
    }
    return s;
}

ModuloRapporto modulo(const Model& m, const Form& f, int k, int& riga)
{
    const Testi::Rapporto& t = m.testi.rapporto;
    const ParoleLuogo& luogo = m.testi.Luogo;
    const Modulo& M = m.Moduli(k);
    ModuloRapporto r;
    r.titolo = luogo.Modulo + " " + testo(k) + ": " + nomeTipoModulo(M.Tipo) + ", " + t.Indirizzo + " " +
               (M.Indirizzo < 0 ? Trattino : testo(M.Indirizzo)) + ", " + dividi(f.PIC.caption()).etichetta +
               " " + testo(M.RevPic);
    const int n = M.Tipo == 0 ? 16 : M.Tipo == 1 ? 8 : 0;
    for (int i = 0; i < n && riga < std::min<int>(m.TotaleIngressi, MaxIngressi); ++i) {
        ++riga;
        const int numero = m.NumeriIngressi(riga);
        if (numero == IndiceDisabilitato) {
            r.ingressi.push_back({"D", colore::GialloPallido});
            continue;
        }
        const int s = m.StatoIngressi(riga);
        r.ingressi.push_back({testo(numero + 1), s == 1 ? colore::Verde : s == 0 ? colore::Giallo : colore::Grigio});
    }
    return r;
}

} // namespace

std::string indirizzoSlave(const Model& m, const Form& f)
{
    return m.IndirizzoSlave ? testo(*m.IndirizzoSlave) : indirizzoDaCaption(f.PROFIBUS.caption());
}

std::string dataOraAdesso()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
}

Rapporto componiRapporto(const Model& m, const Form& f, const Contacolpi* colpi, const std::string& dataOra,
                         const std::string& separatore)
{
    const Testi& testi = m.testi;
    const Testi::Rapporto& t = testi.rapporto;
    const ParoleLuogo& luogo = testi.Luogo;
    Rapporto r;
    r.titolo = t.Titolo;
    r.sottotitolo = f.caption();

    const int numCorpi = std::clamp<int>(m.NumEspansioni, 0, MaxEspansioni);
    int riga = 0;
    for (int e = 1; e <= numCorpi; ++e)
        r.corpi.push_back(corpo(m, f, e, riga, colpi, separatore));

    // Header: the window's captions, split where their values stand.
    r.intestazione.push_back(dividi(f.Software.caption()));
    r.intestazione.push_back({t.Data, dataOra});
    r.intestazione.push_back({t.Fieldbus, nomeProtocollo(m.Protocollo)});
    r.intestazione.push_back({dividi(f.PROFIBUS.caption()).etichetta, indirizzoSlave(m, f)});
    if (const auto on = terminazioneMostrata(m, f))
        r.intestazione.push_back({t.Terminazione, *on ? t.Si : t.No});
    if (const auto baud = testoBaudRate(m, m.IndiceBaudRate); baud && haBaudRate(m.Protocollo))
        r.intestazione.push_back({testi.TitoloBaudRate + ":", *baud});
    r.intestazione.push_back(dividi(f.ATMEL.caption()));
    std::string pic;
    for (int e = 1; e <= numCorpi; ++e)
        pic += (e > 1 ? ", " : "") + luogo.Corpo + " " + testo(m.Espansioni(e).Numero) + ": " +
               testo(m.Espansioni(e).RevPic);
    r.intestazione.push_back({dividi(f.PIC.caption()).etichetta, pic});

    r.connettoreFieldbus = f.ConnettoreProfibus.fillColor();
    for (auto [s, etichetta] : {std::pair{stato::Attivata, &f.Label3}, {stato::Presente, &f.Label4},
                                {stato::Assente, &f.Label5}, {stato::GuastaC, &f.Label7}})
        r.legenda.push_back({*coloreStato(s), parole(*etichetta)});
    r.legenda.insert(r.legenda.begin() + 3, {ColoreDisabilitata, parole(f.Label6)});
    r.relaxNo = parole(f.Label8);
    r.relaxSi = parole(f.Label9);

    r.titoloIngressi = trim(f.Label1.caption());
    int ingresso = 0;
    for (int k = 1; k <= std::clamp<int>(m.NumModuli, 0, MaxModuli); ++k)
        r.moduli.push_back(modulo(m, f, k, ingresso));
    r.legendaIngressi = {{colore::Verde, parole(f.Label11)},
                         {colore::Giallo, parole(f.Label10)},
                         {colore::GialloPallido, parole(f.Label12)}};

    if (senzaAlimentazione(m))
        r.avvisoAlimentazione = trim(f.LblAlimentazione.caption());
    for (std::string s : {guaste(t, luogo, r.corpi), disabilitate(t, luogo, r.corpi)})
        if (!s.empty())
            r.avvisi.push_back(std::move(s));

    r.colonne = {luogo.Corpo, luogo.Posizione, luogo.Indice, t.Stato, t.Relax, t.Colpi};
    r.pagina = t.Pagina;
    return r;
}

} // namespace ondrix
