// The configuration file's text form and its writer.

#include "config/Formato.h"

#include "frame/Terminazione.h"
#include "island/Numeri.h"
#include "island/Regole.h"
#include "island/Tabelle.h"

#include <algorithm>

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

namespace {

// The writer's walk: every line from the model and the two captions.
class Scrittura : public PercorsoFile {
public:
    Scrittura(const Model& m, std::string_view captionProfibus, std::string_view captionTerminazione)
        : m_(m), captionProfibus_(captionProfibus), captionTerminazione_(captionTerminazione)
    {
        testo_.reserve(4096);
        riga(primaIntestazione(Disposizione::Corrente));
    }

    void intestazione(std::string_view testo) override { riga(testo); }

    void valore(Voce voce, int n) override
    {
        switch (voce) {
        case Voce::NumeroModuli:
            return riga(rigaNumero(m_.NumModuli));
        case Voce::Modulo: {
            const Modulo& modulo = m_.Moduli(n);
            return riga(riga3(modulo.Tipo, modulo.RevPic, modulo.Indirizzo));
        }
        case Voce::Protocollo:
            return riga(rigaNumero(m_.Protocollo));
        case Voce::NomeProtocollo:
            if (const std::string nome = nomeProtocollo(m_.Protocollo); !nome.empty())
                riga(nome);
            return;
        case Voce::Indirizzo:
            return riga(indirizzoDaCaption(captionProfibus_));
        case Voce::TotaleBobine:
            return riga(rigaNumero(m_.TotaleBobine));
        case Voce::NumeroEspansioni:
            return riga(rigaNumero(m_.NumEspansioni));
        case Voce::Espansione:
            return riga(testo(m_.Espansioni(n).NumPosti) + " " + testo(m_.Espansioni(n).NumBobine));
        case Voce::Bobina: {
            const ConfBobina& b = m_.ConfBobine(n);
            int relax = 0;
            if (b.Posizione != 0 && b.Indice != IndiceDisabilitato)
                if (const auto d = rigaDiagnosi(m_, b.Indice))
                    relax = m_.Diagnosi(*d).Relax;
            return riga(riga3(b.Indice, b.Posizione, relax));
        }
        case Voce::Terminazione:
            return riga(terminazioneAccesa(captionTerminazione_, m_.testi) ? "ON" : "OFF");
        case Voce::BaudRate:
            return riga(rigaNumero(m_.IndiceBaudRate));
        case Voce::TestoBaudRate:
            // An index without a text (the island reported none of 0..7)
            // leaves the text line empty; the reader never reads it.
            return riga(testoBaudRate(m_, m_.IndiceBaudRate).value_or(std::string()));
        }
    }

    int espansioni() const override { return std::clamp<int>(m_.NumEspansioni, 0, MaxEspansioni); }
    int protocollo() const override { return m_.Protocollo; }

    const std::string& scritto() const { return testo_; }

private:
    void riga(std::string_view s)
    {
        testo_ += s;
        testo_ += "\r\n";
    }

    const Model& m_;
    std::string_view captionProfibus_, captionTerminazione_;
    std::string testo_;
};

} // namespace

std::string scriviConfigurazione(const Model& m, std::string_view captionProfibus,
                                 std::string_view captionTerminazione)
{
    Scrittura s(m, captionProfibus, captionTerminazione);
    percorriFile(s, Disposizione::Corrente);
    return utf8ACp1252(s.scritto());
}

} // namespace ondrix
