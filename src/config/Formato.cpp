// The configuration file's text form and its writer.

#include "config/Formato.h"

#include "island/Numeri.h"

namespace ondrix {

namespace {

// Windows-1252 bytes 80..9F; 0 where the code page assigns nothing.
constexpr char32_t Cp1252Alti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes one well-formed UTF-8 character at s[i], advancing i; false (i
// unchanged) when the bytes there are not well-formed (overlong forms,
// surrogates and values above U+10FFFF included).
bool carattereUtf8(std::string_view s, std::size_t& i, char32_t& cp)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) {
        cp = c;
        ++i;
        return true;
    }
    int n;
    char32_t v;
    char32_t minimo;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 1, v = c & 0x1F, minimo = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 2, v = c & 0x0F, minimo = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 3, v = c & 0x07, minimo = 0x10000;
    } else {
        return false;
    }
    if (s.size() - i <= static_cast<std::size_t>(n))
        return false;
    for (int k = 1; k <= n; ++k) {
        const unsigned char t = b(i + k);
        if ((t & 0xC0) != 0x80)
            return false;
        v = (v << 6) | (t & 0x3F);
    }
    if (v < minimo || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return false;
    cp = v;
    i += static_cast<std::size_t>(n) + 1;
    return true;
}

void aggiungiUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool utf8BenFormato(std::string_view s)
{
    std::size_t i = 0;
    char32_t cp;
    while (i < s.size())
        if (!carattereUtf8(s, i, cp))
            return false;
    return true;
}

std::string riga3(long a, long b, long c)
{
    return testo(a) + " " + testo(b) + " " + testo(c);
}

} // namespace

std::string utf8ACp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp;
        if (!carattereUtf8(utf8, i, cp)) {
            out.push_back('?');
            ++i;
            continue;
        }
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k)
            if (Cp1252Alti[k] != 0 && Cp1252Alti[k] == cp)
                byte = static_cast<char>(0x80 + k);
        out.push_back(byte);
    }
    return out;
}

std::string cp1252AUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out.push_back(ch);
        else if (c < 0xA0)
            aggiungiUtf8(out, Cp1252Alti[c - 0x80] ? Cp1252Alti[c - 0x80] : char32_t{0xFFFD});
        else
            aggiungiUtf8(out, c);
    }
    return out;
}

std::string decodificaFile(std::string_view bytes)
{
    if (utf8BenFormato(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return cp1252AUtf8(bytes);
}

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

std::string nomeProtocollo(int protocollo)
{
    switch (protocollo) {
    case 1:
        return "PROFIBUS";
    case 2:
        return "CANOPEN";
    case 3:
        return "DEVICENET";
    default:
        return {};
    }
}

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
        if (b.Posizione != 0 && b.Indice != IndiceDisabilitato) {
            for (int d = 1; d <= MaxDiagnosi; ++d)
                if (m.Diagnosi(d).Indice == b.Indice) {
                    relax = m.Diagnosi(d).Relax;
                    break;
                }
        }
        riga(riga3(b.Indice, b.Posizione, relax));
    }

    if (m.Protocollo == 1) {
        riga(IntestazioneTerminazione);
        riga(captionTerminazione == m.testi.CaptTerminazioneOff ? "ON" : "OFF");
    } else if (m.Protocollo == 2 || m.Protocollo == 3) {
        riga(IntestazioneBaudRate);
        riga(rigaNumero(m.IndiceBaudRate));
        // An index without a text (the island reported none of 0..7) leaves
        // the text line empty; the reader never reads it.
        const int voce = m.IndiceBaudRate + 1;
        riga(m.TestiBaudRate.valid(voce) ? m.TestiBaudRate(voce) : std::string());
    }
    return utf8ACp1252(t);
}

} // namespace ondrix
