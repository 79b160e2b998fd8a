// Islands commissioned side by side: 8 simulated islands paced at 9600 baud on
// 8 pseudo-terminals, and ondrix-configuratore --verify run on one alone, then
// on all 8 at once (one process per port, nothing shared but the machine).
//   batch_parallel_ratio: wall time of the 8 together / wall time of one alone
//   batch_cpu_s_per_island: CPU time of one configurator process (user + system)
//   batch_single_s: wall time of one alone

#include "Simulatore.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

pid_t avvia(const std::vector<std::string>& args)
{
    std::vector<std::string> a = args;
    std::vector<char*> argv;
    for (auto& s : a)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

// Runs the commands at once; the wall time, and the CPU seconds of each.
double insieme(const std::vector<std::vector<std::string>>& comandi, std::vector<double>& cpu, bool& ok)
{
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<pid_t> pids;
    for (const auto& c : comandi)
        pids.push_back(avvia(c));
    ok = true;
    for (pid_t p : pids) {
        int stato = 0;
        rusage ru{};
        if (p < 0 || ::wait4(p, &stato, 0, &ru) != p || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
            ok = false;
        cpu.push_back(static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                      static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::string bin = QCoreApplication::applicationDirPath().toStdString();
    const std::string configuratore = bin + "/ondrix-configuratore";
    constexpr int N = 8;
    std::vector<std::unique_ptr<ondrix::bench::Simulatore>> isole;
    for (int k = 0; k < N; ++k) {
        isole.push_back(std::make_unique<ondrix::bench::Simulatore>(std::vector<std::string>{"--pace"}));
        if (isole.back()->device().empty()) {
            std::fprintf(stderr, "ondrix-simulatore did not start\n");
            return 1;
        }
    }
    // The master file of the island type: saved from the first island.
    std::string modello = (std::filesystem::temp_directory_path() / "ondrix-batch-XXXXXX").string();
    const int fd = ::mkstemp(modello.data());
    if (fd < 0)
        return 1;
    ::close(fd);
    const std::string file = modello;
    std::vector<double> cpu;
    bool ok = false;
    insieme({{configuratore, "--port", isole[0]->device(), "--save", file, "--quiet"}}, cpu, ok);
    if (!ok) {
        std::fprintf(stderr, "--save failed\n");
        return 1;
    }
    const auto verifica = [&](int k) {
        return std::vector<std::string>{configuratore, "--port", isole[static_cast<std::size_t>(k)]->device(),
                                        "--verify", file, "--quiet"};
    };
    cpu.clear();
    const double uno = insieme({verifica(0)}, cpu, ok);
    std::vector<std::vector<std::string>> tutti;
    for (int k = 0; k < N; ++k)
        tutti.push_back(verifica(k));
    cpu.clear();
    const double otto = insieme(tutti, cpu, ok);
    ::unlink(file.c_str());
    if (!ok) {
        std::fprintf(stderr, "a --verify failed\n");
        return 1;
    }
    double somma = 0;
    for (double c : cpu)
        somma += c;
    std::printf("batch_single_s: %.3f\n", uno);
    std::printf("batch_parallel_ratio: %.3f\n", otto / uno);
    std::printf("batch_cpu_s_per_island: %.3f\n", somma / N);
    return 0;
}
