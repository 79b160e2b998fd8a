#include "channel/QtSerialPort.h"

#include "channel/Dispositivi.h"

#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

namespace ondrix {

namespace {

// Whether an error the open port reports means the line is gone (the adapter
// pulled out, its driver failing, the other end hung up): nothing more will
// pass. Qt's Windows backend reports a failed read, write or wait by the
// system's code: ResourceError (device removed, operation aborted, bad handle
// or command), PermissionError (access denied, what a pulled adapter often
// gives), DeviceNotFoundError, UnsupportedOperationError (invalid parameter:
// no setting is changed on an open port, so it can only be the I/O) and
// UnknownError for any other code (a broken pipe: a pseudo-terminal hung up
// under Wine); a read or write refused at once is ReadError or WriteError.
// The Unix backend gives ResourceError (EIO, EBADF), ReadError or WriteError.
// Only the blocking waits' time-out (unused here) and an operation on a port
// already closed say nothing about the line.
bool lineGone(QSerialPort::SerialPortError e)
{
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError && e != QSerialPort::NotOpenError;
}

// Qt SerialPort has no call to stop reading for a while. On Unix it reads the
// device whenever a read notifier, a QSocketNotifier child of the port made
// when the port opens, reports data: switched off, the characters wait in
// the device. Where there is no such notifier (Windows) there is no pause. A
// test over a pseudo-terminal checks that the Qt in use still has it.
QSocketNotifier* findReadNotifier(QSerialPort& port)
{
    for (QSocketNotifier* n : port.findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read)
            return n;
    return nullptr;
}

} // namespace

QtSerialPort::QtSerialPort() : QtSerialPort(Resolver(&dispositivoPorta)) {}

QtSerialPort::QtSerialPort(Resolver resolver)
    : resolver_(std::move(resolver)), port_(std::make_unique<QSerialPort>())
{
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError e) {
                         if (!lineGone(e))
                             return;
                         if (opening_)
                             return;  // open() reports it
                         const bool wasOpen = port_->isOpen();
                         if (error_.empty())
                             error_ = port_->errorString().toStdString();
                         // A vanished device keeps signalling; stop listening to it.
                         if (e == QSerialPort::ResourceError && wasOpen)
                             port_->close();
                         if (wasOpen)
                             reportLost();
                     });
}

QtSerialPort::~QtSerialPort() = default;

Registration QtSerialPort::onLost(std::function<void()> f)
{
    lost_ = std::make_shared<std::function<void()>>(std::move(f));
    return Registration([mine = std::weak_ptr(lost_)] {
        if (const auto f = mine.lock())
            *f = nullptr;
    });
}

void QtSerialPort::reportLost()
{
    // Told from the event loop, not from inside the serial port's own
    // notification: the callback may show a message and end the program.
    // Looked up when it runs: unregistered meanwhile, it is not called.
    QTimer::singleShot(0, port_.get(), [f = std::weak_ptr(lost_)] {
        if (const auto lost = f.lock(); lost && *lost) {
            const std::function<void()> call = *lost;  // the callback may unregister itself
            call();
        }
    });
}

bool QtSerialPort::open()
{
    if (port_->isOpen())
        port_->close();
    error_.clear();
    outcome_ = OpenOutcome{};
    device_ = resolver_ ? resolver_(number_) : std::string();
    if (device_.empty())
        return false;
    outcome_.device = device_;
    port_->setPortName(QString::fromStdString(device_));
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);

    // A lock left by a program that no longer runs is taken over by the
    // serial library when it may remove it; the user hears of it.
    const std::string lockFile = fileBlocco(device_);
    const auto before = proprietarioBlocco(lockFile);

    opening_ = true;
    const bool ok = port_->open(QIODevice::ReadWrite);
    opening_ = false;
    const QSerialPort::SerialPortError error = port_->error();
    const std::string reason = port_->errorString().toStdString();
    port_->clearError();
    if (!ok) {
        outcome_ = whyNotOpened(error, reason);
        return false;
    }
    outcome_.status = OpenOutcome::Status::Open;
    if (before && !before->vivo)
        outcome_.lockFile = lockFile;
    lowLatency_ = richiediBassaLatenza(*port_);
    return true;
}

OpenOutcome QtSerialPort::whyNotOpened(int error, const std::string& reason) const
{
    using S = OpenOutcome::Status;
    OpenOutcome o;
    o.device = device_;
    o.reason = reason;
    if (error == QSerialPort::DeviceNotFoundError) {
        o.status = S::Absent;
        return o;
    }
    // (A Windows COM port has neither lock file nor group: a refusal there
    // means another program holds it.)
    const std::string lockFile = fileBlocco(device_);
    if (const auto holder = proprietarioBlocco(lockFile)) {
        if (holder->vivo) {
            o.status = S::Busy;
            o.holderPid = holder->processo;
            o.holderProgram = holder->programma;
        } else {
            o.status = S::Locked;
            o.lockFile = lockFile;
        }
        return o;
    }
    if (std::string g = gruppoNegato(device_); !g.empty()) {
        o.status = S::Denied;
        o.group = g;
        return o;
    }
    // The device taken for itself alone by another program (EBUSY).
    o.status = error == QSerialPort::PermissionError ? S::Busy : S::Failed;
    return o;
}

void QtSerialPort::close()
{
    if (port_->isOpen())
        port_->close();
    error_.clear();
}

bool QtSerialPort::isOpen() const { return port_->isOpen(); }

void QtSerialPort::check(const char* what)
{
    if (!error_.empty())
        throw PortError(std::string(what) + ": " + device_ + ": " + error_);
    if (!port_->isOpen())
        throw PortError(std::string(what) + ": the serial port is not open");
}

void QtSerialPort::write(const std::string& data)
{
    check("write");
    const qint64 n = port_->write(data.data(), static_cast<qint64>(data.size()));
    if (n != static_cast<qint64>(data.size())) {
        if (error_.empty())
            error_ = port_->errorString().toStdString();
        if (error_.empty())
            error_ = "the write was refused";
        check("write");
    }
}

std::int64_t QtSerialPort::outputCount()
{
    check("write");
    return port_->bytesToWrite();
}

std::int64_t QtSerialPort::inputCount()
{
    check("read");
    return port_->bytesAvailable();
}

QSocketNotifier* QtSerialPort::readNotifier()
{
    // Looked up once per opening: the port deletes it when it closes.
    if (!readNotifier_ && port_->isOpen())
        readNotifier_ = findReadNotifier(*port_);
    return readNotifier_;
}

bool QtSerialPort::pauseArrivals()
{
    QSocketNotifier* n = readNotifier();
    if (!n || !n->isEnabled())
        return false;
    n->setEnabled(false);
    return true;
}

void QtSerialPort::resumeArrivals()
{
    if (QSocketNotifier* n = readNotifier())
        n->setEnabled(true);
}

std::unique_ptr<SerialPort> QtSerialPort::probe(int n)
{
    auto p = std::make_unique<QtSerialPort>(resolver_);
    p->setPortNumber(n);
    return p;
}

std::string QtSerialPort::readAll()
{
    check("read");
    const QByteArray b = port_->readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace ondrix
