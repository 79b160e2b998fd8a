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

TracedPort::TracedPort(SerialPort& port, std::shared_ptr<Traccia> trace)
    : p_(port), t_(std::move(trace))
{
}

TracedPort::TracedPort(std::unique_ptr<SerialPort> port, std::shared_ptr<Traccia> trace)
    : own_(std::move(port)), p_(*own_), t_(std::move(trace))
{
}

std::string TracedPort::name() const
{
    std::string n = "port " + std::to_string(p_.portNumber());
    if (const std::string d = p_.device(); !d.empty())
        n += " " + d;
    return n;
}

bool TracedPort::open()
{
    const bool ok = p_.open();
    if (ok) {
        t_->aperta();
        t_->commento(name() + " opened");
    }
    return ok;
}

void TracedPort::close()
{
    const bool wasOpen = p_.isOpen();
    p_.close();
    if (wasOpen)
        t_->commento(name() + " closed");
}

void TracedPort::write(const std::string& data)
{
    t_->dati('>', data);
    p_.write(data);
}

std::string TracedPort::readAll()
{
    std::string s = p_.readAll();
    t_->dati('<', s);
    return s;
}

std::unique_ptr<SerialPort> TracedPort::probe(int n)
{
    std::unique_ptr<SerialPort> p = p_.probe(n);
    if (!p)
        return nullptr;
    return std::make_unique<TracedPort>(std::move(p), t_);
}

} // namespace ondrix
