#include "sim/SimulatedPort.h"

namespace ondrix::sim {

// A probe of the port search: a line of the board with a number of its own.
class SimulatedPort::Sonda : public SerialPort {
public:
    Sonda(SimulatedPort& board, int n) : board_(board) { linea_.numero = n; }
    ~Sonda() override { board_.chiudi(linea_); }

    void setPortNumber(int n) override { linea_.numero = n; }
    int portNumber() const override { return linea_.numero; }
    bool open() override { return board_.apri(linea_); }
    void close() override { board_.chiudi(linea_); }
    bool isOpen() const override { return linea_.aperta; }
    void write(const std::string& data) override { board_.scrivi(linea_, data); }
    std::int64_t outputCount() override
    {
        board_.check(linea_, "output count");
        return 0;
    }
    std::int64_t inputCount() override { return board_.inAttesa(linea_); }
    std::string readAll() override { return board_.leggi(linea_); }
    std::optional<std::int64_t> nextArrivalUs() const override { return board_.arrivo(linea_); }
    std::unique_ptr<SerialPort> sonda(int n) override { return board_.sonda(n); }

private:
    SimulatedPort& board_;
    Linea linea_;
};

SimulatedPort::SimulatedPort(SimulatedIsland& island, const Clock& clock) : island_(island), clock_(clock)
{
    setIslandPort(1);
}

void SimulatedPort::setPort(int n, PortKind kind)
{
    if (n >= 1 && n <= 16)
        kinds_[static_cast<std::size_t>(n)] = kind;
}

void SimulatedPort::setIslandPort(int n)
{
    kinds_.fill(PortKind::Absent);
    setPort(n, PortKind::Island);
}

PortKind SimulatedPort::kind(int n) const
{
    return (n >= 1 && n <= 16) ? kinds_[static_cast<std::size_t>(n)] : PortKind::Absent;
}

std::unique_ptr<SerialPort> SimulatedPort::sonda(int n) { return std::make_unique<Sonda>(*this, n); }

bool SimulatedPort::apri(Linea& l)
{
    attempts_.push_back(l.numero);
    if (l.aperta)
        return false;  // already open: a second open is refused, as by a real port
    const PortKind k = kind(l.numero);
    if (k == PortKind::Absent || (k == PortKind::Island && island_.dropped()))
        return false;
    l.aperta = true;
    return true;
}

void SimulatedPort::chiudi(Linea& l)
{
    if (suIsola(l))
        island_.discardOutput();
    l.aperta = false;
}

void SimulatedPort::check(const Linea& l, const char* op) const
{
    if (!l.aperta)
        throw PortError(std::string(op) + " on a closed port");
    if (kind(l.numero) == PortKind::Island && island_.dropped())
        throw PortError(std::string(op) + ": the port is gone");
}

void SimulatedPort::scrivi(Linea& l, const std::string& data)
{
    check(l, "write");
    written_ += data;
    if (kind(l.numero) != PortKind::Island)
        return;
    island_.receive(data, clock_.nowUs());
    if (island_.dropped())
        throw PortError("write: the port is gone");
}

std::int64_t SimulatedPort::outputCount()
{
    check(linea_, "output count");
    return 0;  // the island takes every byte as it is written
}

std::int64_t SimulatedPort::inAttesa(Linea& l)
{
    check(l, "input count");
    if (kind(l.numero) != PortKind::Island)
        return 0;
    return static_cast<std::int64_t>(island_.readable(clock_.nowUs()));
}

std::string SimulatedPort::leggi(Linea& l)
{
    check(l, "read");
    if (kind(l.numero) != PortKind::Island)
        return {};
    return island_.take(clock_.nowUs());
}

std::optional<std::int64_t> SimulatedPort::arrivo(const Linea& l) const
{
    if (!suIsola(l) || island_.dropped())
        return std::nullopt;
    return island_.nextArrivalUs();
}

} // namespace ondrix::sim
