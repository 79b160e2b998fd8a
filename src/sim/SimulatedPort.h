#pragma once
// The in-process serial port on a simulated island, for the tests, the
// benchmarks and the demo. Written bytes reach the island at once; its answer
// becomes readable at the times the island schedules on the given clock (a
// fake clock in tests, the monotonic clock in the demo), and nextArrivalUs()
// tells the channel when to look again, so it waits without spinning.
//
// Like a real port, it can pause its arrivals (SerialPort::pauseArrivals):
// meanwhile the island's answer waits unseen and wakes nobody, and the read
// after the pause takes everything that came, the final CR LF of a reply too.
//
// Port numbers: by default the island answers on port 1 and no other port
// exists. setPort() describes each port: absent (open fails), silent (opens,
// swallows what is written, never answers) or the island; for instance two
// silent ports and the island on port 3 to test the port search.

#include "channel/Dispositivi.h"
#include "channel/Host.h"
#include "channel/SerialPort.h"
#include "sim/SimulatedIsland.h"

#include <array>
#include <memory>
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

    void setPortNumber(int n) override { line_.number = n; }
    int portNumber() const override { return line_.number; }

    bool open() override { return openLine(line_); }
    void close() override { closeLine(line_); }
    bool isOpen() const override { return line_.open; }

    void write(const std::string& data) override { writeLine(line_, data); }
    std::int64_t outputCount() override;
    std::int64_t inputCount() override { return waiting(line_); }
    std::string readAll() override { return readLine(line_); }
    std::optional<std::int64_t> nextArrivalUs() const override { return arrival(line_); }
    bool pauseArrivals() override;
    void resumeArrivals() override;
    // Another line of this board: the same ports and island, opened on its own.
    std::unique_ptr<SerialPort> probe(int n) override;

    // Port numbers that open() was asked for, on any line, in order (the
    // port search).
    const std::vector<int>& openAttempts() const { return attempts_; }
    // Everything written while a line was open, on any port.
    const std::string& written() const { return written_; }

private:
    // One open or closed port of the board.
    struct Line {
        int number = 1;
        bool open = false;
        bool paused = false;   // arrivals paused: nothing readable, nobody woken
        bool lateRead = false; // the next read comes after a pause
    };
    class Probe;

    bool onIsland(const Line& l) const { return l.open && kind(l.number) == PortKind::Island; }
    void check(const Line& l, const char* op) const;
    bool openLine(Line& l);
    void closeLine(Line& l);
    void writeLine(Line& l, const std::string& data);
    std::int64_t waiting(Line& l);
    std::string readLine(Line& l);
    std::optional<std::int64_t> arrival(const Line& l) const;

    SimulatedIsland& island_;
    const Clock& clock_;
    std::array<PortKind, UltimaPorta + 1> kinds_{};  // by port number
    Line line_;
    std::vector<int> attempts_;
    std::string written_;
};

} // namespace ondrix::sim
