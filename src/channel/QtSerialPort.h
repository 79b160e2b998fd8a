#pragma once
// The real serial port, on Qt SerialPort: 9600 baud, 8 data bits, no parity,
// 1 stop bit, no flow control. Data arrival and write completion go through
// the Qt event loop, so they wake Host::waitForEvent. A port that fails (the
// adapter pulled out, a refused write or read, the line hung up) is reported
// at once to the loss callback and throws PortError from the next
// operation; it never takes the program down by itself.

#include "channel/SerialPort.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QSerialPort;
class QSocketNotifier;

namespace ondrix {

class QtSerialPort : public SerialPort {
public:
    // Port number -> device path; empty when the number has no device.
    using Resolver = std::function<std::string(int)>;

    // Ports numbered as on this machine (Dispositivi.h).
    QtSerialPort();
    // Ports numbered by the given resolver (a port named on the command line,
    // tests, the pseudo-terminal demo).
    explicit QtSerialPort(Resolver resolver);
    ~QtSerialPort() override;

    void setPortNumber(int n) override { number_ = n; }
    int portNumber() const override { return number_; }

    bool open() override;
    void close() override;
    bool isOpen() const override;
    OpenOutcome openOutcome() const override { return outcome_; }
    std::string device() const override { return device_; }

    void write(const std::string& data) override;
    std::int64_t outputCount() override;
    std::int64_t inputCount() override;
    std::string readAll() override;
    bool pauseArrivals() override;
    void resumeArrivals() override;
    std::unique_ptr<SerialPort> probe(int n) override;
    Registration onLost(std::function<void()> f) override;

    // Whether the driver passes received characters on at once (Linux USB
    // adapters; a pseudo-terminal or a built-in UART refuses, silently).
    bool lowLatency() const { return lowLatency_; }

private:
    void check(const char* what);
    // Why the open that just failed did (the lock file, the holder, the
    // user's rights, the system's reason).
    OpenOutcome whyNotOpened(int error, const std::string& reason) const;
    void reportLost();
    // The read notifier of the open port; null where there is none.
    QSocketNotifier* readNotifier();

    Resolver resolver_;
    std::unique_ptr<QSerialPort> port_;
    QPointer<QSocketNotifier> readNotifier_;
    int number_ = 1;
    std::string device_;
    bool opening_ = false;
    bool lowLatency_ = false;
    std::string error_;  // the failure seen by the event loop, reported by the next operation
    OpenOutcome outcome_;
    // The loss callback; its registration holds it weakly.
    std::shared_ptr<std::function<void()>> lost_;
};

} // namespace ondrix
