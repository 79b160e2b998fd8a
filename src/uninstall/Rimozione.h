#pragma once
// The one removal request Uninstall makes, as plain data, so the exact
// command can be checked without starting anything. Header only and
// standard C++ only: Uninstall shares no code with the configurator.

#include <cerrno>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::uninstall {

// Windows: the product code the configurator is installed under (the build
// takes it from the installer's description).
inline constexpr std::string_view CodiceProdotto = ONDRIX_CODICE_PRODOTTO;

// The Debian package the product is installed as on Linux.
inline constexpr const char* PacchettoDebian = "ondrix-configuratore";

// The program that carries the removal dialogue on Linux: the desktop's
// terminal, through the name every Debian desktop provides for it.
inline constexpr const char* TerminaleDebian = "x-terminal-emulator";

// The Windows Installer asked (/x) to remove that product.
inline std::string rigaComandoWindows() { return "msiexec.exe /x " + std::string(CodiceProdotto); }

// What to type when no terminal can be opened.
inline std::string comandoAMano() { return std::string("sudo apt-get remove ") + PacchettoDebian; }

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

// Linux: the terminals tried in turn (argv, program name first, resolved
// through PATH). The desktop's registered terminal first; then the common
// ones, each with its own option for "run this program with these
// arguments" (minimal desktops often lack the registered name).
inline std::vector<std::vector<std::string>> comandiLinux()
{
    const std::vector<std::string> dentro = {"sh", "-c", scriptRimozione(), "ondrix-uninstall"};
    const std::vector<std::vector<std::string>> terminali = {
        {TerminaleDebian, "-e"}, {"gnome-terminal", "--"},  {"konsole", "-e"},
        {"xfce4-terminal", "-x"}, {"mate-terminal", "-x"},  {"terminator", "-x"},
        {"alacritty", "-e"},      {"kitty"},                {"xterm", "-e"},
    };
    std::vector<std::vector<std::string>> out;
    for (auto argv : terminali) {
        argv.insert(argv.end(), dentro.begin(), dentro.end());
        out.push_back(std::move(argv));
    }
    return out;
}

inline std::vector<std::string> comandoLinux() { return comandiLinux().front(); }

// Linux: when no terminal starts, the user (who started us from a menu and
// sees no standard error) is told in a window, by the first of these that
// runs.
inline std::vector<std::vector<std::string>> messaggiLinux()
{
    const std::string titolo = "Ondrix Configuratore";
    const std::string testo = "Nessun terminale si e' aperto per la rimozione. Eseguire a mano:\n    " +
                              comandoAMano() +
                              "\n\nNo terminal could be opened for the removal. Run by hand:\n    " +
                              comandoAMano();
    return {
        {"zenity", "--error", "--title=" + titolo, "--text=" + testo},
        {"kdialog", "--title", titolo, "--error", testo},
        {"xmessage", "-center", testo},
        {"notify-send", titolo, testo},
    };
}

// Starts argv[0] with its arguments, detached, without waiting for it to
// finish. Returns 0 when it started; a positive error number when it could
// not be started; minus its exit status when it ended at once with a failure
// (a terminal that finds no display, say).
using Lanciatore = std::function<int(const std::vector<std::string>& argv)>;

// The whole program on Linux: the first terminal that starts carries the
// removal; no wait for it. When none starts, standard error and a message
// window say what to run by hand, and the status is 1.
inline int esegui(const Lanciatore& lancia, std::ostream& err,
                  const std::function<std::string(int)>& descrivi)
{
    std::vector<std::string> provati;
    for (const auto& argv : comandiLinux()) {
        const int e = lancia(argv);
        if (e == 0)
            return 0;
        // A terminal that is not installed is no news, except the default one.
        if (e != ENOENT || provati.empty())
            err << "Uninstall: cannot start " << argv[0] << ": " << descrivi(e) << "\n";
        provati.push_back(argv[0]);
    }
    err << "Uninstall: no terminal could be started (tried:";
    for (const auto& t : provati)
        err << " " << t;
    err << ")\nUninstall: remove the package by hand: " << comandoAMano() << "\n";
    for (const auto& argv : messaggiLinux())
        if (lancia(argv) == 0)
            break;
    return 1;
}

} // namespace ondrix::uninstall
