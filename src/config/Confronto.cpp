#include "config/Confronto.h"

#include "config/Righe.h"
#include "island/Regole.h"

namespace ondrix {

namespace {

ContenutoFile leggi(const std::vector<std::string>& righe)
{
    ContenutoFile c;
    Righe L(righe);
    const std::string& prima = L.leggi();
    if (prima == IntestazioneModuli) {
        c.conModuli = true;
        c.numModuli = L.numero();
        L.limiti(c.numModuli, 0, MaxModuli);
        L.salta(1);
        for (ContenutoFile::Modulo& m : c.moduli) {
            const std::string& riga = L.leggi();
            m = {L.campo(riga, 1), L.campo(riga, 2), L.campo(riga, 3)};
        }
        const std::string* riga = &L.leggi();
        if (trim(*riga) == IntestazioneProtocollo)
            riga = &L.leggi();
        c.protocollo = L.intero(trim(*riga));
    } else if (prima == IntestazioneProtocollo) {
        c.protocollo = L.numero();
    } else {
        L.rifiuta(Motivo::Intestazione);
    }
    L.salta(2);  // the protocol's name and the address heading
    c.indirizzo = trim(L.leggi());
    L.salta(1);
    c.totaleBobine = L.numero();
    L.salta(1);
    const int E = L.numero();
    L.limiti(E, 0, MaxEspansioni);
    L.salta(1);
    for (int r = 1; r <= E; ++r) {
        const std::string& riga = L.leggi();
        c.corpi.push_back({L.campo(riga, 1), L.campo(riga, 2)});
    }
    L.salta(1);
    for (ContenutoFile::Bobina& b : c.bobine) {
        const std::string& riga = L.leggi();
        b = {L.campo(riga, 1), L.campo(riga, 2), L.campo(riga, 3)};
    }
    if (c.protocollo == protocollo::Profibus) {
        L.salta(1);
        c.terminazione = L.leggi() == "ON";
    } else if (haBaudRate(c.protocollo)) {
        L.salta(1);
        c.baudRate = L.numero();
    }
    return c;
}

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
        return leggi(righe);
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
