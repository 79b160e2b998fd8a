#pragma once
// Talking to a SimulatedIsland directly, line by line, on a private clock.

#include "sim/SimulatedIsland.h"

#include <cstdint>
#include <string>

namespace ondrix::sim::test {

struct Talk {
    SimulatedIsland& island;
    std::int64_t now = 1'000'000;

    // Sends one line, lets every answer arrive (one second later) and returns it.
    std::string operator()(const std::string& line)
    {
        island.receive(line + "\r\n", now);
        now += 1'000'000;
        std::string all;
        for (std::string piece; !(piece = island.take(now)).empty();)
            all += piece;
        return all;
    }
    // Sends a dialogue: each line in turn; returns the last answer.
    std::string dialogue(std::initializer_list<std::string> lines)
    {
        std::string last;
        for (const std::string& l : lines)
            last = (*this)(l);
        return last;
    }
};

// A service-mode island ready to talk to.
inline Talk enter(SimulatedIsland& island)
{
    Talk t{island};
    t("ENTER SV");
    return t;
}

} // namespace ondrix::sim::test
