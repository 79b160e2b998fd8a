#pragma once
// What the built-in island is: its firmware, fieldbus identity, bodies and
// coils, input modules, and the faults it shows on demand. A plain struct that
// tests build or tweak directly, plus a small text format for the demo and the
// pty server.
//
// Scenario file format (one directive per line, words separated by blanks,
// '#' starts a comment, keywords case-insensitive):
//
//   revatmel 47                 revision of the head's main controller
//   interface P                 P (PROFIBUS), C (CANOPEN) or D (DEVICENET)
//   baud 3                      baud-rate index 0..7
//   address 5                   slave address 0..127
//   termination on|off          PROFIBUS bus termination
//   body posts 8 rev 47 [number 0]
//                               a body of 2, 4 or 8 stations (head first);
//                               number defaults to its place, counted from 0
//   coil POS INDEX [STATE] [relax] [on] [strokes N]
//                               a coil of the last body: position 1..2*posts,
//                               fieldbus index 0..31 or "disabled" (170),
//                               diagnosis letter A, P, C or I (default P),
//                               relax on, energised, stroke counter in thousands
//   module 16IN|8IN rev 23 address 0
//                               an input module; without input lines it gets
//                               inputs 0..n-1, all off
//   input NUMBER on|off [toggle MS]
//                               an input of the last module: its number (170 =
//                               disabled), its state, and optionally a period
//                               after which it changes state, again and again
//   fault silent-after N        answers lines 1..N, then nothing
//   fault silent-at COMMAND...  answers nothing from that command line on
//   fault drop-after N          the port is lost after the N-th line
//   fault drop-at COMMAND...    the port is lost when that line arrives
//   fault chunks SIZE GAP_MS    replies in pieces of SIZE characters, GAP_MS apart
//   fault pace                  replies at 9600 baud (960 characters per second)
//   fault link-delay MS         the link check is answered MS late
//   fault latency MS            every reply starts MS after its line
//   fault tail-delay US         a reply's final CR LF comes US microseconds
//                               after its awaited text (default 2084)

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::sim {

// A scenario text that cannot be read; what() names the line and the problem.
struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int DisabledIndex = 170;  // a disabled coil or input

struct Coil {
    int position = 1;       // 1..16 on its body
    int index = 0;          // fieldbus index 0..31, or DisabledIndex
    char diagnosis = 'P';   // A absent, P present, C short circuit, I interrupted
    bool energised = false;
    bool relax = false;
    std::int64_t strokes = 0;  // valve strokes (the island reports thousands)
};

struct Body {
    int number = 0;  // as the island reports it; 0 for the head
    int posts = 8;   // valve stations: 2, 4 or 8
    int rev = 47;    // firmware revision of the body's controller
    std::vector<Coil> coils;
};

struct Input {
    int number = 0;            // as reported; DisabledIndex when disabled
    bool on = false;           // state at time 0 (or steady state)
    std::int64_t toggleUs = 0; // > 0: the state flips every toggleUs of the clock
};

struct InputModule {
    std::string type = "16IN";  // "16IN" or "8IN"
    int rev = 23;
    int address = 0;
    bool enabled = true;  // cleared by DISABLE DIGITAL until ENABLE DIGITAL moves it
    std::vector<Input> inputs;
};

struct Faults {
    int silentAfterLines = -1;         // >= 0: lines after the N-th get no answer
    std::string silentAtCommand;       // non-empty: no answer from this line on
    int dropAfterLines = -1;           // >= 0: the port is lost after the N-th line
    std::string dropAtCommand;         // non-empty: the port is lost at this line
    int chunkSize = 0;                 // > 0: replies come in pieces of this size
    std::int64_t chunkGapUs = 0;       // between two pieces
    bool pace = false;                 // 960 characters per second
    std::int64_t linkCheckDelayUs = 0; // extra delay of the answer to the empty line
    std::int64_t latencyUs = 0;        // delay before every reply starts
    // Delay of a reply's final CR LF after its awaited text (two characters
    // at 9600 baud; the pty server uses more, so that a reader woken late
    // still sees the reply end with the awaited text).
    std::int64_t tailDelayUs = 2084;
};

struct Scenario {
    int revAtmel = 47;
    char interface = 'P';  // P, C or D
    int baudIndex = 0;
    int slaveAddress = 5;
    bool termination = false;
    std::vector<Body> bodies;  // head first
    std::vector<InputModule> modules;
    Faults faults;

    int headRev() const { return bodies.empty() ? 0 : bodies.front().rev; }
};

// Reads a scenario text. Throws ScenarioError naming the line on bad input.
Scenario parseScenario(std::string_view text);
// Reads a scenario file; ScenarioError also when it cannot be read.
Scenario loadScenario(const std::string& path);
// The scenario as text that parseScenario reads back to the same island.
std::string formatScenario(const Scenario& s);

// The demo island: PROFIBUS, a head of 8 stations and one expansion of 4,
// coils in every state (one energised, one disabled, one short-circuited,
// one interrupted, absent slots), relax on some, a 16IN module with inputs 3
// and 4 disabled and an 8IN module, firmware recent enough for every feature.
Scenario defaultScenario();

// The default island with some inputs that change now and then (the demo).
Scenario demoScenario();

} // namespace ondrix::sim
