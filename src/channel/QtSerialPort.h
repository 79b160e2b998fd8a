#pragma once
// The real serial port, on Qt SerialPort: 9600 baud, 8 data bits, no parity,
// 1 stop bit, no flow control. Data arrival and write completion go through
// the Qt event loop, so they wake Host::waitForEvent. A port that fails (the
// adapter pulled out, a refused write or read) throws PortError from the next
// operation; it never takes the program down by itself.

#include "channel/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

class QSerialPort;

namespace ondrix {

class QtSerialPort : public SerialPort {
public:
    // Port number -> device path; empty when the number has no device.
    using Resolver = std::function<std::string(int)>;

    // Ports numbered as on this machine (Porte.h).
    QtSerialPort();
    // Ports numbered by the given resolver (tests, the pseudo-terminal demo).
    explicit QtSerialPort(Resolver resolver);
    ~QtSerialPort() override;

    void setPortNumber(int n) override { number_ = n; }
    int portNumber() const override { return number_; }

    bool open() override;
    void close() override;
    bool isOpen() const override;

    void write(const std::string& data) override;
    std::int64_t outputCount() override;
    std::int64_t inputCount() override;
    std::string readAll() override;
    bool sospendiNotifiche() override;
    void riprendiNotifiche() override;

    // The device the port is (or was last) opened on.
    const std::string& device() const { return device_; }

private:
    void check(const char* what);

    Resolver resolver_;
    std::unique_ptr<QSerialPort> port_;
    int number_ = 1;
    std::string device_;
    bool opening_ = false;
    std::string error_;  // the failure seen by the event loop, reported by the next operation
};

} // namespace ondrix
