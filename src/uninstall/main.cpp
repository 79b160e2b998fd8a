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

#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace {

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
    return e;  // the child is not waited for: it outlives us
}

} // namespace

int main()
{
    return ondrix::uninstall::esegui(avviaStaccato, std::cerr,
                                     [](int e) { return std::string(std::strerror(e)); });
}

#endif
