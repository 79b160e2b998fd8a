#include "support/IslandRig.h"

#include "program/Eventi.h"

namespace ondrix {

IslandRig::IslandRig(sim::Scenario s) : island(std::move(s)), port(island, host), c(host, port) {}

void IslandRig::startUp()
{
    eventoLoad(c);
    eventoActivate(c);
}

} // namespace ondrix
