#pragma once
// The serial port as the command channel sees it: exactly the operations the
// channel needs. Real ports go through Qt SerialPort (QtSerialPort.h); tests and
// the demo use the island simulator's in-process port (sim/SimulatedPort.h).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace ondrix {

// A port operation failed: device unplugged, write or read refused. The
// channel turns it into the same end as a time-out; the start-up skips the step.
struct PortError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port number 1..16, set before opening.
    virtual void setPortNumber(int n) = 0;
    virtual int portNumber() const = 0;

    // Opens at 9600 baud, 8 data bits, no parity, 1 stop bit. False when the
    // port does not exist or is in use.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues the whole text for sending at once. Throws PortError on failure.
    virtual void write(const std::string& data) = 0;
    // Characters still waiting to be sent. Throws PortError on failure.
    virtual std::int64_t outputCount() = 0;
    // Received characters waiting to be read. Throws PortError on failure.
    virtual std::int64_t inputCount() = 0;
    // Reads and removes every waiting character. Throws PortError on failure.
    virtual std::string readAll() = 0;

    // For ports whose data arrive on a schedule known in advance (the
    // simulator): the monotonic time, in microseconds of the host clock, at
    // which more input becomes readable. Real ports wake the event loop by
    // themselves and answer nothing.
    virtual std::optional<std::int64_t> nextArrivalUs() const { return std::nullopt; }

    // A reply that arrives a character at a time would wake the program for
    // each: while it gathers, the channel asks the port to stop reporting
    // arrivals (the characters wait in the port) and to start again when it
    // looks. False for a port that cannot, or that needs no such pause.
    virtual bool sospendiNotifiche() { return false; }
    virtual void riprendiNotifiche() {}
};

} // namespace ondrix
