// The configuration file's text form and its writer.

#include "config/Formato.h"

#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

namespace ondrix {

namespace {

std::string riga3(long a, long b, long c)
{
    return testo(a) + " " + testo(b) + " " + testo(c);
}

} // namespace

std::vector<std::string> righeDi(std::string_view testo)
{
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    std::size_t i = 0;
    while (i < testo.size()) {
        const char c = testo[i];
        if (c == '\r' || c == '\n') {
            righe.emplace_back(testo.substr(inizio, i - inizio));
            i += (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ? 2 : 1;
            inizio = i;
        } else {
            ++i;
        }
    }
    if (inizio < testo.size())
        righe.emplace_back(testo.substr(inizio));
    return righe;
}

std::string EstraiCampo(std::string_view riga, int n)
{
    // Positions from 1 as the search counts them; 0 = no space found.
    const auto cerca = [&](std::size_t da) -> std::size_t {
        const std::size_t p = riga.find(' ', da - 1);
        return p == std::string_view::npos ? 0 : p + 1;
    };
    std::size_t inizio = 1;
    std::size_t fine = cerca(1);
    for (int i = 1; i < n; ++i) {
        inizio = fine + 1;
        fine = cerca(inizio);
    }
    if (fine == 0)
        fine = riga.size() + 1;
    return trim(riga.substr(inizio - 1, fine - inizio));
}

std::string rigaNumero(long v) { return testoConSegno(v) + " "; }

std::string indirizzoDaCaption(std::string_view captionProfibus)
{
    const std::size_t p = captionProfibus.find(':');
    return trim(p == std::string_view::npos ? captionProfibus : captionProfibus.substr(p + 1));
}

std::string scriviConfigurazione(const Model& m, std::string_view captionProfibus,
                                 std::string_view captionTerminazione)
{
    std::string t;
    t.reserve(4096);
    const auto riga = [&](std::string_view s) {
        t += s;
        t += "\r\n";
    };

    riga(IntestazioneModuli);
    riga(rigaNumero(m.NumModuli));
    riga(IntestazioneRigheModuli);
    for (int r = 1; r <= MaxModuli; ++r) {
        const Modulo& mo = m.Moduli(r);
        riga(riga3(mo.Tipo, mo.RevPic, mo.Indirizzo));
    }

    riga(IntestazioneProtocollo);
    riga(rigaNumero(m.Protocollo));
    if (const std::string nome = nomeProtocollo(m.Protocollo); !nome.empty())
        riga(nome);

    riga(IntestazioneIndirizzo);
    riga(indirizzoDaCaption(captionProfibus));

    riga(IntestazioneTotaleBobine);
    riga(rigaNumero(m.TotaleBobine));

    riga(IntestazioneEspansioni);
    riga(rigaNumero(m.NumEspansioni));
    riga(IntestazioneRigheEspansioni);
    for (int r = 1; r <= m.NumEspansioni && r <= MaxEspansioni; ++r)
        riga(testo(m.Espansioni(r).NumPosti) + " " + testo(m.Espansioni(r).NumBobine));

    riga(IntestazioneBobine);
    for (int r = 1; r <= MaxBobine; ++r) {
        const ConfBobina& b = m.ConfBobine(r);
        int relax = 0;
        if (b.Posizione != 0 && b.Indice != IndiceDisabilitato)
            if (const auto d = rigaDiagnosi(m, b.Indice))
                relax = m.Diagnosi(*d).Relax;
        riga(riga3(b.Indice, b.Posizione, relax));
    }

    if (m.Protocollo == protocollo::Profibus) {
        riga(IntestazioneTerminazione);
        riga(captionTerminazione == m.testi.CaptTerminazioneOff ? "ON" : "OFF");
    } else if (haBaudRate(m.Protocollo)) {
        riga(IntestazioneBaudRate);
        riga(rigaNumero(m.IndiceBaudRate));
        // An index without a text (the island reported none of 0..7) leaves
        // the text line empty; the reader never reads it.
        riga(testoBaudRate(m, m.IndiceBaudRate).value_or(std::string()));
    }
    return utf8ACp1252(t);
}

} // namespace ondrix
