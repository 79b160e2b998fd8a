#include "channel/Traccia.h"

namespace ondrix {

std::string byteLeggibili(std::string_view dati)
{
    static const char* const Esadecimali = "0123456789abcdef";
    std::string s;
    for (const char ch : dati) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r')
            s += "<CR>";
        else if (c == '\n')
            s += "<LF>";
        else if (c == '\t')
            s += "<TAB>";
        else if (c < 0x20 || c >= 0x7F)
            s += std::string("<") + Esadecimali[c >> 4] + Esadecimali[c & 0xF] + ">";
        else
            s += ch;
    }
    return s;
}

Traccia::Traccia(const std::string& file) : file_(std::fopen(file.c_str(), "wb")) {}

Traccia::~Traccia()
{
    if (file_)
        std::fclose(file_);
}

long long Traccia::ms() const
{
    if (!t0_)
        return 0;
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - *t0_).count();
}

void Traccia::dati(char direzione, std::string_view byte)
{
    if (!file_ || byte.empty())
        return;
    std::fprintf(file_, "%lld %c %s\n", ms(), direzione, byteLeggibili(byte).c_str());
    std::fflush(file_);
}

void Traccia::commento(const std::string& testo)
{
    if (!file_)
        return;
    std::fprintf(file_, "# %s\n", testo.c_str());
    std::fflush(file_);
}

PortaTracciata::PortaTracciata(SerialPort& porta, std::shared_ptr<Traccia> traccia)
    : p_(porta), t_(std::move(traccia))
{
}

PortaTracciata::PortaTracciata(std::unique_ptr<SerialPort> porta, std::shared_ptr<Traccia> traccia)
    : propria_(std::move(porta)), p_(*propria_), t_(std::move(traccia))
{
}

std::string PortaTracciata::nome() const
{
    std::string n = "port " + std::to_string(p_.portNumber());
    if (const std::string d = p_.dispositivo(); !d.empty())
        n += " " + d;
    return n;
}

bool PortaTracciata::open()
{
    const bool ok = p_.open();
    if (ok) {
        t_->aperta();
        t_->commento(nome() + " opened");
    }
    return ok;
}

void PortaTracciata::close()
{
    const bool era = p_.isOpen();
    p_.close();
    if (era)
        t_->commento(nome() + " closed");
}

void PortaTracciata::write(const std::string& data)
{
    t_->dati('>', data);
    p_.write(data);
}

std::string PortaTracciata::readAll()
{
    std::string s = p_.readAll();
    t_->dati('<', s);
    return s;
}

std::unique_ptr<SerialPort> PortaTracciata::sonda(int n)
{
    std::unique_ptr<SerialPort> s = p_.sonda(n);
    if (!s)
        return nullptr;
    return std::make_unique<PortaTracciata>(std::move(s), t_);
}

} // namespace ondrix
