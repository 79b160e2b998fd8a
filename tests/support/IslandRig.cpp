#include "support/IslandRig.h"

#include "program/Eventi.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ondrix {

void WatchedPort::write(const std::string& data)
{
    if (onLine) {
        partial_ += data;
        for (std::size_t p; (p = partial_.find("\r\n")) != std::string::npos;) {
            const std::string line = partial_.substr(0, p);
            partial_.erase(0, p + 2);
            onLine(line);
        }
    }
    sim::SimulatedPort::write(data);
}

IslandRig::IslandRig(sim::Scenario s) : island(std::move(s)), port(island, host), c(host, port) {}

void IslandRig::startUp()
{
    eventoLoad(c);
    eventoActivate(c);
}

void IslandRig::ready()
{
    startUp();
    clearLines();
    host.messages.clear();
    host.inputs.clear();
    host.busyHistory.clear();
}

std::vector<std::string> IslandRig::taken()
{
    std::vector<std::string> l = lines();
    clearLines();
    return l;
}

void IslandRig::click(Control& ctl) { eventoClick(c, ctl); }

sim::Coil& IslandRig::coil(std::size_t k, int p)
{
    for (sim::Coil& x : island.state().bodies.at(k).coils)
        if (x.position == p)
            return x;
    throw std::out_of_range("no coil at position " + std::to_string(p));
}

void IslandRig::expectCleanDialogues() const
{
    EXPECT_EQ(island.protocolErrors(), std::vector<std::string>{});
    EXPECT_EQ(island.rejected(), std::vector<std::string>{});
    EXPECT_EQ(island.pendingDialogue(), "");
}

Model readModel(sim::Scenario s)
{
    IslandRig rig(std::move(s));
    rig.startUp();
    EXPECT_EQ(rig.island.protocolErrors(), std::vector<std::string>{});
    return rig.c.m;
}

} // namespace ondrix
