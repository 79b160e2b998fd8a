#include "island/Risorse.h"

#include "channel/Host.h"
#include "island/Codifica.h"
#include "island/Numeri.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace ondrix {

// ---- Lookup -----------------------------------------------------------------

RicercaChiave cercaChiave(std::string_view testo, std::string_view key)
{
    // Cuts the line starting at pos; moves pos past its end (CR LF or CR).
    // No line is left once pos has reached the end of the text.
    auto riga = [&testo](std::size_t& pos) -> std::optional<std::string_view> {
        if (pos >= testo.size())
            return std::nullopt;
        const std::size_t cr = testo.find('\r', pos);
        if (cr == std::string_view::npos) {
            std::string_view r = testo.substr(pos);
            pos = testo.size();
            return r;
        }
        std::string_view r = testo.substr(pos, cr - pos);
        pos = cr + 1;
        if (pos < testo.size() && testo[pos] == '\n')
            ++pos;
        return r;
    };

    std::size_t pos = 0;
    while (auto r = riga(pos)) {
        if (*r == key) {
            RicercaChiave esito{true, std::nullopt};
            if (auto valore = riga(pos))
                esito.valore = std::string(*valore);
            return esito;
        }
    }
    return {};
}

std::optional<std::string> LeggiChiave(std::string_view testo, std::string_view key)
{
    return cercaChiave(testo, key).valore;
}

std::optional<double> numeroRisorse(std::string_view v)
{
    auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
    while (!v.empty() && blank(v.front()))
        v.remove_prefix(1);
    while (!v.empty() && blank(v.back()))
        v.remove_suffix(1);
    bool negativo = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negativo = v.front() == '-';
        v.remove_prefix(1);
    }
    // Digits with one optional decimal point, at least one digit: nothing
    // else (no exponent, no group separator, no "inf").
    std::size_t digits = 0, points = 0;
    for (char ch : v) {
        if (ch >= '0' && ch <= '9')
            ++digits;
        else if (ch == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    double x = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x, std::chars_format::fixed);
    if (ec != std::errc() || end != v.data() + v.size() || !std::isfinite(x))
        return std::nullopt;
    return negativo ? -x : x;
}

const std::array<const char*, 4> ChiaviFinestra = {
    "[DIMENSIONESCHERMOX]", "[DIMENSIONESCHERMOY]", "[INIZIALEX]", "[INIZIALEY]"};

// ---- File access ------------------------------------------------------------

// Joined with the system's separator: the path is shown in messages.
std::string percorsoRisorse(Host& host)
{
    return (std::filesystem::path(host.programDir()) / "Stringhe.txt").string();
}

std::optional<std::string> leggiFileRisorse(const std::string& path)
{
    // A resource file is a few kilobytes; anything beyond this is not one.
    constexpr std::uintmax_t Massimo = 16u << 20;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) ||
        std::filesystem::file_size(path, ec) > Massimo || ec)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return decodificaTesto(bytes);
}

// ---- Start-up ---------------------------------------------------------------

namespace {

std::string testoMotivo(const RisorsaMancante& e, bool italiano)
{
    using M = RisorsaMancante::Motivo;
    switch (e.motivo) {
    case M::File:
        return italiano ? "Il file manca o non si puo' leggere."
                        : "The file is missing or cannot be read.";
    case M::Chiave:
        return italiano ? "Manca la chiave " + e.key + "."
                        : "The key " + e.key + " is missing.";
    case M::Valore:
        return italiano ? "La chiave " + e.key + " e' sull'ultima riga: manca la riga del valore."
                        : "The key " + e.key + " is on the last line: its value line is missing.";
    case M::Numero:
        return italiano ? "Il valore della chiave " + e.key + " non e' un numero: \"" + e.valore + "\"."
                        : "The value of the key " + e.key + " is not a number: \"" + e.valore + "\".";
    case M::FuoriLimiti:
        return italiano ? "Il valore della chiave " + e.key + " e' fuori dai limiti: \"" + e.valore + "\"."
                        : "The value of the key " + e.key + " is out of range: \"" + e.valore + "\".";
    }
    return {};
}

} // namespace

std::string messaggioRisorse(const RisorsaMancante& e)
{
    // Both languages: the file that would choose one is what failed.
    return "File delle risorse di testo non utilizzabile:\n" + e.file + "\n" + testoMotivo(e, true) +
           "\nIl programma termina.\n\n" + "Text resource file not usable:\n" + e.file + "\n" +
           testoMotivo(e, false) + "\nThe program ends.";
}

int LeggiChiaveFinestra(Host& host, const std::string& key)
{
    auto testo = leggiFileRisorse(percorsoRisorse(host));
    if (!testo)
        return 0;
    auto valore = LeggiChiave(*testo, key);
    if (!valore)
        return 0;
    try {
        return intero(*valore);
    } catch (const ParseError&) {
        return 0;
    }
}

} // namespace ondrix
