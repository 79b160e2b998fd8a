#pragma once
// The two islands of the configuration file tests, read from the simulated
// island by a start-up (once, then copied).

#include "support/IslandRig.h"

namespace ondrix::test {

inline sim::InputModule moduloIngressi(const char* tipo, int rev, int indirizzo)
{
    sim::InputModule m{tipo, rev, indirizzo, true, {}};
    for (int i = 0; i < (m.type == "16IN" ? 16 : 8); ++i)
        m.inputs.push_back({i, false, 0});
    return m;
}

// PROFIBUS, main firmware 46, slave address 5: a head of 4 stations with
// indexes 0..3 at positions 1..4; an expansion of 2 stations with index 4 at
// 1, a disabled coil at 2 and index 9 at 3, which the diagnosis reports
// absent; relax on 1 and 4; a 16IN module (firmware 22) at address 0 and an
// 8IN module (23) at 1.
inline sim::Scenario scenarioProfibus()
{
    sim::Scenario s;
    s.revAtmel = 46;
    s.bodies = {{0, 4, 41, {{1, 0}, {2, 1, 'P', false, true}, {3, 2}, {4, 3}}},
                {1, 2, 41, {{1, 4, 'P', false, true}, {2, sim::DisabledIndex}, {3, 9, 'A'}}}};
    s.modules = {moduloIngressi("16IN", 22, 0), moduloIngressi("8IN", 23, 1)};
    return s;
}

// DEVICENET at baud index 1 (250 Kbit/s), main firmware 46, node 12: the
// head only, 2 stations, indexes 0, 1, 2 at positions 1, 2, 4, relax on 2; no
// input modules.
inline sim::Scenario scenarioDevicenet()
{
    sim::Scenario s;
    s.revAtmel = 46;
    s.interface = 'D';
    s.baudIndex = 1;
    s.slaveAddress = 12;
    s.bodies = {{0, 2, 41, {{1, 0}, {2, 1}, {4, 2, 'P', false, true}}}};
    return s;
}

inline const Model& isolaProfibus()
{
    static const Model m = readModel(scenarioProfibus());
    return m;
}

inline const Model& isolaDevicenet()
{
    static const Model m = readModel(scenarioDevicenet());
    return m;
}

} // namespace ondrix::test
