// The Qt SerialPort adapter against the island simulator program on a
// pseudo-terminal: the configurator's real serial path end to end.

#include "channel/Channel.h"
#include "support/Parametri.h"
#include "channel/CoreHost.h"
#include "channel/QtSerialPort.h"
#include "island/Model.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ondrix {
namespace {

// ondrix-simulatore with the given options; the line's device is the first
// line it prints. It ends when its standard input closes.
class Simulatore {
public:
    explicit Simulatore(std::vector<std::string> options)
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        const std::string program = std::string(ONDRIX_BIN_DIR) + "/ondrix-simulatore";
        options.insert(options.begin(), {program, "--stdin"});
        std::vector<char*> argv;
        for (auto& o : options)
            argv.push_back(o.data());
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
        ::close(stdin_);
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            for (int i = 0; i < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i)
                ::usleep(10'000);
            if (::kill(pid_, 0) == 0) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
            }
        }
    }
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    std::string device_;
};

struct Ended {
    int status;
};

struct ThrowingHost : CoreHost {
    std::vector<std::string> messages;
    MessageAnswer messageBox(const std::string& t, const std::string& ti, MessageButtons b) override
    {
        messages.push_back(t);
        return CoreHost::messageBox(t, ti, b);
    }
    [[noreturn]] void endProgram(int status) override { throw Ended{status}; }
};

class SimulatoreTest : public ::testing::Test {
protected:
    SimulatoreTest()
    {
        static int argc = 1;
        static char name[] = "test_pty";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        testi.Messaggi(msg::Timeout1) = "Nessuna risposta dall'isola.";
        testi.Messaggi(msg::Timeout2) = "Il programma termina.";
        testi.Ritardo = 0.01f;
    }
    ThrowingHost host;
    Testi testi;
};

TEST_F(SimulatoreTest, DialogueInPieces)
{
    Simulatore sim({"--chunks", "3", "5"});
    ASSERT_FALSE(sim.device().empty());
    QtSerialPort port([&](int n) { return n == 1 ? sim.device() : std::string(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(ch.ProvaCollegamento());
    ch.InviaComando("ENTER SV", "OK");
    const std::string r = ch.InviaComando("GET SLAVE ADDRESS", "OK");
    EXPECT_NE(r.find("SLAVE ADDRESS: "), std::string::npos) << r;
    EXPECT_EQ(r.substr(r.size() - 2), "OK");  // the line end is still on its way
    ch.InviaComando("EXIT SV", "OK");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SimulatoreTest, SilentIslandEndsTheProgram)
{
    Simulatore sim({"--silent-at", "GET CONF"});
    QtSerialPort port([&](int) { return sim.device(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());
    ch.InviaComando("ENTER SV", "OK");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(ch.InviaComando("GET CONF", "OK"), Ended);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Nessuna risposta dall'isola.\r\nIl programma termina."});
}

TEST_F(SimulatoreTest, DroppedLineEndsTheExchange)
{
    Simulatore sim({"--drop-after", "2"});
    QtSerialPort port([&](int) { return sim.device(); });
    ondrix::test::ParametriTesti parametri{testi, [] { return std::string("Configuratore"); }};
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(ch.ProvaCollegamento());
    ch.InviaComando("ENTER SV", "OK");
    EXPECT_THROW(ch.InviaComando("GET REV FW", "OK"), Ended);
    EXPECT_EQ(host.messages.size(), 1u);
}

} // namespace
} // namespace ondrix
