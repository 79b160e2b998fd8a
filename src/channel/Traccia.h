#pragma once
// The wire trace (--trace FILE): every byte sent and received on the port and
// on the probes of the port search, one line per write and per read:
//
//   MILLISECONDS DIRECTION DATA
//
// the time since the first port was opened, ">" sent or "<" received, the
// bytes with control characters shown as <CR>, <LF>, <TAB> and any other byte
// outside printable ASCII as <xx> in hex. Lines starting with "#" are
// comments (which port opened, closed). Each line is on disk when written.

#include "channel/SerialPort.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

// The bytes as a trace line shows them.
std::string byteLeggibili(std::string_view dati);

class Traccia {
public:
    // Opens (and empties) the file; ok() tells whether it could.
    explicit Traccia(const std::string& file);
    ~Traccia();
    Traccia(const Traccia&) = delete;
    Traccia& operator=(const Traccia&) = delete;

    bool ok() const { return file_ != nullptr; }
    void dati(char direzione, std::string_view byte);
    void commento(const std::string& testo);
    void aperta() { if (!t0_) t0_ = std::chrono::steady_clock::now(); }

private:
    long long ms() const;
    std::FILE* file_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> t0_;
};

// A port that writes its traffic to a trace; everything else it forwards.
class TracedPort : public SerialPort {
public:
    TracedPort(SerialPort& port, std::shared_ptr<Traccia> trace);
    // A probe: the port traced is owned.
    TracedPort(std::unique_ptr<SerialPort> port, std::shared_ptr<Traccia> trace);

    void setPortNumber(int n) override { p_.setPortNumber(n); }
    int portNumber() const override { return p_.portNumber(); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return p_.isOpen(); }
    OpenOutcome openOutcome() const override { return p_.openOutcome(); }
    std::string device() const override { return p_.device(); }
    void write(const std::string& data) override;
    std::int64_t outputCount() override { return p_.outputCount(); }
    std::int64_t inputCount() override { return p_.inputCount(); }
    std::string readAll() override;
    std::optional<std::int64_t> nextArrivalUs() const override { return p_.nextArrivalUs(); }
    bool pauseArrivals() override { return p_.pauseArrivals(); }
    void resumeArrivals() override { p_.resumeArrivals(); }
    std::unique_ptr<SerialPort> probe(int n) override;
    Registration onLost(std::function<void()> f) override { return p_.onLost(std::move(f)); }

private:
    std::string name() const;
    std::unique_ptr<SerialPort> own_;
    SerialPort& p_;
    std::shared_ptr<Traccia> t_;
};

} // namespace ondrix
