// The island's replies end with their awaited text and hold it nowhere
// before: the channel stops reading at the first one. (What the replies say
// is checked by the readers that read them: the start-up and handler tests.)

#include "Talk.h"
#include "sim/Scenario.h"

#include <gtest/gtest.h>

namespace ondrix::sim {
namespace {

// The reply as the channel returns it: ending with the awaited text, its
// final CR LF still on the way.
std::string seen(std::string r)
{
    EXPECT_GE(r.size(), 2u);
    EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    r.resize(r.size() - 2);
    return r;
}

TEST(DefaultIslandReplies, AwaitedTextOnlyAtTheEnd)
{
    SimulatedIsland island;
    test::Talk talk = test::enter(island);
    // The valve state says ON only when the valve is on.
    EXPECT_EQ(seen(talk.dialogue({"STATO VALVOLA", "0"})).find("ON"), std::string::npos);
    EXPECT_EQ(seen(talk.dialogue({"STATO VALVOLA", "1"})).find("ON"), 0u);
    for (const char* cmd : {"GET SLAVE ADDRESS", "GET VALVOLE PRESENTI", "GET DIAGNOSI", "GET RELAX", "GET REV FW",
                            "INTERFACCIA", "GET BAUD RATE", "GET DIGITAL INPUT", "GET CONF", "STATO TERMINAZIONE",
                            "ENTER SV", "CLOSE ALL", "OPEN ALL", "TERMINAZIONE ON", "TERMINAZIONE OFF"}) {
        std::string r = seen(talk(cmd));
        EXPECT_EQ(r.find("OK"), r.size() - 2) << cmd << ": " << r;
    }
    std::string r = seen(talk.dialogue({"LEGGI CONTACOLPI", "0", "3"}));
    EXPECT_EQ(r.find("OK"), r.size() - 2);
}

} // namespace
} // namespace ondrix::sim
