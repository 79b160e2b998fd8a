#pragma once
// The serial port as the command channel sees it: exactly the operations the
// channel needs. Real ports go through Qt SerialPort (QtSerialPort.h); tests and
// the demo use the island simulator's in-process port (sim/SimulatedPort.h).

#include "channel/Registration.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace ondrix {

// A port operation failed: device unplugged, write or read refused. The
// channel turns it into the same end as a time-out.
struct PortError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the last opening of a port came to, in words a technician can act on.
struct OpenOutcome {
    enum class Status {
        Open,
        Absent,  // no such port
        Denied,  // the user may not open the device
        Busy,    // another program holds it
        Locked,  // a lock file of a program no longer running stands in the way
        Failed,  // any other refusal of the system
    };
    Status status = Status::Absent;
    std::string device;         // the device tried ("/dev/ttyUSB0", "COM3"); empty when absent
    std::string reason;         // the system's reason, as it gives it
    std::string group;          // Denied: the group that may open the device
    std::string lockFile;       // Locked: the lock file
    long holderPid = 0;         // Busy: the holder's process, when known
    std::string holderProgram;  // Busy: the holder's program name, when known
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port number 1..16, set before opening.
    virtual void setPortNumber(int n) = 0;
    virtual int portNumber() const = 0;

    // Opens at 9600 baud, 8 data bits, no parity, 1 stop bit. False when the
    // port does not exist or is in use; openOutcome() tells why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual OpenOutcome openOutcome() const
    {
        OpenOutcome o;
        o.status = isOpen() ? OpenOutcome::Status::Open : OpenOutcome::Status::Absent;
        return o;
    }
    // The device the port is (or was last) opened on; empty when the port
    // has no device of its own (the built-in island).
    virtual std::string device() const { return {}; }

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
    virtual bool pauseArrivals() { return false; }
    virtual void resumeArrivals() {}

    // Another port object of the same kind, for port number n, not open: the
    // port search opens every port at once. Null for a port that has no
    // others (the port number n then does not exist).
    virtual std::unique_ptr<SerialPort> probe(int n)
    {
        (void)n;
        return nullptr;
    }

    // f is called from the event loop, at any moment while the port is open,
    // when the port fails by itself (the device removed, a read or write
    // refused, the line hung up); the operations throw PortError from then
    // on. One callback at a time: a second registration replaces the first.
    // The port may go before the registration.
    [[nodiscard]] virtual Registration onLost(std::function<void()> f)
    {
        (void)f;
        return {};
    }
};

} // namespace ondrix
