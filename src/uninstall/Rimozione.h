#pragma once
// The one removal request Uninstall makes, as plain data, so the exact
// command can be checked without starting anything. Header only and
// standard C++ only: Uninstall shares no code with the configurator.

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::uninstall {

// Windows: the Windows Installer asked (/x) to remove the configurator,
// named by its product code.
inline constexpr const char RigaMsiexec[] = "msiexec.exe /x {6C1D3A90-5B2E-4F47-9A31-27E8D04C5B16}";
inline constexpr std::string_view CodiceProdotto = std::string_view(RigaMsiexec).substr(15);

// The Debian package the product is installed as on Linux.
inline constexpr const char* PacchettoDebian = "ondrix-configuratore";

// The program that carries the removal dialogue on Linux: the desktop's
// terminal, through the name every Debian desktop provides for it.
inline constexpr const char* TerminaleDebian = "x-terminal-emulator";

inline std::string rigaComandoWindows() { return RigaMsiexec; }

// Linux: what runs inside the terminal. apt-get asks for confirmation and
// shows its progress; root rights come from sudo for its users, else from su
// (the two ways a Debian installation hands them out). The window stays open
// until the user has read the outcome.
inline std::string scriptRimozione()
{
    const std::string pkg = PacchettoDebian;
    return "echo 'Rimozione di " + pkg + " / Removing " + pkg + "'; echo; "
           "if [ \"$(id -u)\" -eq 0 ]; then apt-get remove " + pkg + "; "
           "elif command -v sudo >/dev/null 2>&1 && "
           "case \" $(id -nG) \" in *' sudo '*) true;; *) false;; esac; "
           "then sudo apt-get remove " + pkg + "; "
           "else su -c 'apt-get remove " + pkg + "'; fi; "
           "echo; printf 'Premere Invio per chiudere / Press Enter to close: '; read -r _";
}

// Linux: the program and its arguments (argv, program name first), resolved
// through PATH. "-e" takes the rest of the line as the command, as every
// terminal registered under that name must accept.
inline std::vector<std::string> comandoLinux()
{
    return {TerminaleDebian, "-e", "sh", "-c", scriptRimozione(), "ondrix-uninstall"};
}

// Starts argv[0] with its arguments, detached, without waiting; returns 0 or
// the error number of the failed start.
using Lanciatore = std::function<int(const std::vector<std::string>& argv)>;

// The whole program on Linux: one launch, no wait. A failed start is told on
// err and gives status 1.
inline int esegui(const Lanciatore& lancia, std::ostream& err,
                  const std::function<std::string(int)>& descrivi)
{
    const std::vector<std::string> argv = comandoLinux();
    if (const int e = lancia(argv); e != 0) {
        err << "Uninstall: cannot start " << argv[0] << ": " << descrivi(e) << "\n"
            << "Uninstall: remove the package by hand: sudo apt-get remove " << PacchettoDebian
            << "\n";
        return 1;
    }
    return 0;
}

} // namespace ondrix::uninstall
