// Start-up of the default island over the simulator paced at 9600 baud, on
// the real monotonic clock.
//   startup_s:             wall time of the start-up (activation to the end)
//   startup_wire_bound_s:  characters the island sent / 960 + exchanges
//                          (link check included) x Ritardo: what the line and
//                          the settling pauses alone cost
//   startup_ratio:         the first over the second
//   startup_exchanges, startup_chars: the two counts behind the bound

#include "channel/CoreHost.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>

using namespace ondrix;

namespace {

// Counts what the configurator reads from the island.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& p) : p_(p) {}
    std::int64_t letti = 0;

    void setPortNumber(int n) override { p_.setPortNumber(n); }
    int portNumber() const override { return p_.portNumber(); }
    bool open() override { return p_.open(); }
    void close() override { p_.close(); }
    bool isOpen() const override { return p_.isOpen(); }
    void write(const std::string& data) override { p_.write(data); }
    std::int64_t outputCount() override { return p_.outputCount(); }
    std::int64_t inputCount() override { return p_.inputCount(); }
    std::string readAll() override
    {
        std::string s = p_.readAll();
        letti += static_cast<std::int64_t>(s.size());
        return s;
    }
    std::optional<std::int64_t> nextArrivalUs() const override { return p_.nextArrivalUs(); }
    std::unique_ptr<SerialPort> sonda(int n) override { return p_.sonda(n); }

private:
    SerialPort& p_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CoreHost host;
    sim::Scenario s = sim::defaultScenario();
    s.faults.pace = true;
    sim::SimulatedIsland island(s);
    sim::SimulatedPort simPort(island, host);
    CountingPort port(simPort);
    Configuratore c(host, port);

    eventoLoad(c);
    const std::int64_t t0 = host.nowUs();
    eventoActivate(c);
    const std::int64_t t1 = host.nowUs();

    // The tail of the last reply is on its way when the start-up ends: it was
    // sent all the same.
    std::int64_t caratteri = port.letti;
    if (auto ultimo = simPort.nextArrivalUs())
        host.waitForEvent(*ultimo + 1);
    caratteri += simPort.inputCount();

    const double startup = static_cast<double>(t1 - t0) / 1e6;
    const long scambi = c.ch.exchanges();
    const double bound = static_cast<double>(caratteri) / sim::SimulatedIsland::CharsPerSecond +
                         static_cast<double>(scambi) * static_cast<double>(c.m.testi.Ritardo);
    std::printf("startup_s: %.3f\n", startup);
    std::printf("startup_wire_bound_s: %.3f\n", bound);
    std::printf("startup_ratio: %.3f\n", startup / bound);
    std::printf("startup_exchanges: %ld\n", scambi);
    std::printf("startup_chars: %lld\n", static_cast<long long>(caratteri));
    if (c.m.NumEspansioni != 2 || !island.protocolErrors().empty()) {
        std::fprintf(stderr, "start-up did not read the default island\n");
        return 1;
    }
    return 0;
}
