#include "island/Lettura.h"

#include "frame/Configuratore.h"
#include "island/RecordDiagnosi.h"

#include <algorithm>
#include <vector>

namespace ondrix {

// ---- Taglio -------------------------------------------------------------

long Taglio::pos(std::string_view s) const
{
    std::size_t p = r_.find(s);
    return p == std::string::npos ? 0 : static_cast<long>(p) + 1;
}

std::string Taglio::head(long n) const
{
    if (n < 0)
        throw ParseError("reply shorter than expected");
    return r_.substr(0, static_cast<std::size_t>(n));
}

std::string Taglio::at(long p) const
{
    if (p < 1)
        throw ParseError("reply shorter than expected");
    if (static_cast<std::size_t>(p) > r_.size())
        return {};
    return r_.substr(static_cast<std::size_t>(p - 1), 1);
}

void Taglio::drop(long n)
{
    if (n < 0)
        throw ParseError("reply shorter than expected");
    if (static_cast<std::size_t>(n) >= r_.size())
        r_.clear();
    else
        r_.erase(0, static_cast<std::size_t>(n));
}

void Taglio::chop(long n)
{
    if (n < 0 || static_cast<std::size_t>(n) > r_.size())
        throw ParseError("reply shorter than expected");
    r_.resize(r_.size() - static_cast<std::size_t>(n));
}

// ---- Parsers ------------------------------------------------------------

void LeggiValvolePresenti(std::string& R, Model& m)
{
    Taglio t(R);
    t.drop(23);
    t.chop(2);
    m.NumEspansioni = 0;
    m.TotaleBobine = 0;
    std::vector<ConfBobina> bobine;
    while (!t.empty()) {
        if (m.NumEspansioni >= MaxEspansioni)
            break;  // no room for another body: the list stops here
        const std::size_t prima = t.size();
        const int k = m.NumEspansioni + 1;
        Espansione e = m.Espansioni(k);

        long p = t.tab();
        e.Numero = numero(t.head(p));
        t.drop(p);
        p = t.tab();
        std::int16_t n = numero(t.head(p));
        if (n == 0)
            n = 1;
        e.NumBobine = n;
        t.drop(p);
        p = t.tab();
        e.NumPosti = numero(t.head(p));
        t.drop(p);

        // A negative count or one that overflows the coil table cannot be
        // stored; the list ends before this body.
        if (n < 0 || m.TotaleBobine + n > MaxBobine)
            break;
        bobine.clear();
        for (int j = 1; j <= n; ++j) {
            ConfBobina b;
            p = t.tab();
            b.Indice = numero(t.head(p));
            t.drop(p);
            p = t.cr();
            b.Posizione = numero(t.head(p));
            if (b.Posizione == 0)
                b.Posizione = 1;
            t.drop(j == n ? p : p + 3);
            bobine.push_back(b);
        }
        if (t.size() == prima)
            break;  // nothing consumed: what is left is not a body

        m.Espansioni(k) = e;
        for (int j = 1; j <= n; ++j)
            m.ConfBobine(m.TotaleBobine + j) = bobine[static_cast<std::size_t>(j - 1)];
        m.NumEspansioni = static_cast<std::int16_t>(k);
        m.TotaleBobine = static_cast<std::int16_t>(m.TotaleBobine + n);
    }
}

void LeggiDiagnosi(std::string& R, Model& m)
{
    const LetturaDiagnosi l = leggiDiagnosi(R);
    int riga = 1;
    for (const RecordDiagnosi& r : l.record) {
        RigaDiagnosi& d = m.Diagnosi(riga++);
        d.Indice = r.indice;
        applicaLettera(d, r.lettera);
    }
    R.erase(0, std::min(l.letti, R.size()));
    if (!l.completa)
        throw ParseError("diagnosis cut short");
}

void LeggiRelax(std::string& R, Model& m)
{
    Taglio t(R);
    t.drop(14);
    for (int i = 1; i <= MaxDiagnosi; ++i) {
        long p = t.tab();
        t.drop(p);  // the index before the TAB is not used
        p = t.cr();
        const std::string w = t.head(p - 2);
        if (w == "OPEN")
            m.Diagnosi(i).Relax = 0;
        else if (w == "CLOSE")
            m.Diagnosi(i).Relax = 1;
        t.drop(p);
    }
}

void LeggiRevFw(std::string& R, Model& m, std::optional<std::string>& testoAtmel,
                std::string& resto)
{
    Taglio t(R);
    t.drop(15);
    t.chop(2);

    // The head's main controller.
    long p = t.tab();
    t.drop(p);
    p = t.tab();
    const std::string rev = t.head(p - 1);
    m.RevAtmel = intero(rev);
    testoAtmel = rev;
    t.drop(p);
    p = t.cr();
    t.drop(p);

    // One line per body, the head first.
    for (int i = 1; i <= m.NumEspansioni && i <= MaxEspansioni; ++i) {
        p = t.tab();
        t.drop(p);
        p = t.tab();
        m.Espansioni(i).RevPic = intero(t.head(p));
        t.drop(p);
        p = t.cr();
        t.drop(p);
    }
    resto = t.text();
}

char LeggiInterfaccia(std::string_view R)
{
    if (R.empty())
        return 0;
    const char c = R.front();
    return (c == 'P' || c == 'C' || c == 'D') ? c : 0;
}

int ApplicaInterfaccia(char interfaccia, Model& m, std::string& suffisso)
{
    switch (interfaccia) {
    case 'P':
        suffisso = " - PROFIBUS";
        return 1;
    case 'C': {
        static const char* const testi[8] = {"10 Kbit/s",  "20 Kbit/s",  "50 Kbit/s",  "125 Kbit/s",
                                             "250 Kbit/s", "500 Kbit/s", "800 Kbit/s", "1 Mbit/s"};
        for (int i = 1; i <= 8; ++i)
            m.TestiBaudRate(i) = testi[i - 1];
        suffisso = " - CANOPEN";
        return 2;
    }
    case 'D': {
        static const char* const testi[7] = {"125 Kbit/s", "250 Kbit/s", "500 Kbit/s", "", "", "", ""};
        for (int i = 1; i <= 7; ++i)
            m.TestiBaudRate(i) = testi[i - 1];
        suffisso = " - DEVICENET";
        return 3;
    }
    default:
        suffisso.clear();
        return 0;
    }
}

std::int16_t LeggiBaudRate(std::string_view R)
{
    std::string r(R);
    Taglio t(r);
    const long p = t.cr();
    const std::int16_t v = numero(t.at(p - 2));
    if (v < 0 || v > 7)
        throw ParseError("baud-rate code outside 0..7");
    return v;
}

bool LeggiStatoValvola(std::string_view R) { return R.find("ON") != std::string_view::npos; }

void LeggiIngressi(std::string& R, Model& m, std::string& revFw)
{
    Taglio t(R);
    t.drop(27);
    t.chop(2);
    m.NumModuli = 0;
    m.TotaleIngressi = 0;
    std::vector<std::int16_t> numeri;
    std::vector<std::uint8_t> stati;
    while (!t.empty()) {
        if (m.NumModuli >= MaxModuli)
            break;
        const std::size_t prima = t.size();
        const int k = m.NumModuli + 1;
        Modulo mod = m.Moduli(k);

        long p = t.tab();
        t.drop(p);  // the first field is not used
        p = t.tab();
        const std::string tipo = trim(t.head(p - 1));
        if (tipo == "16IN") {
            mod.Tipo = 0;
            mod.NumIngressi = 16;
            mod.Ingressi = 16;
        } else if (tipo == "8IN") {
            mod.Tipo = 1;
            mod.NumIngressi = 8;
            mod.Ingressi = 8;
        } else {
            break;  // a type this program does not know ends the list
        }
        if (m.TotaleIngressi + mod.NumIngressi > MaxIngressi)
            break;

        // The module's firmware revision: its line in the firmware list.
        std::string f = revFw;
        Taglio tf(f);
        long q = tf.tab();
        tf.drop(q);
        q = tf.tab();
        mod.RevPic = intero(tf.head(q - 3));
        tf.drop(q);
        q = tf.cr();
        tf.drop(q);

        t.drop(p);
        numeri.clear();
        stati.clear();
        for (int i = 1; i <= mod.NumIngressi; ++i) {
            const int e = m.TotaleIngressi + i;
            p = t.tab();
            numeri.push_back(intero(trim(t.head(p - 1))));
            t.drop(p);
            p = t.tab();
            t.drop(p);  // the second field is not used
            p = t.cr();
            const std::string s = trim(t.head(p - 1));
            std::uint8_t st = m.StatoIngressi(e);
            if (s == "ON")
                st = 1;
            else if (s == "OFF")
                st = 0;
            stati.push_back(st);
            t.drop(i < mod.NumIngressi ? p + 2 : p);
        }
        if (t.size() == prima)
            break;

        m.Moduli(k) = mod;
        for (int i = 1; i <= mod.NumIngressi; ++i) {
            m.NumeriIngressi(m.TotaleIngressi + i) = numeri[static_cast<std::size_t>(i - 1)];
            m.StatoIngressi(m.TotaleIngressi + i) = stati[static_cast<std::size_t>(i - 1)];
        }
        m.NumModuli = static_cast<std::int16_t>(k);
        m.TotaleIngressi = static_cast<std::int16_t>(m.TotaleIngressi + mod.NumIngressi);
        revFw = f;
    }
}

void LeggiIndirizziModuli(std::string& R, Model& m)
{
    Taglio t(R);
    long p = t.pos("NR.DIG IN");
    t.drop(p - 1);
    t.drop(13);
    for (int k = 1; k <= m.NumModuli && k <= MaxModuli; ++k) {
        p = t.pos("IND:");
        t.drop(p + 3);
        p = t.pos("O");
        m.Moduli(k).Indirizzo = intero(trim(t.head(p - 1)));
    }
}

std::string LeggiIndirizzoSlave(std::string_view R)
{
    std::size_t c = R.find(':');
    std::string s = trim(c == std::string_view::npos ? R : R.substr(c + 1));
    if (s.size() < 4)
        throw ParseError("reply shorter than expected");
    s.resize(s.size() - 4);
    return trim(s);
}

// ---- The exchanges ------------------------------------------------------


void LetturaConfigurazione(Configuratore& c)
{
    Model& m = c.m;
    Form& f = c.f;
    auto invia = [&](const std::string& cmd, const std::string& atteso) {
        return c.ch.InviaComandoOppureErrore(cmd, atteso);
    };
    std::string revFwResto;

    // 1. Bodies and coils.
    PassoAvvio([&] {
        m.Risposta = invia("GET VALVOLE PRESENTI", "OK");
        LeggiValvolePresenti(m.Risposta, m);
    });

    // 2. Diagnosis.
    PassoAvvio([&] {
        m.Risposta = invia("GET DIAGNOSI", "OK");
        LeggiDiagnosi(m.Risposta, m);
    });

    // 3. Relax.
    PassoAvvio([&] {
        m.Risposta = invia("GET RELAX", "OK");
        LeggiRelax(m.Risposta, m);
    });

    // 4. Firmware. The ATMEL caption follows the revision as soon as it is read.
    PassoAvvio([&] {
        m.Risposta = invia("GET REV FW", "OK");
        std::optional<std::string> testoAtmel;
        auto applica = [&] {
            if (testoAtmel)
                f.ATMEL.setCaption(finoAlDuePunti(f.ATMEL.caption()) + *testoAtmel);
        };
        try {
            LeggiRevFw(m.Risposta, m, testoAtmel, revFwResto);
        } catch (...) {
            applica();
            throw;
        }
        applica();
    });

    // 5. Body selector.
    PassoAvvio([&] {
        f.Combo1.clearList();
        for (int i = 1; i <= m.NumEspansioni; ++i)
            f.Combo1.addItem(testo(m.Espansioni(i).Numero), i - 1);
    });

    // 6. Valve states, one exchange pair per present, de-energised coil.
    PassoAvvio([&] {
        if (!(m.Espansioni(1).RevPic >= 35 && m.RevAtmel >= 34))
            return;
        for (int i = 1; i <= MaxDiagnosi; ++i) {
            if (m.Diagnosi(i).Stato != stato::Presente)
                continue;
            invia("STATO VALVOLA", "INDICE:");
            m.Risposta = invia(testo(m.Diagnosi(i).Indice), "OK");
            if (LeggiStatoValvola(m.Risposta))
                m.Diagnosi(i).Stato = stato::Attivata;
        }
    });

    // 7. Fieldbus interface and baud rate.
    PassoAvvio([&] {
        m.Protocollo = 1;
        if (!(m.Espansioni(1).RevPic >= 40 && m.RevAtmel >= 40))
            return;
        m.Risposta = invia("INTERFACCIA", "OK");
        std::string suffisso;
        const int protocollo = ApplicaInterfaccia(LeggiInterfaccia(m.Risposta), m, suffisso);
        if (protocollo == 0)
            return;
        m.Protocollo = static_cast<std::int16_t>(protocollo);
        f.setCaption(f.caption() + suffisso);
        if (protocollo == 1)
            return;
        m.Risposta = invia("GET BAUD RATE", "OK");
        m.IndiceBaudRate = LeggiBaudRate(m.Risposta);
        f.Option1[static_cast<std::size_t>(m.IndiceBaudRate)]->setValue(true);
    });

    // 8. Digital input modules, then their addresses.
    bool ingressiLetti = false;
    PassoAvvio([&] {
        f.Combo2.clearList();
        m.NumModuli = 0;
        m.TotaleIngressi = 0;
        if (!(m.Espansioni(1).RevPic >= 39 && m.RevAtmel >= 40))
            return;
        m.Risposta = invia("GET DIGITAL INPUT", "OK");
        ingressiLetti = true;
        auto elenco = [&] {
            for (int k = 1; k <= m.NumModuli; ++k)
                f.Combo2.addItem(" " + testo(k), k - 1);
        };
        try {
            LeggiIngressi(m.Risposta, m, revFwResto);
        } catch (...) {
            elenco();
            throw;
        }
        elenco();
    });
    PassoAvvio([&] {
        if (!ingressiLetti || m.RevAtmel < 46)
            return;
        m.Risposta = invia("GET CONF", "OK");
        LeggiIndirizziModuli(m.Risposta, m);
    });
}

} // namespace ondrix
