// Uninstall: the exact removal request, the script the terminal runs, and
// the real program against a stand-in terminal found through PATH.

#include "uninstall/Rimozione.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ondrix::uninstall {
namespace {

namespace fs = std::filesystem;

struct Esito {
    int status = -1;     // exit status, or -1 when killed
    std::string output;  // stdout and stderr together
};

// Runs argv with exactly the given environment, input from in; reads its
// output to the end (which arrives only when nobody holds the pipe any more).
// The pipe's write end also stays open in the child under its own number, as
// a caller's descriptors do: a launcher that hands it on keeps the output open.
Esito avvia(const std::vector<std::string>& argv, const std::vector<std::string>& env,
             const std::string& in = {})
{
    int out[2], inp[2];
    if (pipe(out) != 0 || pipe(inp) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, inp[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_adddup2(&fa, out[1], 2);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    posix_spawn_file_actions_addclose(&fa, inp[1]);
    std::vector<char*> a, e;
    for (auto& s : argv)
        a.push_back(const_cast<char*>(s.c_str()));
    a.push_back(nullptr);
    for (auto& s : env)
        e.push_back(const_cast<char*>(s.c_str()));
    e.push_back(nullptr);
    pid_t pid;
    const int rc = posix_spawn(&pid, a[0], &fa, nullptr, a.data(), e.data());
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    close(inp[0]);
    if (rc != 0)
        throw std::runtime_error(std::string("spawn: ") + std::strerror(rc));
    if (!in.empty())
        (void)!write(inp[1], in.data(), in.size());
    close(inp[1]);
    Esito r;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        r.output.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string leggi(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void scriviEseguibile(const fs::path& p, const std::string& testo)
{
    std::ofstream(p, std::ios::binary) << testo;
    fs::permissions(p, fs::perms::owner_all);
}

// Polls for a file, giving up after a generous bound (a safety net against a
// hang, not a speed check).
bool attendi(const fs::path& p)
{
    for (int i = 0; i < 600; ++i) {
        if (fs::exists(p))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

struct Cartella {
    Cartella()
    {
        static int n = 0;
        dir = fs::temp_directory_path() /
              ("ondrix-uninstall-" + std::to_string(getpid()) + "-" + std::to_string(n++));
        fs::create_directories(dir);
    }
    ~Cartella()
    {
        std::ofstream(dir / "release");  // frees a stand-in still waiting
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

const std::string Programma = std::string(ONDRIX_BIN_DIR) + "/Uninstall";

// Windows: the product removed is the one the installer package registers.
TEST(UninstallComando, WindowsInstallerRemovesTheProductOfThePackage)
{
    const std::string wxs = leggi(fs::path(ONDRIX_SOURCE_DIR) / "resources/windows/ondrix-configuratore.wxs");
    std::smatch id;
    const std::regex prodotto(R"re(<Product\s+Id="(\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\})")re");
    ASSERT_TRUE(std::regex_search(wxs, id, prodotto));
    EXPECT_EQ(CodiceProdotto, id[1].str());
    EXPECT_EQ(rigaComandoWindows(), "msiexec.exe /x " + id[1].str());
}

TEST(UninstallComando, LinuxHandsTheRemovalToTheTerminal)
{
    const auto argv = comandoLinux();
    ASSERT_EQ(argv.size(), 6u);
    EXPECT_EQ(argv[0], "x-terminal-emulator");
    EXPECT_EQ(argv[1], "-e");
    EXPECT_EQ(argv[2], "sh");
    EXPECT_EQ(argv[3], "-c");
    EXPECT_EQ(argv[4], scriptRimozione());

    std::vector<std::string> visto;
    std::ostringstream err;
    EXPECT_EQ(esegui([&](const auto& a) { return visto = a, 0; }, err,
                     [](int) { return std::string(); }),
              0);
    EXPECT_EQ(visto, argv);
    EXPECT_EQ(err.str(), "");

    // The next terminal when one is missing or ends at once.
    std::vector<std::string> provati;
    err.str("");
    EXPECT_EQ(esegui([&](const auto& a) {
                  provati.push_back(a[0]);
                  return a[0] == "konsole" ? 0 : a[0] == "gnome-terminal" ? -1 : ENOENT;
              }, err, [](int e) { return std::to_string(e); }),
              0);
    EXPECT_EQ(provati, (std::vector<std::string>{"x-terminal-emulator", "gnome-terminal", "konsole"}));
    EXPECT_NE(err.str().find("cannot start gnome-terminal: -1"), std::string::npos) << err.str();

    // None starts: standard error and a message window say what to type.
    std::vector<std::vector<std::string>> lanciati;
    err.str("");
    EXPECT_EQ(esegui([&](const auto& a) { return lanciati.push_back(a), a[0] == "xmessage" ? 0 : ENOENT; },
                     err, [](int e) { return std::string(std::strerror(e)); }),
              1);
    EXPECT_NE(err.str().find("cannot start x-terminal-emulator: " + std::string(std::strerror(ENOENT))),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("by hand: sudo apt-get remove ondrix-configuratore"), std::string::npos);
    ASSERT_FALSE(lanciati.empty());
    EXPECT_EQ(lanciati.back()[0], "xmessage");
    EXPECT_NE(lanciati.back().back().find("sudo apt-get remove ondrix-configuratore"), std::string::npos);
}

// The script inside the terminal, run with stand-ins for id, sudo, su and
// apt-get that record how they were called.
TEST(UninstallComando, RemovalScriptTakesRootRightsTheDebianWay)
{
    struct Caso {
        const char* nome;
        const char* uid;
        const char* gruppi;
        bool sudo;  // is sudo installed
        const char* atteso;
    };
    const Caso casi[] = {
        {"root", "0", "root", true, "apt-get|remove|ondrix-configuratore|\n"},
        {"sudo user", "1000", "tecnico cdrom sudo plugdev", true,
         "sudo|apt-get|remove|ondrix-configuratore|\napt-get|remove|ondrix-configuratore|\n"},
        {"no sudo group", "1000", "tecnico sudoers", true,
         "su|-c|apt-get remove ondrix-configuratore|\n"},
        {"no sudo program", "1000", "tecnico sudo", false,
         "su|-c|apt-get remove ondrix-configuratore|\n"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Cartella t;
        const std::string log = (t.dir / "log").string();
        const std::string registra = "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '%s|' \"${a##*/}\"; done >> " +
                                     log + "\necho >> " + log + "\n";
        scriviEseguibile(t.dir / "apt-get", registra);
        scriviEseguibile(t.dir / "su", registra);
        if (c.sudo)
            scriviEseguibile(t.dir / "sudo", registra + "\"$@\"\n");
        scriviEseguibile(t.dir / "id", std::string("#!/bin/sh\ncase $1 in -u) echo ") + c.uid +
                                           ";; -nG) echo '" + c.gruppi + "';; esac\n");
        const auto r = avvia({"/bin/sh", "-c", scriptRimozione(), "ondrix-uninstall"},
                              {"PATH=" + t.dir.string()}, "\n");
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(leggi(log), c.atteso);
        EXPECT_NE(r.output.find("Press Enter to close"), std::string::npos);
    }
}

TEST(UninstallProgramma, StartsTheTerminalDetachedAndEndsWithoutWaiting)
{
    Cartella t;
    const fs::path d = t.dir;
    // The stand-in records its arguments and session, then waits for the
    // test's release (at most 30 s), then says it is done.
    scriviEseguibile(d / "x-terminal-emulator",
                     "#!/bin/sh\nPATH=/usr/bin:/bin\nd='" + d.string() + "'\n"
                     "for a in \"$@\"; do printf '%s\\n--\\n' \"$a\"; done > \"$d/args.tmp\"\n"
                     "awk '{print $6}' /proc/$$/stat > \"$d/sid\"\necho $$ > \"$d/pid\"\n"
                     "o=$(readlink /proc/$$/fd/1 /proc/$$/fd/2); echo \"$o\" > \"$d/out\"\n"
                     "mv \"$d/args.tmp\" \"$d/args\"\n"
                     "i=0; while [ ! -e \"$d/release\" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done\n"
                     "echo done > \"$d/done\"\n");

    // Output read to its end: a child holding our pipe would keep it open.
    const auto r = avvia({Programma}, {"PATH=" + d.string()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");

    ASSERT_TRUE(attendi(d / "args"));
    EXPECT_FALSE(fs::exists(d / "done")) << "Uninstall waited for the removal dialogue";
    const auto argv = comandoLinux();
    std::string atteso;
    for (std::size_t i = 1; i < argv.size(); ++i)
        atteso += argv[i] + "\n--\n";
    EXPECT_EQ(leggi(d / "args"), atteso);
    EXPECT_EQ(leggi(d / "sid"), leggi(d / "pid")) << "not in a session of its own";
    EXPECT_EQ(leggi(d / "out"), "/dev/null\n/dev/null\n");

    std::ofstream(d / "release");
    EXPECT_TRUE(attendi(d / "done"));
}

TEST(UninstallProgramma, ATerminalThatEndsAtOnceGivesWayToTheNext)
{
    Cartella t;
    const fs::path d = t.dir;
    scriviEseguibile(d / "x-terminal-emulator", "#!/bin/sh\necho 'cannot open display' >&2\nexit 1\n");
    scriviEseguibile(d / "xterm", "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$1\" > '" +
                                      (d / "xterm-args").string() + "'\n");
    const auto r = avvia({Programma}, {"PATH=" + d.string()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("cannot start x-terminal-emulator: it ended at once with status 1"),
              std::string::npos)
        << r.output;
    ASSERT_TRUE(attendi(d / "xterm-args"));
    EXPECT_EQ(leggi(d / "xterm-args"), "-e\n");
}

TEST(UninstallProgramma, ALaunchFailureIsToldAndEndsWithAnError)
{
    Cartella vuota;
    auto r = avvia({Programma}, {"PATH=" + vuota.dir.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot start x-terminal-emulator"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("apt-get remove ondrix-configuratore"), std::string::npos) << r.output;

    // Present but not runnable.
    std::ofstream(vuota.dir / "x-terminal-emulator") << "#!/bin/sh\n";
    r = avvia({Programma}, {"PATH=" + vuota.dir.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(std::strerror(EACCES)), std::string::npos) << r.output;
}

} // namespace
} // namespace ondrix::uninstall
