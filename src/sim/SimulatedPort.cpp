#include "sim/SimulatedPort.h"

#include <utility>

namespace ondrix::sim {

// A probe of the port search: a line of the board with a number of its own.
class SimulatedPort::Probe : public SerialPort {
public:
    Probe(SimulatedPort& board, int n) : board_(board) { line_.number = n; }
    ~Probe() override { board_.closeLine(line_); }

    void setPortNumber(int n) override { line_.number = n; }
    int portNumber() const override { return line_.number; }
    bool open() override { return board_.openLine(line_); }
    void close() override { board_.closeLine(line_); }
    bool isOpen() const override { return line_.open; }
    void write(const std::string& data) override { board_.writeLine(line_, data); }
    std::int64_t outputCount() override
    {
        board_.check(line_, "output count");
        return 0;
    }
    std::int64_t inputCount() override { return board_.waiting(line_); }
    std::string readAll() override { return board_.readLine(line_); }
    std::optional<std::int64_t> nextArrivalUs() const override { return board_.arrival(line_); }
    std::unique_ptr<SerialPort> probe(int n) override { return board_.probe(n); }

private:
    SimulatedPort& board_;
    Line line_;
};

SimulatedPort::SimulatedPort(SimulatedIsland& island, const Clock& clock) : island_(island), clock_(clock)
{
    setIslandPort(1);
}

void SimulatedPort::setPort(int n, PortKind kind)
{
    if (n >= PrimaPorta && n <= UltimaPorta)
        kinds_[static_cast<std::size_t>(n)] = kind;
}

void SimulatedPort::setIslandPort(int n)
{
    kinds_.fill(PortKind::Absent);
    setPort(n, PortKind::Island);
}

PortKind SimulatedPort::kind(int n) const
{
    return (n >= PrimaPorta && n <= UltimaPorta) ? kinds_[static_cast<std::size_t>(n)] : PortKind::Absent;
}

std::unique_ptr<SerialPort> SimulatedPort::probe(int n) { return std::make_unique<Probe>(*this, n); }

bool SimulatedPort::openLine(Line& l)
{
    attempts_.push_back(l.number);
    if (l.open)
        return false;  // already open: a second open is refused, as by a real port
    const PortKind k = kind(l.number);
    if (k == PortKind::Absent || (k == PortKind::Island && island_.dropped()))
        return false;
    l.open = true;
    return true;
}

void SimulatedPort::closeLine(Line& l)
{
    if (onIsland(l))
        island_.discardOutput();
    l.open = false;
    l.paused = l.lateRead = false;
}

bool SimulatedPort::pauseArrivals()
{
    if (!line_.open)
        return false;
    line_.paused = true;
    return true;
}

void SimulatedPort::resumeArrivals()
{
    if (std::exchange(line_.paused, false))
        line_.lateRead = true;
}

void SimulatedPort::check(const Line& l, const char* op) const
{
    if (!l.open)
        throw PortError(std::string(op) + " on a closed port");
    if (kind(l.number) == PortKind::Island && island_.dropped())
        throw PortError(std::string(op) + ": the port is gone");
}

void SimulatedPort::writeLine(Line& l, const std::string& data)
{
    check(l, "write");
    written_ += data;
    if (kind(l.number) != PortKind::Island)
        return;
    island_.receive(data, clock_.nowUs());
    if (island_.dropped())
        throw PortError("write: the port is gone");
}

std::int64_t SimulatedPort::outputCount()
{
    check(line_, "output count");
    return 0;  // the island takes every byte as it is written
}

std::int64_t SimulatedPort::waiting(Line& l)
{
    check(l, "input count");
    if (kind(l.number) != PortKind::Island || l.paused)
        return 0;
    return static_cast<std::int64_t>(island_.readable(clock_.nowUs()));
}

std::string SimulatedPort::readLine(Line& l)
{
    check(l, "read");
    if (kind(l.number) != PortKind::Island || l.paused)
        return {};
    if (!std::exchange(l.lateRead, false))
        return island_.take(clock_.nowUs());
    // Read late: everything that came is there, however the island cut it.
    std::string s;
    for (std::string piece; !(piece = island_.take(clock_.nowUs())).empty();)
        s += piece;
    return s;
}

std::optional<std::int64_t> SimulatedPort::arrival(const Line& l) const
{
    if (!onIsland(l) || l.paused || island_.dropped())
        return std::nullopt;
    return island_.nextArrivalUs();
}

} // namespace ondrix::sim
