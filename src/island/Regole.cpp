#include "island/Regole.h"

#include <algorithm>

namespace ondrix {

std::string nomeProtocollo(int p)
{
    switch (p) {
    case protocollo::Profibus:
        return "PROFIBUS";
    case protocollo::Canopen:
        return "CANOPEN";
    case protocollo::Devicenet:
        return "DEVICENET";
    default:
        return {};
    }
}

Intervallo intervalloIndirizzo(int p)
{
    switch (p) {
    case protocollo::Canopen:
        return {1, 127};
    case protocollo::Devicenet:
        return {1, 63};
    default:
        return {3, 126};
    }
}

int baudRateOfferti(int p)
{
    switch (p) {
    case protocollo::Canopen:
        return 8;
    case protocollo::Devicenet:
        return 3;
    default:
        return 0;
    }
}

void impostaTestiBaudRate(int p, Model& m)
{
    if (p == protocollo::Canopen) {
        static const char* const testi[8] = {"10 Kbit/s",  "20 Kbit/s",  "50 Kbit/s",  "125 Kbit/s",
                                             "250 Kbit/s", "500 Kbit/s", "800 Kbit/s", "1 Mbit/s"};
        for (int i = 1; i <= 8; ++i)
            m.TestiBaudRate(i) = testi[i - 1];
    } else if (p == protocollo::Devicenet) {
        static const char* const testi[7] = {"125 Kbit/s", "250 Kbit/s", "500 Kbit/s", "", "", "", ""};
        for (int i = 1; i <= 7; ++i)
            m.TestiBaudRate(i) = testi[i - 1];
    }
}

std::optional<std::string> testoBaudRate(const Model& m, int codice)
{
    if (!m.TestiBaudRate.valid(codice + 1))
        return std::nullopt;
    return m.TestiBaudRate(codice + 1);
}

namespace {
constexpr TipoModulo TipiModulo[] = {{0, "16IN", 16}, {1, "8IN", 8}};
} // namespace

std::optional<TipoModulo> tipoModulo(int codice)
{
    for (const TipoModulo& t : TipiModulo)
        if (t.codice == codice)
            return t;
    return std::nullopt;
}

std::string nomeTipoModulo(int codice)
{
    const auto tipo = tipoModulo(codice);
    return tipo ? tipo->nome : "?";
}

std::optional<TipoModulo> tipoModuloDalNome(std::string_view nome)
{
    for (const TipoModulo& t : TipiModulo)
        if (nome == t.nome)
            return t;
    return std::nullopt;
}

int revTesta(const Model& m) { return m.Espansioni(1).RevPic; }

bool leggeStatoValvole(const Model& m)
{
    return revTesta(m) >= firmware::TestaStatoValvola && m.RevAtmel >= firmware::AtmelStatoValvola;
}

bool leggeInterfaccia(const Model& m)
{
    return revTesta(m) >= firmware::TestaInterfaccia && m.RevAtmel >= firmware::AtmelInterfaccia;
}

bool leggeIngressi(const Model& m)
{
    return revTesta(m) >= firmware::TestaIngressi && m.RevAtmel >= firmware::AtmelIngressi;
}

bool leggeConf(const Model& m) { return m.RevAtmel >= firmware::AtmelConf; }

bool moduliIndirizzabili(const Model& m)
{
    const int moduli = std::clamp<int>(m.NumModuli, 0, MaxModuli);
    for (int k = 1; k <= moduli; ++k)
        if (m.Moduli(k).RevPic < firmware::ModuloIndirizzi)
            return false;
    return true;
}

std::optional<Rgb> coloreStato(int s)
{
    switch (s) {
    case stato::Assente:
        return colore::Grigio;
    case stato::Presente:
        return colore::Arancio;
    case stato::GuastaC:
    case stato::GuastaI:
        return colore::Rosso;
    case stato::Attivata:
        return colore::Verde;
    default:
        return std::nullopt;
    }
}

std::optional<int> statoDelColore(Rgb c)
{
    for (int s = stato::Assente; s <= stato::Attivata; ++s)
        if (coloreStato(s) == c)
            return s;
    return std::nullopt;
}

} // namespace ondrix
