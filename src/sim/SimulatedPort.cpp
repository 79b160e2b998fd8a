#include "sim/SimulatedPort.h"

namespace ondrix::sim {

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

bool SimulatedPort::open()
{
    attempts_.push_back(number_);
    if (open_)
        return false;  // already open: a second open is refused, as by a real port
    const PortKind k = kind(number_);
    if (k == PortKind::Absent || (k == PortKind::Island && island_.dropped()))
        return false;
    open_ = true;
    return true;
}

void SimulatedPort::close()
{
    if (onIsland())
        island_.discardOutput();
    open_ = false;
}

void SimulatedPort::check(const char* op) const
{
    if (!open_)
        throw PortError(std::string(op) + " on a closed port");
    if (kind(number_) == PortKind::Island && island_.dropped())
        throw PortError(std::string(op) + ": the port is gone");
}

void SimulatedPort::write(const std::string& data)
{
    check("write");
    written_ += data;
    if (kind(number_) != PortKind::Island)
        return;
    island_.receive(data, clock_.nowUs());
    if (island_.dropped())
        throw PortError("write: the port is gone");
}

std::int64_t SimulatedPort::outputCount()
{
    check("output count");
    return 0;  // the island takes every byte as it is written
}

std::int64_t SimulatedPort::inputCount()
{
    check("input count");
    if (kind(number_) != PortKind::Island)
        return 0;
    return static_cast<std::int64_t>(island_.readable(clock_.nowUs()));
}

std::string SimulatedPort::readAll()
{
    check("read");
    if (kind(number_) != PortKind::Island)
        return {};
    return island_.take(clock_.nowUs());
}

std::optional<std::int64_t> SimulatedPort::nextArrivalUs() const
{
    if (!onIsland() || island_.dropped())
        return std::nullopt;
    return island_.nextArrivalUs();
}

} // namespace ondrix::sim
