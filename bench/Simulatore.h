#pragma once
// Pseudo-terminals for the benchmarks: ondrix-simulatore started beside the
// benchmark (it lies in the same folder), serving its island on one and
// stopped with SIGTERM; and a bare one of the benchmark's own.

#include <QCoreApplication>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ondrix::bench {

class Simulatore {
public:
    explicit Simulatore(std::vector<std::string> args)
    {
        const std::string exe =
            QCoreApplication::applicationDirPath().toStdString() + "/ondrix-simulatore";
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        args.insert(args.begin(), exe);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        ::close(out[1]);
        char c;
        while (pid_ > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
            device_ += c;
        ::close(out[0]);
    }
    Simulatore(const Simulatore&) = delete;
    Simulatore& operator=(const Simulatore&) = delete;
    ~Simulatore()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The pseudo-terminal the island answers on; empty when it did not start.
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = -1;
    std::string device_;
};

// A pseudo-terminal of the benchmark's own, raw; the benchmark answers on
// its master side, or nothing does.
struct Pty {
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slave = ::ptsname(master);
        termios t{};
        ::tcgetattr(master, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(master, TCSANOW, &t);
    }
    ~Pty() { ::close(master); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    int master;
    std::string slave;
};

} // namespace ondrix::bench
