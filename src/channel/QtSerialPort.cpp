#include "channel/QtSerialPort.h"

#include "channel/Porte.h"

#include <QSerialPort>
#include <QSocketNotifier>

namespace ondrix {

QtSerialPort::QtSerialPort() : QtSerialPort(Resolver(&dispositivoPorta)) {}

QtSerialPort::QtSerialPort(Resolver resolver)
    : resolver_(std::move(resolver)), port_(std::make_unique<QSerialPort>())
{
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError e) {
                         switch (e) {
                         case QSerialPort::NoError:
                         case QSerialPort::TimeoutError:              // only from the blocking waits, unused
                         case QSerialPort::UnsupportedOperationError:  // a setting the device refuses
                             return;
                         default:
                             break;
                         }
                         if (opening_)
                             return;  // open() reports it
                         if (error_.empty())
                             error_ = port_->errorString().toStdString();
                         // A vanished device keeps signalling; stop listening to it.
                         if (e == QSerialPort::ResourceError && port_->isOpen())
                             port_->close();
                     });
}

QtSerialPort::~QtSerialPort() = default;

bool QtSerialPort::open()
{
    if (port_->isOpen())
        port_->close();
    error_.clear();
    device_ = resolver_ ? resolver_(number_) : std::string();
    if (device_.empty())
        return false;
    port_->setPortName(QString::fromStdString(device_));
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    opening_ = true;
    const bool ok = port_->open(QIODevice::ReadWrite);
    opening_ = false;
    port_->clearError();
    return ok;
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

bool QtSerialPort::sospendiNotifiche()
{
    if (!port_->isOpen())
        return false;
    for (QSocketNotifier* n : port_->findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read)
            n->setEnabled(false);
    return true;
}

void QtSerialPort::riprendiNotifiche()
{
    for (QSocketNotifier* n : port_->findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read)
            n->setEnabled(true);
}

std::string QtSerialPort::readAll()
{
    check("read");
    const QByteArray b = port_->readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace ondrix
