// ondrix-simulatore as a program: scenario file, symbolic link, a refused
// scenario, and replies that end with their awaited text over a real line
// (plain and paced), as the configurator's parsers need.

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "island/Model.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ondrix {
namespace {

struct Ended {
    int status;
};

struct QuietHost : CoreHost {
    std::vector<std::string> messages;
    MessageAnswer messageBox(const std::string& t, const std::string&, MessageButtons) override
    {
        messages.push_back(t);
        return MessageAnswer::Ok;
    }
    [[noreturn]] void endProgram(int status) override { throw Ended{status}; }
};

// The program with the given arguments, stopped with SIGTERM at the end.
class Program {
public:
    explicit Program(std::vector<std::string> args)
    {
        const std::string exe = std::string(ONDRIX_BIN_DIR) + "/ondrix-simulatore";
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
    ~Program()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = -1;
    std::string device_;
};

struct Line {
    explicit Line(std::vector<std::string> args) : program(std::move(args))
    {
        static int argc = 1;
        static char name[] = "test_pty";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        m.testi.Ritardo = 0.01f;
        m.testi.Messaggi(msg::Timeout1) = "T1";
        m.testi.Messaggi(msg::Timeout2) = "T2";
        port.setPortNumber(1);
        opened = !program.device().empty() && port.open();
    }
    Program program;
    QuietHost host;
    Model m;
    QtSerialPort port{[this](int n) { return n == 1 ? program.device() : std::string(); }};
    ondrix::test::ParametriTesti parametri{m.testi, [] { return std::string("TEST"); }};
    Channel ch{port, host, parametri};
    bool opened = false;
};

TEST(SimulatoreProgram, RepliesEndWithTheAwaitedTextPlainAndPaced)
{
    for (const char* pace : {"", "--pace"}) {
        Line l(*pace ? std::vector<std::string>{pace} : std::vector<std::string>{});
        ASSERT_TRUE(l.opened) << pace;
        EXPECT_TRUE(l.ch.ProvaCollegamento());
        EXPECT_EQ(l.ch.InviaComando("ENTER SV", "OK"), "OK");
        EXPECT_EQ(l.ch.InviaComando("GET SLAVE ADDRESS", "OK"), "SLAVE ADDRESS: 5\r\nOK");
        EXPECT_EQ(l.ch.InviaComando("CLOSE VALVOLA", "INDICE:"), "INDICE:");
        EXPECT_EQ(l.ch.InviaComando("7", "OK"), "OK");
        EXPECT_EQ(l.ch.InviaComando("STATO VALVOLA", "INDICE:"), "INDICE:");
        EXPECT_EQ(l.ch.InviaComando("7", "OK"), "ON\r\nOK");
        for (int k = 0; k < 5; ++k) {
            std::string v = l.ch.InviaComando("GET VALVOLE PRESENTI", "OK");
            EXPECT_EQ(v.substr(0, 4), "ESP\t");
            EXPECT_EQ(v.substr(v.size() - 3), "\rOK");
        }
        EXPECT_TRUE(l.host.messages.empty());
    }
}

TEST(SimulatoreProgram, ServesAScenarioFileThroughALink)
{
    const std::string link = std::string(ONDRIX_BIN_DIR) + "/test-simulatore-link";
    Line l({"--link", link, std::string(ONDRIX_SOURCE_DIR) + "/resources/isola-demo.txt"});
    ASSERT_TRUE(l.opened);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), l.program.device());
    l.ch.InviaComando("ENTER SV", "OK");
    EXPECT_NE(l.ch.InviaComando("GET DIGITAL INPUT", "OK").find("MOD 2\t8IN\t"), std::string::npos);
}

TEST(SimulatoreProgram, RefusesABadScenario)
{
    const std::string bad = std::string(ONDRIX_BIN_DIR) + "/test-simulatore-bad.txt";
    FILE* f = std::fopen(bad.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("body posts 8\ncoil 1 99\n", f);
    std::fclose(f);
    Program p({bad});
    EXPECT_EQ(p.device(), "");  // no device printed: it ended at once
    std::filesystem::remove(bad);
}

} // namespace
} // namespace ondrix
