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
#include <optional>
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

// What the command line asks for.
struct Options {
    std::string scenarioFile, linkPath;
    bool demo = false, log = false, watchStdin = false;
    ondrix::sim::Faults flags;  // the fault options; unset ones keep their defaults
    bool pace = false;
    long tailDelayMs = -1;      // -1: not given
};

// Reads the options into o; a status to end with (help, version, a bad
// command line), or nothing to go on.
std::optional<int> readOptions(int argc, char** argv, Options& o)
{
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
            o.demo = true;
        else if (a == "--link")
            o.linkPath = value("--link");
        else if (a == "--pace")
            o.pace = true;
        else if (a == "--log")
            o.log = true;
        else if (a == "--stdin")
            o.watchStdin = true;
        else if (a == "--chunks") {
            const char* size = value("--chunks");
            const char* gap = value("--chunks");
            long g = 0;
            if (!number(size, 1, 100000, v) || !number(gap, 0, 60000, g))
                return usageError("bad --chunks values", nullptr);
            o.flags.chunkSize = static_cast<int>(v);
            o.flags.chunkGapUs = g * 1000;
        } else if (a == "--silent-after" || a == "--drop-after") {
            const char* t = value(a.c_str());
            if (!number(t, 0, 1000000, v))
                return usageError("bad line count", t);
            (a == "--silent-after" ? o.flags.silentAfterLines : o.flags.dropAfterLines) = static_cast<int>(v);
        } else if (a == "--silent-at")
            o.flags.silentAtCommand = value("--silent-at");
        else if (a == "--link-delay" || a == "--latency") {
            const char* t = value(a.c_str());
            if (!number(t, 0, 600000, v))
                return usageError("bad milliseconds", t);
            (a == "--link-delay" ? o.flags.linkCheckDelayUs : o.flags.latencyUs) = v * 1000;
        } else if (a == "--tail-delay") {
            const char* t = value("--tail-delay");
            if (!number(t, 0, 10000, o.tailDelayMs))
                return usageError("bad milliseconds", t);
        } else if (!a.empty() && a[0] == '-')
            return usageError("unknown option", a.c_str());
        else if (!o.scenarioFile.empty())
            return usageError("more than one scenario file", a.c_str());
        else
            o.scenarioFile = a;
    }
    return std::nullopt;
}

// The fault options add to the faults the scenario file names.
void addFaultOptions(const Options& o, ondrix::sim::Faults& f)
{
    const ondrix::sim::Faults& flags = o.flags;
    if (o.pace)
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
    if (o.tailDelayMs >= 0)
        f.tailDelayUs = o.tailDelayMs * 1000;
    else if (f.tailDelayUs == ondrix::sim::Faults{}.tailDelayUs)
        f.tailDelayUs = 50'000;
}

// The island to serve: the scenario file, the demo or the default island,
// with the fault options; nothing (and the reason told) when the file is bad.
std::optional<ondrix::sim::Scenario> islandScenario(const Options& o)
{
    using namespace ondrix::sim;
    Scenario scenario;
    try {
        scenario = !o.scenarioFile.empty() ? loadScenario(o.scenarioFile)
                   : o.demo                 ? demoScenario()
                                            : defaultScenario();
    } catch (const ScenarioError& e) {
        std::fprintf(stderr, "ondrix-simulatore: %s\n", e.what());
        return std::nullopt;
    }
    addFaultOptions(o, scenario.faults);
    return scenario;
}

// Both sides of the pseudo-terminal.
struct Line {
    int master = -1;
    int slave = -1;
    std::string slavePath;
};

// Opens a raw 9600-baud pseudo-terminal, its master side non-blocking; false
// (and the reason told) when the system gives none.
bool openLine(Line& line)
{
    line.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.master < 0 || ::grantpt(line.master) != 0 || ::unlockpt(line.master) != 0) {
        std::fprintf(stderr, "ondrix-simulatore: no pseudo-terminal: %s\n", std::strerror(errno));
        return false;
    }
    line.slavePath = ::ptsname(line.master);
    // Holding the slave side open keeps the line up between two users (no
    // hang-up on the master while the configurator closes and reopens).
    line.slave = ::open(line.slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.slave < 0) {
        std::fprintf(stderr, "ondrix-simulatore: cannot open %s: %s\n", line.slavePath.c_str(),
                     std::strerror(errno));
        return false;
    }
    termios t{};
    ::tcgetattr(line.slave, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(line.slave, TCSANOW, &t);
    ::fcntl(line.master, F_SETFL, ::fcntl(line.master, F_GETFL) | O_NONBLOCK);
    return true;
}

