// ondrix-simulatore: the built-in island on a pseudo-terminal, for tests and
// trials over a real serial line (the configurator opens the printed device
// like any serial port).
//
//   ondrix-simulatore [options] [SCENARIO-FILE]
//
// Prints the device path of the line on standard output (one line), then
// serves until it is killed (SIGTERM, SIGINT, SIGHUP), or until standard input
// closes with --stdin, or until a drop fault hangs the line up.

#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"

#include "Versione.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr const char* Usage =
    "usage: ondrix-simulatore [options] [SCENARIO-FILE]\n"
    "  --demo                 the demo island (some inputs change now and then)\n"
    "  --link PATH            also reach the line through a symbolic link PATH\n"
    "  --pace                 answer at 9600 baud (960 characters per second)\n"
    "  --chunks SIZE GAP_MS   answer in pieces of SIZE characters, GAP_MS apart\n"
    "  --silent-after N       answer the first N lines only\n"
    "  --silent-at COMMAND    answer nothing from that command line on\n"
    "  --drop-after N         hang the line up when line N+1 arrives\n"
    "  --link-delay MS        answer the link check MS late\n"
    "  --latency MS           start every answer MS after its line\n"
    "  --tail-delay MS        send a reply's final CR LF MS after the rest (default 50)\n"
    "  --log                  write every received line to standard error\n"
    "  --stdin                end when standard input closes\n"
    "  --help, --version\n"
    "Without a scenario file the default island is served.\n";

int sigPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 's';
    [[maybe_unused]] ssize_t n = ::write(sigPipe[1], &c, 1);
}

std::int64_t nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool number(const char* text, long lo, long hi, long& out)
{
    char* end = nullptr;
    errno = 0;
    out = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && out >= lo && out <= hi;
}

