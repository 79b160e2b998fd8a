#include "channel/QtSerialPort.h"

#include "channel/Porte.h"

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
                         const bool eraAperta = port_->isOpen();
                         if (error_.empty())
                             error_ = port_->errorString().toStdString();
                         // A vanished device keeps signalling; stop listening to it.
                         if (e == QSerialPort::ResourceError && eraAperta)
                             port_->close();
                         if (eraAperta)
                             persa();
                     });
}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::persa()
{
    // Told from the event loop, not from inside the serial port's own
    // notification: the callback may show a message and end the program.
    if (perdita_)
        QTimer::singleShot(0, port_.get(), [f = perdita_] { f(); });
}

bool QtSerialPort::open()
{
    if (port_->isOpen())
        port_->close();
    error_.clear();
    apertura_ = Apertura{};
    device_ = resolver_ ? resolver_(number_) : std::string();
    if (device_.empty())
        return false;
    apertura_.dispositivo = device_;
    port_->setPortName(QString::fromStdString(device_));
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);

    // A lock left by a program that no longer runs is taken over by the
    // serial library when it may remove it; the user hears of it.
    const std::string blocco = fileBlocco(device_);
    const auto prima = proprietarioBlocco(blocco);

    opening_ = true;
    const bool ok = port_->open(QIODevice::ReadWrite);
    opening_ = false;
    const QSerialPort::SerialPortError errore = port_->error();
    const std::string testo = port_->errorString().toStdString();
    port_->clearError();
    if (!ok) {
        apertura_ = perche(errore, testo);
        return false;
    }
    apertura_.esito = Apertura::Esito::Aperta;
    if (prima && !prima->vivo)
        apertura_.fileBlocco = blocco;
#ifndef _WIN32
    bassaLatenza_ = richiediBassaLatenza(port_->handle());
#endif
    return true;
}

Apertura QtSerialPort::perche(int errore, const std::string& testo) const
{
    using E = Apertura::Esito;
    Apertura a;
    a.dispositivo = device_;
    a.motivo = testo;
    if (errore == QSerialPort::DeviceNotFoundError) {
        a.esito = E::Assente;
        return a;
    }
#ifdef _WIN32
    // A COM port is the program's that opened it, alone.
    a.esito = errore == QSerialPort::PermissionError ? E::Occupata : E::Errore;
#else
    const std::string blocco = fileBlocco(device_);
    if (const auto p = proprietarioBlocco(blocco)) {
        if (p->vivo) {
            a.esito = E::Occupata;
            a.processo = p->processo;
            a.programma = p->programma;
        } else {
            a.esito = E::Bloccata;
            a.fileBlocco = blocco;
        }
        return a;
    }
    if (std::string g = gruppoNegato(device_); !g.empty()) {
        a.esito = E::Permesso;
        a.gruppo = g;
        return a;
    }
    // The device taken for itself alone by another program (EBUSY).
    a.esito = errore == QSerialPort::PermissionError ? E::Occupata : E::Errore;
#endif
    return a;
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
    // The port's read notifier is a child of the port (Unix); without it a
    // pause is simply not taken.
    bool sospese = false;
    for (QSocketNotifier* n : port_->findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read && n->isEnabled()) {
            n->setEnabled(false);
            sospese = true;
        }
    return sospese;
}

void QtSerialPort::riprendiNotifiche()
{
    for (QSocketNotifier* n : port_->findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read)
            n->setEnabled(true);
}

std::unique_ptr<SerialPort> QtSerialPort::sonda(int n)
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
