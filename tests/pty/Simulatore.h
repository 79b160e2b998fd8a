#pragma once
// The island simulator program on a pseudo-terminal, and the configurator's
// real serial path to it: the Qt SerialPort adapter, the Qt Core host (its
// end of the program turned into an exception) and the command channel.

#include "channel/Channel.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "island/Model.h"
#include "support/Parametri.h"

#include <QCoreApplication>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ondrix::test {

inline void qtApp()
{
    static int argc = 1;
    static char name[] = "test_pty";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// ondrix-simulatore with the given arguments; the line's device is the first
// line it prints (none when it ended at once). It ends when the object goes.
class Simulatore {
public:
    // registro: a file that gets the program's standard error (with --log,
    // every line it received).
    explicit Simulatore(std::vector<std::string> args, const std::string& registro = {})
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
        if (!registro.empty())
            posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, registro.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string program = std::string(ONDRIX_BIN_DIR) + "/ondrix-simulatore";
        args.insert(args.begin(), {program, "--stdin"});
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, program.c_str(), &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        if (rc != 0) {
            ::close(out[0]);
            throw std::runtime_error("cannot start " + program);
        }
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            device_ += c;
        ::close(out[0]);
    }
    ~Simulatore()
    {
        ::close(stdin_);  // with --stdin the program ends
        int status = 0;
        for (int i = 0; i < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i)
            ::usleep(10'000);
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
    }
    Simulatore(const Simulatore&) = delete;
    Simulatore& operator=(const Simulatore&) = delete;
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    std::string device_;
};

struct Ended {
    int status;
};

// The Qt Core host; messages recorded as "title|text", the end of the program thrown.
struct ThrowingHost : CoreHost {
    std::vector<std::string> messages;
    MessageAnswer messageBox(const std::string& t, const std::string& ti, MessageButtons) override
    {
        messages.push_back(ti + "|" + t);
        return MessageAnswer::Ok;
    }

protected:
    [[noreturn]] void exitProgram(int status) override { throw Ended{status}; }
};

// The simulator program on port 3 (no other port has a device), behind the
// real channel.
struct Linea {
    explicit Linea(std::vector<std::string> args) : sim(std::move(args))
    {
        qtApp();
        testi.Ritardo = 0.01f;
        testi.Messaggi(msg::Timeout1) = "Nessuna risposta dall'isola.";
        testi.Messaggi(msg::Timeout2) = "Il programma termina.";
        port.setPortNumber(3);
    }
    Simulatore sim;
    ThrowingHost host;
    Testi testi;
    QtSerialPort port{[this](int n) { return n == 3 ? sim.device() : std::string(); }};
    ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch{port, host, parametri};
};

} // namespace ondrix::test
