#pragma once
// A serial port that counts what the configurator writes and reads through
// it, on the port and on the search's probes: what went over the line, for
// the benchmarks' wire bounds.

#include "channel/SerialPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ondrix::bench {

struct Counts {
    long lines = 0;           // lines written
    std::int64_t chars = 0;   // characters read
};

class CountingPort : public SerialPort {
public:
    CountingPort(SerialPort& p, Counts& counts) : p_(p), counts_(counts) {}
    CountingPort(std::unique_ptr<SerialPort> p, Counts& counts)
        : own_(std::move(p)), p_(*own_), counts_(counts)
    {
    }

    void setPortNumber(int n) override { p_.setPortNumber(n); }
    int portNumber() const override { return p_.portNumber(); }
    bool open() override { return p_.open(); }
    void close() override { p_.close(); }
    bool isOpen() const override { return p_.isOpen(); }
    OpenOutcome openOutcome() const override { return p_.openOutcome(); }
    std::string device() const override { return p_.device(); }
    void write(const std::string& data) override
    {
        ++counts_.lines;
        p_.write(data);
    }
    std::int64_t outputCount() override { return p_.outputCount(); }
    std::int64_t inputCount() override { return p_.inputCount(); }
    std::string readAll() override
    {
        std::string s = p_.readAll();
        counts_.chars += static_cast<std::int64_t>(s.size());
        return s;
    }
    std::optional<std::int64_t> nextArrivalUs() const override { return p_.nextArrivalUs(); }
    bool pauseArrivals() override { return p_.pauseArrivals(); }
    void resumeArrivals() override { p_.resumeArrivals(); }
    std::unique_ptr<SerialPort> probe(int n) override
    {
        auto s = p_.probe(n);
        return s ? std::make_unique<CountingPort>(std::move(s), counts_) : nullptr;
    }
    [[nodiscard]] Registration onLost(std::function<void()> f) override { return p_.onLost(std::move(f)); }

private:
    std::unique_ptr<SerialPort> own_;
    SerialPort& p_;
    Counts& counts_;
};

} // namespace ondrix::bench
