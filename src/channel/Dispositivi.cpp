#include "channel/Dispositivi.h"

#include <algorithm>
#include <cctype>

namespace ondrix {

namespace {

bool soloCifre(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

std::optional<int> numeroPorta(const std::string& cifre)
{
    if (cifre.empty() || cifre.size() > 2 || !soloCifre(cifre))
        return std::nullopt;
    const int n = std::stoi(cifre);
    if (n < PrimaPorta || n > UltimaPorta)
        return std::nullopt;
    return n;
}

std::optional<PortaNominata> portaNominata(const std::string& nome)
{
    if (nome.empty())
        return std::nullopt;
    if (const auto n = numeroPorta(nome))
        return PortaNominata{*n, {}};
    // Digits alone name a port number, and no number outside 1..16.
    if (soloCifre(nome))
        return std::nullopt;
    return portaDelDispositivo(nome);
}

} // namespace ondrix
