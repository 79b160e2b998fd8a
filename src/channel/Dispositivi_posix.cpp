// The serial devices on Linux: USB adapters, then ACM modems, then the
// built-in UARTs that have a chip behind them; Qt SerialPort's lock files, the
// device's group, and the driver's low-latency mode.

#include "channel/Dispositivi.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSerialPort>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ondrix {

namespace fs = std::filesystem;

namespace {

// Number after the prefix ("ttyUSB12" -> 12); nothing when the rest is not all digits.
std::optional<long> numeroDopo(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const std::string rest = name.substr(prefix.size());
    if (rest.size() > 6 || !std::all_of(rest.begin(), rest.end(), [](unsigned char ch) { return std::isdigit(ch); }))
        return std::nullopt;
    return std::stol(rest);
}

// Entries of dev named prefix<number> that lead somewhere, by number.
std::vector<std::pair<long, std::string>> elenca(const fs::path& dev, const std::string& prefix)
{
    std::vector<std::pair<long, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(dev, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        auto n = numeroDopo(name, prefix);
        std::error_code ex;
        if (n && fs::exists(it->path(), ex))  // a dangling link is no device
            found.emplace_back(*n, name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<long> leggiIntero(const fs::path& file)
{
    std::ifstream in(file);
    long v = 0;
    if (in >> v)
        return v;
    return std::nullopt;
}

// Does a UART answer behind this ttyS? The serial core publishes the port
// type in sysfs (0 = unknown = no chip); older kernels need the ioctl.
bool uartPresente(const std::string& root, const std::string& name)
{
    const fs::path sys = fs::path(root + "/sys/class/tty") / name;
    std::error_code ec;
    if (!fs::exists(sys / "device", ec))
        return false;  // no hardware at all (a virtual terminal)
    if (auto type = leggiIntero(sys / "type"))
        return *type != 0;
    if (root.empty()) {
        const std::string dev = "/dev/" + name;
        int fd = ::open(dev.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0) {
            serial_struct ss{};
            const bool ok = ::ioctl(fd, TIOCGSERIAL, &ss) == 0;
            ::close(fd);
            if (ok)
                return ss.type != PORT_UNKNOWN;
        }
    }
    // Cannot ask the chip: the legacy 8250 driver lists phantom ports, others do not.
    const fs::path driver = fs::read_symlink(sys / "device" / "driver", ec);
    return !ec && driver.filename() != "serial8250";
}

// The lock folders Qt SerialPort tries, in its order: a copy of the list in
// its Unix code, which has no public call for the lock file of a device. The
// file is in the first folder that is readable and holds it or may take it.
// A test over a pseudo-terminal checks that the file named is the one the Qt
// in use takes.
QStringList cartelleBlocco()
{
    return {QStringLiteral("/var/lock"),         QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),  QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp"),              QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

} // namespace

std::vector<std::string> dispositiviSeriali(const std::string& root)
{
    const fs::path dev(root + "/dev");
    std::vector<std::string> out;
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (const auto& e : elenca(dev, prefix))
            out.push_back((dev / e.second).string());
    for (const auto& e : elenca(dev, "ttyS"))
        if (uartPresente(root, e.second))
            out.push_back((dev / e.second).string());
    return out;
}

std::string dispositivoPorta(int n)
{
    if (n < PrimaPorta || n > UltimaPorta)
        return {};
    const auto all = dispositiviSeriali();
    return static_cast<std::size_t>(n) <= all.size() ? all[static_cast<std::size_t>(n - 1)] : std::string();
}

std::optional<PortaNominata> portaDelDispositivo(const std::string& nome)
{
    const auto tutti = dispositiviSeriali();
    for (std::size_t k = 0; k < tutti.size() && k < static_cast<std::size_t>(UltimaPorta); ++k)
        if (tutti[k] == nome)
            return PortaNominata{static_cast<int>(k) + 1, {}};
    return PortaNominata{PrimaPorta, nome};
}

std::string fileBlocco(const std::string& dispositivo)
{
    QString nome = QString::fromStdString(dispositivo);
    if (nome.startsWith(QLatin1String("/dev/")))
        nome = nome.mid(5);
    nome.replace(QLatin1Char('/'), QLatin1Char('_'));
    nome.prepend(QLatin1String("/LCK.."));
    for (const QString& c : cartelleBlocco()) {
        const QFileInfo info(c);
        if (info.isReadable() && (QFile::exists(c + nome) || info.isWritable()))
            return (c + nome).toStdString();
    }
    return {};
}

std::optional<ProprietarioBlocco> proprietarioBlocco(const std::string& file)
{
    if (file.empty() || !QFile::exists(QString::fromStdString(file)))
        return std::nullopt;
    QLockFile blocco(QString::fromStdString(file));
    qint64 pid = 0;
    QString host, programma;
    if (!blocco.getLockInfo(&pid, &host, &programma))
        return std::nullopt;
    ProprietarioBlocco p;
    p.processo = static_cast<long>(pid);
    p.programma = programma.toStdString();
    p.vivo = pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    return p;
}

std::string gruppoNegato(const std::string& dispositivo)
{
    if (::access(dispositivo.c_str(), R_OK | W_OK) == 0 || errno != EACCES)
        return {};
    struct stat st{};
    if (::stat(dispositivo.c_str(), &st) != 0)
        return {};
    if (const group* g = ::getgrgid(st.st_gid))
        return g->gr_name;
    return std::to_string(st.st_gid);
}

bool richiediBassaLatenza(QSerialPort& porta)
{
    const int descrittore = static_cast<int>(porta.handle());
    serial_struct ss{};
    if (::ioctl(descrittore, TIOCGSERIAL, &ss) != 0)
        return false;
    if (ss.flags & ASYNC_LOW_LATENCY)
        return true;
    ss.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(descrittore, TIOCSSERIAL, &ss) == 0;
}

} // namespace ondrix
