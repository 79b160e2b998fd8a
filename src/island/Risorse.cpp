#include "island/Risorse.h"

#include "channel/Host.h"
#include "frame/Configuratore.h"
#include "island/Numeri.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace ondrix {

std::string decodificaRisorse(std::string_view bytes) { return decodificaTesto(bytes); }

// ---- Lookup -----------------------------------------------------------------

namespace {

struct Ricerca {
    bool chiave = false;               // a line equals the key
    std::optional<std::string> valore; // the line after it, if any
};

Ricerca cerca(std::string_view testo, std::string_view key)
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
            Ricerca esito{true, std::nullopt};
            if (auto valore = riga(pos))
                esito.valore = std::string(*valore);
            return esito;
        }
    }
    return {};
}

} // namespace

std::optional<std::string> LeggiChiave(std::string_view testo, std::string_view key)
{
    return cerca(testo, key).valore;
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

const std::array<const char*, 50> ChiaviAvvio = {
    "[INTESTAZIONE FORM]", "[PROFIBUS]",        "[LABEL1]",          "[LABEL2]",
    "[LABEL3]",            "[LABEL4]",          "[LABEL5]",          "[LABEL6]",
    "[LABEL7]",            "[LABEL8]",          "[LABEL9]",          "[LABEL10]",
    "[LABEL11]",           "[LABEL12]",         "[SOFTWARE]",        "[PIC]",
    "[ATMEL]",             "[LblAlimentazione]", "[CmdPAddress]",    "[CmdReset]",
    "[CmdSalva]",          "[CmdCarica]",       "[CmdDisableAll]",   "[CAPTCHIUDI]",
    "[CAPTAPRI]",          "[CAPTABILITA]",     "[CAPTDISABILITA]",  "[CAPTCHIUDIALL]",
    "[CAPTAPRIALL]",       "[CAPTRELAX]",       "[CAPTNORELAX]",     "[CmdEsci]",
    "[CmdTerminazioneON]", "[CmdTerminazioneOFF]", "[CmdAddressIn]", "[MSGSUCCESSO]",
    "[MSGSPEGNERE]",       "[MSGSERIALE]",      "[MSGCONFIGURAZIONE]", "[MSGTIMEOUT1]",
    "[MSGTIMEOUT2]",       "[MSGADDRESS1]",     "[MSGADDRESS2]",     "[MSGADDRESS3]",
    "[MSGADDRESS4]",       "[MSGDISABLEALL]",   "[INPUTINDIRIZZO]",  "[INPUTINDICE]",
    "[DELAY]",             "[DELAYINPUT]",
};

const std::array<const char*, 4> ChiaviFinestra = {
    "[DIMENSIONESCHERMOX]", "[DIMENSIONESCHERMOY]", "[INIZIALEX]", "[INIZIALEY]"};

// ---- File access ------------------------------------------------------------

std::string percorsoRisorse(Host& host) { return host.programDir() + "/Stringhe.txt"; }

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
    return decodificaRisorse(bytes);
}

// ---- Start-up ---------------------------------------------------------------

