#pragma once
// A serial port that counts the characters the configurator reads through
// it: what the island sent, for the benchmarks' wire bounds.

#include "channel/SerialPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ondrix::bench {

class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& p) : p_(p) {}
    std::int64_t letti = 0;

    void setPortNumber(int n) override { p_.setPortNumber(n); }
    int portNumber() const override { return p_.portNumber(); }
    bool open() override { return p_.open(); }
    void close() override { p_.close(); }
    bool isOpen() const override { return p_.isOpen(); }
    Apertura esitoApertura() const override { return p_.esitoApertura(); }
    std::string dispositivo() const override { return p_.dispositivo(); }
    void write(const std::string& data) override { p_.write(data); }
    std::int64_t outputCount() override { return p_.outputCount(); }
    std::int64_t inputCount() override { return p_.inputCount(); }
    std::string readAll() override
    {
        std::string s = p_.readAll();
        letti += static_cast<std::int64_t>(s.size());
        return s;
    }
    std::optional<std::int64_t> nextArrivalUs() const override { return p_.nextArrivalUs(); }
    bool sospendiNotifiche() override { return p_.sospendiNotifiche(); }
    void riprendiNotifiche() override { p_.riprendiNotifiche(); }
    std::unique_ptr<SerialPort> sonda(int n) override { return p_.sonda(n); }
    void suPerdita(std::function<void()> f) override { p_.suPerdita(std::move(f)); }

private:
    SerialPort& p_;
};

} // namespace ondrix::bench
