#include "island/Codifica.h"

namespace ondrix {

namespace {

// Windows-1252 bytes 80..9F. The five unassigned bytes keep their C1 code
// points, as the Windows conversion does.
constexpr char32_t Cp1252Alti[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
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

} // namespace

bool utf8Valido(std::string_view s)
{
    std::size_t i = 0;
    char32_t cp;
    while (i < s.size())
        if (!carattereUtf8(s, i, cp))
            return false;
    return true;
}

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
        // The C1 controls the table keeps for the unassigned bytes are no
        // characters of the code page.
        char byte = '?';
        for (int k = 0; k < 32 && cp > 0x9F; ++k)
            if (Cp1252Alti[k] == cp)
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
            aggiungiUtf8(out, Cp1252Alti[c - 0x80]);
        else
            aggiungiUtf8(out, c);
    }
    return out;
}

std::string decodificaTesto(std::string_view bytes)
{
    if (utf8Valido(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return cp1252AUtf8(bytes);
}

} // namespace ondrix
