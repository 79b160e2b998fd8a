#pragma once
// A program of the build run as a user would: its arguments, environment
// changes, optionally another user; its standard output and error kept, its
// exit status waited for (with a limit), signals sent to it.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ondrix::test {

class Programma {
public:
    // nome: a program of the build's bin folder. ambiente: variables to set
    // (an empty value removes one). utente: run through setpriv as that user.
    Programma(const std::string& nome, std::vector<std::string> args,
              std::map<std::string, std::string> ambiente = {}, const std::string& utente = {})
    {
        static int conta = 0;
        const auto base = std::filesystem::temp_directory_path() /
                          ("ondrix-prova-" + std::to_string(::getpid()) + "-" + std::to_string(++conta));
        out_ = base.string() + ".out";
        err_ = base.string() + ".err";
        std::vector<std::string> argv;
        if (!utente.empty())
            argv = {"/usr/bin/setpriv", "--reuid=" + utente, "--regid=nogroup", "--clear-groups", "--"};
        argv.push_back(std::string(ONDRIX_BIN_DIR) + "/" + nome);
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string v = *e;
            if (!ambiente.count(v.substr(0, v.find('='))))
                env.push_back(v);
        }
        for (const auto& [k, v] : ambiente)
            if (!v.empty())
                env.push_back(k + "=" + v);
        std::vector<char*> a, e;
        for (auto& s : argv)
            a.push_back(s.data());
        a.push_back(nullptr);
        for (auto& s : env)
            e.push_back(s.data());
        e.push_back(nullptr);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, a[0], &fa, nullptr, a.data(), e.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
    }
    ~Programma()
    {
        if (pid_ > 0 && !stato_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::filesystem::remove(out_);
        std::filesystem::remove(err_);
    }
    Programma(const Programma&) = delete;
    Programma& operator=(const Programma&) = delete;

    void segnale(int s) { ::kill(pid_, s); }
    // The exit status, or -1 when it did not end within the limit (-2: killed
    // by a signal).
    int attendi(std::chrono::milliseconds limite = std::chrono::seconds(60))
    {
        const auto fine = std::chrono::steady_clock::now() + limite;
        while (!stato_ && pid_ > 0) {
            int s = 0;
            if (::waitpid(pid_, &s, WNOHANG) == pid_) {
                stato_ = WIFEXITED(s) ? WEXITSTATUS(s) : -2;
                break;
            }
            if (std::chrono::steady_clock::now() > fine)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return stato_.value_or(-1);
    }
    std::string out() const { return leggi(out_); }
    std::string err() const { return leggi(err_); }

    static std::string leggi(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

private:
    pid_t pid_ = -1;
    std::optional<int> stato_;
    std::string out_, err_;
};

// The modes without a window need no display.
inline const std::map<std::string, std::string> SenzaSchermo = {
    {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};

// The lines the simulator received, from its --log file.
inline std::vector<std::string> ricevute(const std::string& registro)
{
    std::vector<std::string> righe;
    std::istringstream in(Programma::leggi(registro));
    for (std::string r; std::getline(in, r);)
        if (r.rfind("< ", 0) == 0)
            righe.push_back(r.substr(2));
    return righe;
}

// Waits until the file holds text (a line the simulator received), at most limite.
inline bool attendiTesto(const std::string& file, const std::string& testo,
                         std::chrono::milliseconds limite = std::chrono::seconds(30))
{
    const auto fine = std::chrono::steady_clock::now() + limite;
    while (Programma::leggi(file).find(testo) == std::string::npos) {
        if (std::chrono::steady_clock::now() > fine)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace ondrix::test
