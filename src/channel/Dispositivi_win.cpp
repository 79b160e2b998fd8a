// The serial devices on Windows: port n is COMn, opened by one program alone.

#include "channel/Dispositivi.h"

#include <algorithm>
#include <cctype>

namespace ondrix {

// Windows numbers the ports itself: there is no list to number.
std::vector<std::string> dispositiviSeriali(const std::string&) { return {}; }

std::string dispositivoPorta(int n)
{
    if (n < PrimaPorta || n > UltimaPorta)
        return {};
    return "COM" + std::to_string(n);
}

std::optional<PortaNominata> portaDelDispositivo(const std::string& nome)
{
    std::string maiuscolo = nome;
    std::transform(maiuscolo.begin(), maiuscolo.end(), maiuscolo.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (maiuscolo.rfind("COM", 0) == 0)
        if (const auto n = numeroPorta(maiuscolo.substr(3)))
            return PortaNominata{*n, {}};
    return std::nullopt;
}

std::string fileBlocco(const std::string&) { return {}; }

std::optional<ProprietarioBlocco> proprietarioBlocco(const std::string&) { return std::nullopt; }

std::string gruppoNegato(const std::string&) { return {}; }

bool richiediBassaLatenza(QSerialPort&) { return false; }

} // namespace ondrix
