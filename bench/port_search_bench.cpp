// The port search over pseudo-terminals: 16 ports that open and never answer,
// and an island (ondrix-simulatore) behind the 16th with 15 silent ports
// before it. Every port is searched at once, so each costs one time-out at
// most, not one after the other.
//   port_search_16_silent_s: until the search gives up
//   port_search_island_on_16_s: until the island's port is chosen

#include "Simulatore.h"
#include "channel/CoreHost.h"
#include "channel/Dispositivi.h"
#include "channel/QtSerialPort.h"
#include "channel/Ricerca.h"

#include <QCoreApplication>

#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace ondrix;

namespace {

// A pseudo-terminal whose other side never answers.
using Muto = bench::Pty;

double cerca(CoreHost& host, const std::vector<std::string>& dispositivi, bool& trovata)
{
    QtSerialPort port([&](int n) {
        return n >= 1 && n <= static_cast<int>(dispositivi.size()) ? dispositivi[static_cast<std::size_t>(n - 1)]
                                                                  : std::string();
    });
    std::vector<int> numeri;
    for (int n = PrimaPorta; n <= UltimaPorta; ++n)
        numeri.push_back(n);
    const std::int64_t t0 = host.nowUs();
    const Ricerca r = cercaIsola(host, port, numeri, 0.05f);
    trovata = r.numero.has_value();
    return static_cast<double>(host.nowUs() - t0) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CoreHost host;
    std::vector<Muto> muti(UltimaPorta);
    std::vector<std::string> dispositivi;
    for (const Muto& m : muti)
        dispositivi.push_back(m.slave);

    bool trovata = false;
    const double silenziose = cerca(host, dispositivi, trovata);
    if (trovata) {
        std::fprintf(stderr, "a silent port answered\n");
        return 1;
    }
    bench::Simulatore isola({});
    if (isola.device().empty()) {
        std::fprintf(stderr, "ondrix-simulatore did not start\n");
        return 1;
    }
    dispositivi.back() = isola.device();
    const double ultima = cerca(host, dispositivi, trovata);
    if (!trovata) {
        std::fprintf(stderr, "the island on port 16 was not found\n");
        return 1;
    }
    std::printf("port_search_16_silent_s: %.3f\n", silenziose);
    std::printf("port_search_island_on_16_s: %.3f\n", ultima);
    return 0;
}
