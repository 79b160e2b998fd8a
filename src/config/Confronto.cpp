#include "config/Confronto.h"

#include "config/Righe.h"
#include "island/Regole.h"

namespace ondrix {

namespace {

// The comparison's walk: every value the file holds, read as it stands.
class LetturaContenuto : public LettoreFile {
public:
    using LettoreFile::LettoreFile;

    ContenutoFile leggi()
    {
        leggiFile();
        return std::move(c_);
    }

    void intestazione(std::string_view testo) override
    {
        // After the module rows the protocol's heading may be missing.
        if (testo == IntestazioneProtocollo)
            righe_.saltaSe(IntestazioneProtocollo);
        else
            righe_.salta();
    }

    void valore(Voce voce, int n) override
    {
        if (nonLetta(voce))
            return;
        switch (voce) {
        case Voce::NumeroModuli:
            c_.numModuli = righe_.numero();
            return righe_.limiti(c_.numModuli, 0, MaxModuli);
        case Voce::Modulo: {
            const std::string& riga = righe_.leggi();
            c_.moduli[static_cast<std::size_t>(n - 1)] = {righe_.campo(riga, 1), righe_.campo(riga, 2),
                                                          righe_.campo(riga, 3)};
            return;
        }
        case Voce::Protocollo:
            c_.protocollo = righe_.numero();
            return;
        case Voce::Indirizzo:
            c_.indirizzo = trim(righe_.leggi());
            return;
        case Voce::TotaleBobine:
            c_.totaleBobine = righe_.numero();
            return;
        case Voce::NumeroEspansioni:
            espansioni_ = righe_.numero();
            return righe_.limiti(espansioni_, 0, MaxEspansioni);
        case Voce::Espansione: {
            const std::string& riga = righe_.leggi();
            c_.corpi.push_back({righe_.campo(riga, 1), righe_.campo(riga, 2)});
            return;
        }
        case Voce::Bobina: {
            const std::string& riga = righe_.leggi();
            c_.bobine[static_cast<std::size_t>(n - 1)] = {righe_.campo(riga, 1), righe_.campo(riga, 2),
                                                          righe_.campo(riga, 3)};
            return;
        }
        case Voce::Terminazione:
            c_.terminazione = righe_.leggi() == "ON";
            return;
        case Voce::BaudRate:
            c_.baudRate = righe_.numero();
            return;
        case Voce::NomeProtocollo:
        case Voce::TestoBaudRate:
            return;
        }
    }

    int espansioni() const override { return espansioni_; }
    int protocollo() const override { return c_.protocollo; }

private:
    void disposizione(Disposizione d) override { c_.conModuli = d == Disposizione::Corrente; }

    ContenutoFile c_;
    int espansioni_ = 0;
};

std::string confronto(const std::string& cosa, const std::string& isola, const std::string& file)
{
    return cosa + ": island " + isola + ", file " + file;
}

// A type this program does not know as its number.
std::string nomeTipo(int codice)
{
    const auto tipo = tipoModulo(codice);
    return tipo ? tipo->nome : std::to_string(codice);
}

} // namespace

std::optional<ContenutoFile> leggiContenutoFile(const std::vector<std::string>& righe, Rifiuto* rifiuto)
{
    try {
        return LetturaContenuto(righe).leggi();
    } catch (const Rifiutato& e) {
        if (rifiuto)
            *rifiuto = e.r;
        return std::nullopt;
    }
}

std::vector<std::string> differenze(const ContenutoFile& isola, const ContenutoFile& file)
{
    std::vector<std::string> d;
    const auto numero = [&](const std::string& cosa, long a, long b) {
        if (a != b)
            d.push_back(confronto(cosa, std::to_string(a), std::to_string(b)));
    };
    const auto nomeProt = [](int p) {
        const std::string n = nomeProtocollo(p);
        return std::to_string(p) + (n.empty() ? "" : " (" + n + ")");
    };
    if (isola.protocollo != file.protocollo)
        d.push_back(confronto("protocol", nomeProt(isola.protocollo), nomeProt(file.protocollo)));
    if (isola.indirizzo != file.indirizzo)
        d.push_back(confronto("slave address", isola.indirizzo, file.indirizzo));
    numero("coil count", isola.totaleBobine, file.totaleBobine);
    numero("body count", static_cast<long>(isola.corpi.size()), static_cast<long>(file.corpi.size()));
    for (std::size_t k = 0; k < isola.corpi.size() && k < file.corpi.size(); ++k) {
        const std::string corpo = "body " + std::to_string(k + 1);
        numero(corpo + " stations", isola.corpi[k].posti, file.corpi[k].posti);
        numero(corpo + " coils", isola.corpi[k].bobine, file.corpi[k].bobine);
    }
    for (std::size_t r = 0; r < isola.bobine.size(); ++r) {
        const std::string riga = "coil row " + std::to_string(r + 1);
        const ContenutoFile::Bobina& a = isola.bobine[r];
        const ContenutoFile::Bobina& b = file.bobine[r];
        numero(riga + " index", a.indice, b.indice);
        numero(riga + " position", a.posizione, b.posizione);
        numero(riga + " relax", a.relax, b.relax);
    }
    // An older file says nothing of the input modules.
    if (file.conModuli) {
        numero("input module count", isola.numModuli, file.numModuli);
        for (int k = 0; k < std::max(isola.numModuli, file.numModuli) && k < MaxModuli; ++k) {
            const std::string modulo = "input module " + std::to_string(k + 1);
            const ContenutoFile::Modulo& a = isola.moduli[static_cast<std::size_t>(k)];
            const ContenutoFile::Modulo& b = file.moduli[static_cast<std::size_t>(k)];
            if (a.tipo != b.tipo)
                d.push_back(confronto(modulo + " type", nomeTipo(a.tipo), nomeTipo(b.tipo)));
            numero(modulo + " address", a.indirizzo, b.indirizzo);
        }
    }
    const auto onOff = [](const std::optional<bool>& t) { return !t ? "-" : *t ? "ON" : "OFF"; };
    if (isola.terminazione != file.terminazione)
        d.push_back(confronto("termination", onOff(isola.terminazione), onOff(file.terminazione)));
    if (isola.baudRate != file.baudRate)
        d.push_back(confronto("baud rate", isola.baudRate ? std::to_string(*isola.baudRate) : "-",
                              file.baudRate ? std::to_string(*file.baudRate) : "-"));
    return d;
}

} // namespace ondrix
