#include "channel/Porte.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

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
#ifdef __linux__
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
#endif
    // Cannot ask the chip: the legacy 8250 driver lists phantom ports, others do not.
    const fs::path driver = fs::read_symlink(sys / "device" / "driver", ec);
    return !ec && driver.filename() != "serial8250";
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
#ifdef _WIN32
    return "COM" + std::to_string(n);
#else
    const auto all = dispositiviSeriali();
    return static_cast<std::size_t>(n) <= all.size() ? all[static_cast<std::size_t>(n - 1)] : std::string();
#endif
}

} // namespace ondrix