int usageError(const char* what, const char* arg)
{
    std::fprintf(stderr, "ondrix-simulatore: %s%s%s\n%s", what, arg ? ": " : "", arg ? arg : "", Usage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace ondrix::sim;

    std::string scenarioFile, linkPath;
    bool demo = false, log = false, watchStdin = false;
    Faults flags;
    bool pace = false;
    long tailDelayMs = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                usageError("missing value of", name);
                std::exit(2);
            }
            return argv[++i];
        };
        long v = 0;
        if (a == "--help" || a == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("ondrix-simulatore %s\n", ondrix::Versione);
            return 0;
        } else if (a == "--demo")
            demo = true;
        else if (a == "--link")
            linkPath = value("--link");
        else if (a == "--pace")
            pace = true;
        else if (a == "--log")
            log = true;
        else if (a == "--stdin")
            watchStdin = true;
        else if (a == "--chunks") {
            const char* size = value("--chunks");
            const char* gap = value("--chunks");
            long g = 0;
            if (!number(size, 1, 100000, v) || !number(gap, 0, 60000, g))
                return usageError("bad --chunks values", nullptr);
            flags.chunkSize = static_cast<int>(v);
            flags.chunkGapUs = g * 1000;
        } else if (a == "--silent-after" || a == "--drop-after") {
            const char* t = value(a.c_str());
            if (!number(t, 0, 1000000, v))
                return usageError("bad line count", t);
            (a == "--silent-after" ? flags.silentAfterLines : flags.dropAfterLines) = static_cast<int>(v);
        } else if (a == "--silent-at")
            flags.silentAtCommand = value("--silent-at");
        else if (a == "--link-delay" || a == "--latency") {
            const char* t = value(a.c_str());
            if (!number(t, 0, 600000, v))
                return usageError("bad milliseconds", t);
            (a == "--link-delay" ? flags.linkCheckDelayUs : flags.latencyUs) = v * 1000;
        } else if (a == "--tail-delay") {
            const char* t = value("--tail-delay");
            if (!number(t, 0, 10000, tailDelayMs))
                return usageError("bad milliseconds", t);
        } else if (!a.empty() && a[0] == '-')
            return usageError("unknown option", a.c_str());
        else if (!scenarioFile.empty())
            return usageError("more than one scenario file", a.c_str());
        else
            scenarioFile = a;
    }

    Scenario scenario;
    try {
        scenario = !scenarioFile.empty() ? loadScenario(scenarioFile) : demo ? demoScenario() : defaultScenario();
    } catch (const ScenarioError& e) {
        std::fprintf(stderr, "ondrix-simulatore: %s\n", e.what());
        return 2;
    }
    // Flags add to the faults the file names.
    Faults& f = scenario.faults;
    if (pace)
        f.pace = true;
    if (flags.chunkSize > 0) {
        f.chunkSize = flags.chunkSize;
        f.chunkGapUs = flags.chunkGapUs;
    }
    if (flags.silentAfterLines >= 0)
        f.silentAfterLines = flags.silentAfterLines;
    if (flags.dropAfterLines >= 0)
        f.dropAfterLines = flags.dropAfterLines;
    if (!flags.silentAtCommand.empty())
        f.silentAtCommand = flags.silentAtCommand;
    if (flags.linkCheckDelayUs)
        f.linkCheckDelayUs = flags.linkCheckDelayUs;
    if (flags.latencyUs)
        f.latencyUs = flags.latencyUs;
    // On a real line the reader may wake some milliseconds late; the final
    // CR LF must still come after it has seen the awaited text.
    if (tailDelayMs >= 0)
        f.tailDelayUs = tailDelayMs * 1000;
    else if (f.tailDelayUs == Faults{}.tailDelayUs)
        f.tailDelayUs = 50'000;

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::fprintf(stderr, "ondrix-simulatore: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string slavePath = ::ptsname(master);
    // Holding the slave side open keeps the line up between two users (no
    // hang-up on the master while the configurator closes and reopens).
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        std::fprintf(stderr, "ondrix-simulatore: cannot open %s: %s\n", slavePath.c_str(), std::strerror(errno));
        return 1;
    }
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(slave, TCSANOW, &t);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!linkPath.empty()) {
        struct stat st{};
        if (::lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(linkPath.c_str());
        if (::symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
            std::fprintf(stderr, "ondrix-simulatore: cannot create the link %s: %s\n", linkPath.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }

    if (::pipe2(sigPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    ::sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    SimulatedIsland island(std::move(scenario));
    std::string pending;  // readable answer not yet accepted by the master
    std::size_t logged = 0;
    int status = 0;
    for (;;) {
        const std::int64_t now = nowUs();
        if (log)
            for (; logged < island.lines().size(); ++logged)
                std::fprintf(stderr, "< %s\n", island.lines()[logged].c_str());
        if (island.dropped()) {
            if (log)
                std::fprintf(stderr, "line dropped\n");
            break;
        }
        for (std::string piece; !(piece = island.take(now)).empty();)
            pending += piece;
        while (!pending.empty()) {
            const ssize_t n = ::write(master, pending.data(), pending.size());
            if (n <= 0)
                break;  // full: wait for room
            pending.erase(0, static_cast<std::size_t>(n));
        }

        pollfd fds[3] = {{master, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
                         {sigPipe[0], POLLIN, 0},
                         {watchStdin ? STDIN_FILENO : -1, POLLIN, 0}};
        timespec timeout{};
        timespec* tp = nullptr;
        if (auto next = island.nextArrivalUs()) {
            const std::int64_t wait = std::max<std::int64_t>(*next - now, 0);
            timeout.tv_sec = static_cast<time_t>(wait / 1'000'000);
            timeout.tv_nsec = static_cast<long>(wait % 1'000'000) * 1000;
            tp = &timeout;
        }
        if (::ppoll(fds, 3, tp, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            status = 1;
            break;
        }
        if (fds[1].revents)
            break;
        if (fds[2].revents) {
            char buf[256];
            if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
                break;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) && !(fds[0].revents & POLLIN)) {
            std::fprintf(stderr, "ondrix-simulatore: the line failed\n");
            status = 1;
            break;
        }
        if (fds[0].revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                island.receive(std::string_view(buf, static_cast<std::size_t>(n)), nowUs());
        }
    }

    ::close(master);
    ::close(slave);
    if (!linkPath.empty())
        ::unlink(linkPath.c_str());
    return status;
}
