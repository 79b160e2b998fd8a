#include "PtyIsland.h"

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace ondrix::test {

PtyIsland::PtyIsland(std::function<std::string(const std::string&)> answer) : answer_(std::move(answer))
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slave_ = ::ptsname(master_);
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
    thread_ = std::thread([this] { run(); });
}

PtyIsland::~PtyIsland()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (master_ >= 0)
        ::close(master_);
}

std::vector<std::string> PtyIsland::lines()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void PtyIsland::hangUp()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    ::close(master_);
    master_ = -1;
}

void PtyIsland::run()
{
    std::string in;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN))
            continue;
        char buf[256];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            continue;  // no slave open yet (EIO)
        in.append(buf, static_cast<std::size_t>(n));
        for (std::size_t e; (e = in.find("\r\n")) != std::string::npos;) {
            const std::string line = in.substr(0, e);
            in.erase(0, e + 2);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            }
            const std::string reply = answer_(line);
            if (!reply.empty() && ::write(master_, reply.data(), reply.size()) < 0)
                return;
        }
    }
}

} // namespace ondrix::test
