#pragma once
// A configurator on the simulated island, with the scripted host: the usual
// starting point of a handler test.
//
//   IslandRig rig;                  // the default island on port 1
//   rig.ready();                    // start-up done, its lines and dialogs forgotten
//   rig.click(rig.c.f.CmdAll);
//   EXPECT_EQ(rig.taken(), (std::vector<std::string>{"CLOSE ALL", "GET DIAGNOSI"}));
//   rig.expectCleanDialogues();
//
// Build the island with a sim::Scenario (defaultScenario() tweaked); replace
// one reply with island.overrideReply() only where a test needs one that the
// island would never give.

#include "program/Configuratore.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"
#include "support/FakeHost.h"

#include <functional>
#include <string>
#include <vector>

namespace ondrix {

// The simulated port, telling the test each line the configurator sends
// before the island gets it (to look at the window at that moment).
class WatchedPort : public sim::SimulatedPort {
public:
    using sim::SimulatedPort::SimulatedPort;
    std::function<void(const std::string&)> onLine;
    void write(const std::string& data) override;

private:
    std::string partial_;
};

struct IslandRig {
    explicit IslandRig(sim::Scenario s = sim::defaultScenario());

    test::FakeHost host;
    sim::SimulatedIsland island;
    WatchedPort port;
    Configuratore c;

    // Window load and activation, as the program starts (eventoLoad, eventoActivate).
    void startUp();
    // The start-up, then its lines and the host's records (messages, input
    // boxes, busy pointer) forgotten: where a handler test starts.
    void ready();
    // Lines the island received (without CR LF).
    std::vector<std::string> lines() const { return island.lines(); }
    void clearLines() { island.clearLines(); }
    // The lines received since the last call or clearLines(), then forgotten.
    std::vector<std::string> taken();

    void click(Control& ctl);
    // The coil button at position p (1..16) of the body shown.
    Control& bobina(int p) { return *c.f.Bobina.at(static_cast<std::size_t>(p - 1)); }
    // The island's coil at position p of body k (0 = the head).
    sim::Coil& coil(std::size_t k, int p);

    // Every dialogue whole and carried out, one at a time, none left open.
    void expectCleanDialogues() const;
};

// The model as the start-up reads it from island s.
Model readModel(sim::Scenario s = sim::defaultScenario());

} // namespace ondrix