namespace {

// Index in ChiaviAvvio of the two number keys.
constexpr std::size_t KDelay = 48, KDelayInput = 49;
// The timer's interval range (milliseconds).
constexpr double IntervalloMassimo = 65535;

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

void ApplicaTesti(Configuratore& c, std::string_view testo, const std::string& file)
{
    using M = RisorsaMancante::Motivo;
    std::array<std::string, ChiaviAvvio.size()> v;
    for (std::size_t k = 0; k < ChiaviAvvio.size(); ++k) {
        const std::string key = ChiaviAvvio[k];
        Ricerca r = cerca(testo, key);
        if (!r.valore) {
            const M motivo = r.chiave ? M::Valore : M::Chiave;
            throw RisorsaMancante(file, key, "resource key " + key + " missing in " + file, motivo);
        }
        v[k] = std::move(*r.valore);
    }

    auto numeroDi = [&](std::size_t k) {
        auto x = numeroRisorse(v[k]);
        if (!x)
            throw RisorsaMancante(file, ChiaviAvvio[k],
                                  std::string("resource key ") + ChiaviAvvio[k] + " not a number",
                                  M::Numero, v[k]);
        return *x;
    };
    auto fuoriLimiti = [&](std::size_t k) {
        return RisorsaMancante(file, ChiaviAvvio[k],
                               std::string("resource key ") + ChiaviAvvio[k] + " out of range",
                               M::FuoriLimiti, v[k]);
    };
    // A negative pause or interval has no meaning, and a timer cannot take
    // an interval beyond its range: refused like a value that is no number.
    const double delay = numeroDi(KDelay);
    const float ritardo = static_cast<float>(delay / 1000.0);
    if (delay < 0 || !std::isfinite(ritardo))
        throw fuoriLimiti(KDelay);
    const double intervallo = std::nearbyint(numeroDi(KDelayInput));  // a half to the even
    if (intervallo < 0 || intervallo > IntervalloMassimo)
        throw fuoriLimiti(KDelayInput);

    Form& f = c.f;
    Testi& t = c.m.testi;
    std::size_t k = 0;
    auto next = [&]() -> std::string& { return v[k++]; };
    f.setCaption(next());
    f.PROFIBUS.setCaption(next());
    f.Label1.setCaption(next());
    f.Label2.setCaption(next());
    f.Label3.setCaption(next());
    f.Label4.setCaption(next());
    f.Label5.setCaption(next());
    f.Label6.setCaption(next());
    f.Label7.setCaption(next());
    f.Label8.setCaption(next());
    f.Label9.setCaption(next());
    f.Label10.setCaption(next());
    f.Label11.setCaption(next());
    f.Label12.setCaption(next());
    f.Software.setCaption(next());
    f.PIC.setCaption(next());
    f.ATMEL.setCaption(next());
    f.LblAlimentazione.setCaption(next());
    f.CmdPAddress.setCaption(next());
    f.CmdReset.setCaption(next());
    f.CmdSalva.setCaption(next());
    f.CmdCarica.setCaption(next());
    f.CmdDisableAll.setCaption(next());
    t.CaptChiudi = next();
    t.CaptApri = next();
    f.CmdAziona.setCaption(t.CaptChiudi);
    t.CaptAbilita = next();
    t.CaptDisabilita = next();
    f.CmdAbilita.setCaption(t.CaptAbilita);
    t.CaptChiudiAll = next();
    t.CaptApriAll = next();
    f.CmdAll.setCaption(t.CaptChiudiAll);
    t.CaptRelax = next();
    t.CaptNoRelax = next();
    f.CmdRelax.setCaption(t.CaptRelax);
    f.CmdEsci.setCaption(next());
    t.CaptTerminazioneOn = next();
    t.CaptTerminazioneOff = next();
    f.CmdAddressIn.setCaption(next());
    for (int i = 1; i <= 11; ++i)
        t.Messaggi(i) = next();
    t.TestiInput(1) = next();
    t.TestiInput(2) = next();
    t.Ritardo = ritardo;
    f.Timer1.setInterval(static_cast<int>(intervallo));
}

void CaricaTestiOppureErrore(Configuratore& c)
{
    const std::string file = percorsoRisorse(c.host);
    auto testo = leggiFileRisorse(file);
    if (!testo)
        throw RisorsaMancante(file, {}, "resource file " + file + " cannot be read",
                              RisorsaMancante::Motivo::File);
    ApplicaTesti(c, *testo, file);
}

void CaricaTesti(Configuratore& c)
{
    try {
        CaricaTestiOppureErrore(c);
    } catch (const RisorsaMancante& e) {
        c.host.messageBox(messaggioRisorse(e), TitoloErroreRisorse, MessageButtons::Ok);
        c.host.endProgram(StatoRisorse);
    }
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
