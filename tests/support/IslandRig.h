#pragma once
// A configurator on the simulated island, with the scripted host: the usual
// starting point of a handler test.
//
//   IslandRig rig;                  // the default island on port 1
//   rig.startUp();                  // load + activation: port search, readout, head drawn
//   rig.clearLines();
//   ... drive handlers or events on rig.c ...
//   EXPECT_EQ(rig.lines(), (std::vector<std::string>{"CLOSE VALVOLA", "1", "GET DIAGNOSI"}));
//   EXPECT_TRUE(rig.island.protocolErrors().empty());

#include "program/Configuratore.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"
#include "support/FakeHost.h"

#include <string>
#include <vector>

namespace ondrix {

struct IslandRig {
    explicit IslandRig(sim::Scenario s = sim::defaultScenario());

    test::FakeHost host;
    sim::SimulatedIsland island;
    sim::SimulatedPort port;
    Configuratore c;

    // Window load and activation, as the program starts (eventoLoad, eventoActivate).
    void startUp();
    // Lines the island received (without CR LF).
    std::vector<std::string> lines() const { return island.lines(); }
    void clearLines() { island.clearLines(); }
};

} // namespace ondrix
