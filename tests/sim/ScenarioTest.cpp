// The scenario text format: what it reads, and the clear errors on bad input.

#include "sim/Scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ondrix::sim {
namespace {

TEST(ScenarioFormat, ReadsEveryDirective)
{
    Scenario s = parseScenario(R"(# a CANopen island
revatmel 45
interface c
baud 6
address 17
termination on
body posts 4 rev 39
coil 1 0 relax strokes 12     # first coil
coil 2 disabled
coil 3 1 I on
body posts 2 rev 38 number 3
coil 4 2 C
module 8IN rev 20 address 2
input 0 on
input 1 off toggle 250
input 2 off
input 3 off
input 4 off
input 5 off
input 6 off
input 170 off
module 16IN
fault silent-after 40
fault drop-at GET CONF
fault chunks 8 20
fault pace
fault link-delay 4500
fault latency 3
)");
    EXPECT_EQ(s.revAtmel, 45);
    EXPECT_EQ(s.interface, 'C');
    EXPECT_EQ(s.baudIndex, 6);
    EXPECT_EQ(s.slaveAddress, 17);
    EXPECT_TRUE(s.termination);
    ASSERT_EQ(s.bodies.size(), 2u);
    EXPECT_EQ(s.bodies[0].number, 0);
    EXPECT_EQ(s.bodies[1].number, 3);
    EXPECT_EQ(s.headRev(), 39);
    const Coil& c1 = s.bodies[0].coils[0];
    EXPECT_TRUE(c1.relax);
    EXPECT_EQ(c1.strokes, 12'000);
    EXPECT_EQ(s.bodies[0].coils[1].index, DisabledIndex);
    EXPECT_EQ(s.bodies[0].coils[2].diagnosis, 'I');
    EXPECT_TRUE(s.bodies[0].coils[2].energised);
    EXPECT_EQ(s.bodies[1].coils[0].diagnosis, 'C');
    ASSERT_EQ(s.modules.size(), 2u);
    EXPECT_EQ(s.modules[0].inputs[1].toggleUs, 250'000);
    EXPECT_EQ(s.modules[0].inputs[7].number, DisabledIndex);
    EXPECT_EQ(s.modules[1].inputs.size(), 16u);  // filled in
    EXPECT_EQ(s.faults.silentAfterLines, 40);
    EXPECT_EQ(s.faults.dropAtCommand, "GET CONF");
    EXPECT_EQ(s.faults.chunkSize, 8);
    EXPECT_EQ(s.faults.chunkGapUs, 20'000);
    EXPECT_TRUE(s.faults.pace);
    EXPECT_EQ(s.faults.linkCheckDelayUs, 4'500'000);
    EXPECT_EQ(s.faults.latencyUs, 3'000);
}

TEST(ScenarioFormat, WrittenTextReadsBackTheSameIsland)
{
    for (const Scenario& s : {defaultScenario(), demoScenario()}) {
        std::string text = formatScenario(s);
        EXPECT_EQ(formatScenario(parseScenario(text)), text);
    }
    // CR LF files read the same.
    std::string text = formatScenario(defaultScenario());
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(formatScenario(parseScenario(crlf)), text);
}

TEST(ScenarioFormat, DemoFileIsTheDemoIsland)
{
    Scenario s = loadScenario(std::string(ONDRIX_SOURCE_DIR) + "/resources/isola-demo.txt");
    EXPECT_EQ(formatScenario(s), formatScenario(demoScenario()));
}

TEST(ScenarioFormat, ErrorsNameTheLineAndTheProblem)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"body posts 8\nfrobnicate 3", "scenario line 2: unknown directive 'FROBNICATE'"},
        {"coil 1 0", "scenario line 1: coil before the first body"},
        {"body posts 6", "scenario line 1: a body has 2, 4 or 8 stations, not 6"},
        {"body posts 2\ncoil 5 0", "scenario line 2: body 0: coil position 5 outside 1..4"},
        {"body posts 8\ncoil 1 32", "scenario line 2: fieldbus index 32 outside 0..31 (170 = disabled)"},
        {"body posts 8\ncoil 1 x", "scenario line 2: fieldbus index is not a whole number: 'x'"},
        {"body posts 8\ncoil 1 0\ncoil 2 0", "scenario line 3: fieldbus index 0 given to two coils"},
        {"body posts 8\ncoil 1 0\ncoil 1 1", "scenario line 3: body 0: two coils at position 1"},
        {"body posts 8\ncoil 1 0 Q", "scenario line 2: unknown coil field 'Q' (A, P, C, I, relax, on, strokes N)"},
        {"interface X\nbody", "scenario line 1: interface must be P, C or D, not 'X'"},
        {"baud 8", "scenario line 1: baud-rate index 8 outside 0..7"},
        {"termination maybe", "scenario line 1: termination must be on or off, not 'MAYBE'"},
        {"address", "scenario line 1: missing slave address"},
        {"address 5 6", "scenario line 1: unexpected '6'"},
        {"module 4IN", "scenario line 1: module type must be 16IN or 8IN, not '4IN'"},
        {"input 1 on", "scenario line 1: input before the first module"},
        {"fault pause", "scenario line 1: unknown fault 'PAUSE'"},
        {"fault silent-at", "scenario line 1: missing command after silent-at"},
        {"", "scenario line 1: no body: an island has at least its head"},
    };
    for (const Case& c : cases) {
        try {
            parseScenario(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ScenarioError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.text;
        }
    }
    std::string nine = "body posts 8\nmodule 8IN\n";
    for (int k = 0; k < 9; ++k)
        nine += "input " + std::to_string(k) + " off\n";
    EXPECT_THROW(parseScenario(nine), ScenarioError);
    std::string seven = "body posts 8\nmodule 8IN\n";
    for (int k = 0; k < 7; ++k)
        seven += "input " + std::to_string(k) + " off\n";
    EXPECT_THROW(parseScenario(seven), ScenarioError);
    EXPECT_THROW(loadScenario("no/such/scenario.txt"), ScenarioError);
}

} // namespace
} // namespace ondrix::sim
