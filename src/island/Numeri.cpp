#include "island/Numeri.h"

#include <cmath>
#include <limits>

namespace ondrix {

namespace {

bool ignorabile(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool cifra(char c) { return c >= '0' && c <= '9'; }

} // namespace

double valoreIniziale(std::string_view x)
{
    std::string s;
    for (char c : x)
        if (!ignorabile(c))
            s.push_back(c);
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    double v = 0;
    bool any = false;
    while (i < s.size() && cifra(s[i])) {
        v = v * 10 + (s[i] - '0');
        ++i;
        any = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < s.size() && cifra(s[i])) {
            v += (s[i] - '0') * scale;
            scale /= 10;
            ++i;
            any = true;
        }
    }
    if (!any)
        return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        bool eneg = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            eneg = s[j] == '-';
            ++j;
        }
        if (j < s.size() && cifra(s[j])) {
            int e = 0;
            while (j < s.size() && cifra(s[j])) {
                if (e < 400)
                    e = e * 10 + (s[j] - '0');
                ++j;
            }
            v *= std::pow(10.0, eneg ? -e : e);
        }
    }
    return neg ? -v : v;
}

std::int16_t arrotonda16(double v)
{
    if (!std::isfinite(v))
        throw ParseError("not a finite number");
    double r = std::nearbyint(v);  // default rounding: half to even
    if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
        throw ParseError("number outside 16 bits");
    return static_cast<std::int16_t>(r);
}

std::int16_t numero(std::string_view x) { return arrotonda16(valoreIniziale(x)); }

std::optional<std::int16_t> interoOpzionale(std::string_view x)
{
    try {
        return intero(x);
    } catch (const ParseError&) {
        return std::nullopt;
    }
}

std::int16_t intero(std::string_view x)
{
    std::size_t b = 0, e = x.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (b < e && blank(x[b]))
        ++b;
    while (e > b && blank(x[e - 1]))
        --e;
    std::string_view s = x.substr(b, e - b);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && cifra(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && cifra(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != s.size())
        throw ParseError("not an integer: '" + std::string(s) + "'");
    return arrotonda16(valoreIniziale(s));
}

std::string trim(std::string_view x)
{
    std::size_t b = 0, e = x.size();
    while (b < e && x[b] == ' ')
        ++b;
    while (e > b && x[e - 1] == ' ')
        --e;
    return std::string(x.substr(b, e - b));
}

std::string testo(long v) { return std::to_string(v); }

std::string testoConSegno(long v) { return v < 0 ? std::to_string(v) : " " + std::to_string(v); }

std::string finoAlDuePunti(std::string_view caption)
{
    std::size_t p = caption.find(':');
    std::size_t n = (p == std::string_view::npos) ? 1 : p + 2;
    return std::string(caption.substr(0, std::min(n, caption.size())));
}

} // namespace ondrix
