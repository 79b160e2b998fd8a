#pragma once
// A scripted serial port for channel tests, driven by the host's clock: bytes
// fed in at given times, failure knobs (open fails, write fails, write stalls,
// an error at the n-th operation), and a record of every write.

#include "channel/Host.h"
#include "channel/SerialPort.h"

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace ondrix::test {

class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(const Clock& clock) : clock_(clock) {}

    // --- Knobs ------------------------------------------------------------
    bool openFails = false;
    bool writeFails = false;                 // every write throws PortError
    std::int64_t writeStallUs = 0;           // a write stays in the output queue this long
    long failAtOperation = 0;                // the n-th operation (1-based) throws PortError, 0 = never
    bool failStays = true;                   // ... and every one after it (a pulled adapter)
    // Called with each written text once it has left (e.g. to schedule a reply).
    std::function<void(const std::string&)> onWrite;

    // Input readable from now on / from the clock time atUs on.
    void feed(const std::string& text) { feedAt(clock_.nowUs(), text); }
    void feedAt(std::int64_t atUs, const std::string& text) { pending_.emplace(atUs, text); }
    // Input readable delayUs after now.
    void feedIn(std::int64_t delayUs, const std::string& text) { feedAt(clock_.nowUs() + delayUs, text); }

    // --- Record -----------------------------------------------------------
    std::vector<std::string> writes;     // every write, in order
    std::vector<std::int64_t> writeTimes;
    std::vector<std::int64_t> readTimes; // clock at each read that returned text
    long operations() const { return ops_; }
    int opens = 0;
    // Input still waiting or scheduled.
    std::string unread();

    // --- SerialPort -------------------------------------------------------
    void setPortNumber(int n) override { number_ = n; }
    int portNumber() const override { return number_; }
    bool open() override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const std::string& data) override;
    std::int64_t outputCount() override;
    std::int64_t inputCount() override;
    std::string readAll() override;
    std::optional<std::int64_t> nextArrivalUs() const override;

private:
    void operation(const char* what);
    void arrive();

    const Clock& clock_;
    int number_ = 1;
    bool open_ = false;
    long ops_ = 0;
    std::string input_;
    std::multimap<std::int64_t, std::string> pending_;
    std::string outgoing_;
    std::int64_t outgoingUntil_ = 0;
};

} // namespace ondrix::test
