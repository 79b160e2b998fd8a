// Uninstall: hands the removal of the installed configurator to the system's
// installer and ends at once, without a window of its own and without
// waiting for the removal.

#include "Rimozione.h"

#ifdef _WIN32

#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // CreateProcess may write into the command line: give it a copy.
    std::string riga = ondrix::uninstall::rigaComandoWindows();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        // No window of our own: the status tells a caller, stderr a console.
        std::fprintf(stderr, "Uninstall: cannot start %s (error %lu)\n", riga.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

#else

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A terminal that cannot open its window ends within moments; one that runs
// is still there after this long, or has handed its window to a server and
// ended well.
constexpr int AttesaAvvioMs = 700;

// Waits for the child's end, at most AttesaAvvioMs, through a descriptor
// that becomes readable when it ends. Returns its wait status, or -1 when it
// is still running (or the system cannot tell).
int fineImmediata(pid_t pid)
{
#ifdef SYS_pidfd_open
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0)
        return -1;
    pollfd p{fd, POLLIN, 0};
    int r;
    while ((r = ::poll(&p, 1, AttesaAvvioMs)) < 0 && errno == EINTR) {
    }
    ::close(fd);
    int st = 0;
    if (r == 1 && ::waitpid(pid, &st, WNOHANG) == pid)
        return st;
#else
    (void)pid;
#endif
    return -1;
}

// posix_spawnp reports a program that cannot be run before it returns. The
// child gets a session of its own and none of our descriptors, so nothing
// that reads our output waits for the removal dialogue.
int avviaStaccato(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t fa;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
    posix_spawn_file_actions_addclosefrom_np(&fa, 3);  // nor any other of ours
#endif
    pid_t pid;
    const int e = posix_spawnp(&pid, args[0], &fa, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    if (e != 0)
        return e;
    // Not waited for beyond the first moments: it outlives us.
    const int st = fineImmediata(pid);
    if (st != -1 && !(WIFEXITED(st) && WEXITSTATUS(st) == 0))
        return WIFEXITED(st) ? -std::max(1, WEXITSTATUS(st)) : -128 - WTERMSIG(st);
    return 0;
}

std::string descrivi(int e)
{
    if (e > 0)
        return std::strerror(e);
    if (e <= -128)
        return "it was ended by signal " + std::to_string(-128 - e);
    return "it ended at once with status " + std::to_string(-e);
}

} // namespace

int main()
{
    return ondrix::uninstall::esegui(avviaStaccato, std::cerr, descrivi);
}

#endif