// The symbolic link at linkPath to the line, replacing an older link there.
bool makeLink(const std::string& linkPath, const std::string& slavePath)
{
    struct stat st{};
    if (::lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        ::unlink(linkPath.c_str());
    if (::symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
        std::fprintf(stderr, "ondrix-simulatore: cannot create the link %s: %s\n", linkPath.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

// SIGTERM, SIGINT and SIGHUP write to sigPipe, which the loop watches; a
// reader that goes away (SIGPIPE) is no reason to end.
bool catchSignals()
{
    if (::pipe2(sigPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    ::sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

// Writes what the master side takes of pending now; the rest waits for room.
void writePending(int master, std::string& pending)
{
    while (!pending.empty()) {
        const ssize_t n = ::write(master, pending.data(), pending.size());
        if (n <= 0)
            break;  // full: wait for room
        pending.erase(0, static_cast<std::size_t>(n));
    }
}

// Until the island's next piece of answer is due; null: until an event.
timespec* untilNextArrival(const ondrix::sim::SimulatedIsland& island, std::int64_t now, timespec& timeout)
{
    const auto next = island.nextArrivalUs();
    if (!next)
        return nullptr;
    const std::int64_t wait = std::max<std::int64_t>(*next - now, 0);
    timeout.tv_sec = static_cast<time_t>(wait / 1'000'000);
    timeout.tv_nsec = static_cast<long>(wait % 1'000'000) * 1000;
    return &timeout;
}

// Serves the island on the line until a signal, the end of standard input
// (with --stdin), a drop fault or a failed line; the exit status.
int serve(ondrix::sim::SimulatedIsland& island, int master, bool log, bool watchStdin)
{
    std::string pending;  // readable answer not yet accepted by the master
    std::size_t logged = 0;
    for (;;) {
        const std::int64_t now = nowUs();
        if (log)
            for (; logged < island.lines().size(); ++logged)
                std::fprintf(stderr, "< %s\n", island.lines()[logged].c_str());
        if (island.dropped()) {
            if (log)
                std::fprintf(stderr, "line dropped\n");
            return 0;
        }
        for (std::string piece; !(piece = island.take(now)).empty();)
            pending += piece;
        writePending(master, pending);

        pollfd fds[3] = {{master, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
                         {sigPipe[0], POLLIN, 0},
                         {watchStdin ? STDIN_FILENO : -1, POLLIN, 0}};
        timespec timeout{};
        if (::ppoll(fds, 3, untilNextArrival(island, now, timeout), nullptr) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[1].revents)
            return 0;
        if (fds[2].revents) {
            char buf[256];
            if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
                return 0;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) && !(fds[0].revents & POLLIN)) {
            std::fprintf(stderr, "ondrix-simulatore: the line failed\n");
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                island.receive(std::string_view(buf, static_cast<std::size_t>(n)), nowUs());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (const auto status = readOptions(argc, argv, o))
        return *status;
    std::optional<ondrix::sim::Scenario> scenario = islandScenario(o);
    if (!scenario)
        return 2;

    Line line;
    if (!openLine(line))
        return 1;
    if (!o.linkPath.empty() && !makeLink(o.linkPath, line.slavePath))
        return 1;
    if (!catchSignals())
        return 1;
    std::printf("%s\n", line.slavePath.c_str());
    std::fflush(stdout);

    ondrix::sim::SimulatedIsland island(std::move(*scenario));
    const int status = serve(island, line.master, o.log, o.watchStdin);

    ::close(line.master);
    ::close(line.slave);
    if (!o.linkPath.empty())
        ::unlink(o.linkPath.c_str());
    return status;
}
