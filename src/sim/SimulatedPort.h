#pragma once
// The in-process serial port on a simulated island, for the tests, the
// benchmarks and the demo. Written bytes reach the island at once; its answer
// becomes readable at the times the island schedules on the given clock (a
// fake clock in tests, the monotonic clock in the demo), and nextArrivalUs()
// tells the channel when to look again, so it waits without spinning.
//
// Port numbers: by default the island answers on port 1 and no other port
// exists. setPort() describes each port: absent (open fails), silent (opens,
// swallows what is written, never answers) or the island; for instance two
// silent ports and the island on port 3 to test the port search.

#include "channel/Host.h"
#include "channel/SerialPort.h"
#include "sim/SimulatedIsland.h"

#include <array>
#include <string>
#include <vector>

namespace ondrix::sim {

enum class PortKind { Absent, Silent, Island };

class SimulatedPort : public SerialPort {
public:
    SimulatedPort(SimulatedIsland& island, const Clock& clock);

    // What stands behind port n (1..16).
    void setPort(int n, PortKind kind);
    // The island on port n, every other port absent.
    void setIslandPort(int n);
    PortKind kind(int n) const;

    void setPortNumber(int n) override { number_ = n; }
    int portNumber() const override { return number_; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }

    void write(const std::string& data) override;
    std::int64_t outputCount() override;
    std::int64_t inputCount() override;
    std::string readAll() override;
    std::optional<std::int64_t> nextArrivalUs() const override;

    // Port numbers that open() was asked for, in order (the port search).
    const std::vector<int>& openAttempts() const { return attempts_; }
    // Everything written while the port was open, on any port.
    const std::string& written() const { return written_; }

private:
    bool onIsland() const { return open_ && kind(number_) == PortKind::Island; }
    void check(const char* op) const;

    SimulatedIsland& island_;
    const Clock& clock_;
    std::array<PortKind, 17> kinds_{};
    int number_ = 1;
    bool open_ = false;
    std::vector<int> attempts_;
    std::string written_;
};

} // namespace ondrix::sim
