#include "sim/Scenario.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace ondrix::sim {

namespace {

std::string upper(std::string_view w)
{
    std::string s(w);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> words(std::string_view line)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t b = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > b)
            out.emplace_back(line.substr(b, i - b));
    }
    return out;
}

class Reader {
public:
    Reader(int lineNo, std::vector<std::string> w) : lineNo_(lineNo), w_(std::move(w)) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        throw ScenarioError("scenario line " + std::to_string(lineNo_) + ": " + what);
    }
    bool more() const { return pos_ < w_.size(); }
    std::string word(const char* what)
    {
        if (!more())
            fail(std::string("missing ") + what);
        return w_[pos_++];
    }
    std::string peekUpper() const { return more() ? upper(w_[pos_]) : std::string(); }
    long number(const char* what, long lo, long hi)
    {
        std::string t = word(what);
        long v = 0;
        auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc() || p != t.data() + t.size())
            fail(std::string(what) + " is not a whole number: '" + t + "'");
        if (v < lo || v > hi)
            fail(std::string(what) + " " + t + " outside " + std::to_string(lo) + ".." + std::to_string(hi));
        return v;
    }
    bool onOff(const char* what)
    {
        std::string t = upper(word(what));
        if (t == "ON")
            return true;
        if (t == "OFF")
            return false;
        fail(std::string(what) + " must be on or off, not '" + t + "'");
    }
    void expect(const char* key)
    {
        std::string t = upper(word(key));
        if (t != key)
            fail(std::string("expected '") + key + "', found '" + t + "'");
    }
    void end() const
    {
        if (more())
            fail("unexpected '" + w_[pos_] + "'");
    }
    std::string rest()
    {
        std::string s;
        for (; pos_ < w_.size(); ++pos_)
            s += (s.empty() ? "" : " ") + w_[pos_];
        return s;
    }

private:
    int lineNo_;
    std::vector<std::string> w_;
    std::size_t pos_ = 0;
};

int defaultInputCount(const std::string& type) { return type == "8IN" ? 8 : 16; }

// The island as a whole: at least its head.
void validate(const Scenario& s, int lastLine)
{
    if (s.bodies.empty())
        throw ScenarioError("scenario line " + std::to_string(lastLine) + ": no body: an island has at least its head");
}

// The words of a line, without its comment and a Windows line end.
std::vector<std::string> lineWords(std::string_view line)
{
    if (std::size_t h = line.find('#'); h != std::string_view::npos)
        line = line.substr(0, h);
    std::vector<std::string> w = words(line);
    if (!w.empty() && !w.back().empty() && w.back().back() == '\r')
        w.back().pop_back();
    if (!w.empty() && w.back().empty())
        w.pop_back();
    return w;
}

// One reader per directive: each takes the words after the directive's name.

void readRevAtmel(Reader& r, Scenario& s)
{
    s.revAtmel = static_cast<int>(r.number("revision", 0, 255));
}

void readInterface(Reader& r, Scenario& s)
{
    std::string v = upper(r.word("interface letter"));
    if (v != "P" && v != "C" && v != "D")
        r.fail("interface must be P, C or D, not '" + v + "'");
    s.interface = v[0];
}

void readBaud(Reader& r, Scenario& s)
{
    s.baudIndex = static_cast<int>(r.number("baud-rate index", 0, 7));
}

void readAddress(Reader& r, Scenario& s)
{
    s.slaveAddress = static_cast<int>(r.number("slave address", 0, 127));
}

void readTermination(Reader& r, Scenario& s)
{
    s.termination = r.onOff("termination");
}

void readBody(Reader& r, Scenario& s)
{
    Body b;
    b.number = static_cast<int>(s.bodies.size());
    while (r.more()) {
        std::string k = upper(r.word("body field"));
        if (k == "POSTS") {
            b.posts = static_cast<int>(r.number("posts", 1, 8));
            if (b.posts != 2 && b.posts != 4 && b.posts != 8)
                r.fail("a body has 2, 4 or 8 stations, not " + std::to_string(b.posts));
        } else if (k == "REV")
            b.rev = static_cast<int>(r.number("revision", 0, 255));
        else if (k == "NUMBER")
            b.number = static_cast<int>(r.number("body number", 0, 99));
        else
            r.fail("unknown body field '" + k + "'");
    }
    if (s.bodies.size() >= 64)
        r.fail("too many bodies");
    s.bodies.push_back(b);
}

// A coil's position, its index and its fields, as the line gives them.
Coil coilFields(Reader& r)
{
    Coil c;
    c.position = static_cast<int>(r.number("coil position", 1, 16));
    if (r.peekUpper() == "DISABLED") {
        r.word("index");
        c.index = DisabledIndex;
    } else {
        c.index = static_cast<int>(r.number("fieldbus index", 0, DisabledIndex));
        if (c.index > 31 && c.index != DisabledIndex)
            r.fail("fieldbus index " + std::to_string(c.index) + " outside 0..31 (170 = disabled)");
    }
    while (r.more()) {
        std::string k = upper(r.word("coil field"));
        if (k == "A" || k == "P" || k == "C" || k == "I")
            c.diagnosis = k[0];
        else if (k == "RELAX")
            c.relax = true;
        else if (k == "ON")
            c.energised = true;
        else if (k == "STROKES")
            c.strokes = r.number("stroke count", 0, 99999) * 1000;
        else
            r.fail("unknown coil field '" + k + "' (A, P, C, I, relax, on, strokes N)");
    }
    return c;
}

// A coil fits its body's stations, and its position and index are its own.
void checkCoilPlace(const Reader& r, const Scenario& s, const Body& b, const Coil& c)
{
    if (c.position > 2 * b.posts)
        r.fail("body " + std::to_string(b.number) + ": coil position " + std::to_string(c.position) +
               " outside 1.." + std::to_string(2 * b.posts));
    for (const Body& other : s.bodies)
        for (const Coil& o : other.coils) {
            if (&other == &b && o.position == c.position)
                r.fail("body " + std::to_string(b.number) + ": two coils at position " +
                       std::to_string(c.position));
            if (c.index != DisabledIndex && o.index == c.index)
                r.fail("fieldbus index " + std::to_string(c.index) + " given to two coils");
        }
}

void readCoil(Reader& r, Scenario& s)
{
    if (s.bodies.empty())
        r.fail("coil before the first body");
    const Coil c = coilFields(r);
    Body& b = s.bodies.back();
    checkCoilPlace(r, s, b, c);
    b.coils.push_back(c);
}

void readModule(Reader& r, Scenario& s)
{
    InputModule m;
    m.type = upper(r.word("module type"));
    if (m.type != "16IN" && m.type != "8IN")
        r.fail("module type must be 16IN or 8IN, not '" + m.type + "'");
    while (r.more()) {
        std::string k = upper(r.word("module field"));
        if (k == "REV")
            m.rev = static_cast<int>(r.number("revision", 0, 255));
        else if (k == "ADDRESS")
            m.address = static_cast<int>(r.number("module address", 0, 15));
        else
            r.fail("unknown module field '" + k + "'");
    }
    if (s.modules.size() >= 16)
        r.fail("too many input modules");
    s.modules.push_back(m);
}

void readInput(Reader& r, Scenario& s)
{
    if (s.modules.empty())
        r.fail("input before the first module");
    InputModule& m = s.modules.back();
    if (static_cast<int>(m.inputs.size()) >= defaultInputCount(m.type))
        r.fail("a " + m.type + " module has " + std::to_string(defaultInputCount(m.type)) + " inputs");
    Input in;
    in.number = static_cast<int>(r.number("input number", 0, DisabledIndex));
    in.on = r.onOff("input state");
    if (r.more()) {
        r.expect("TOGGLE");
        in.toggleUs = r.number("toggle period (ms)", 1, 3'600'000) * 1000;
    }
    m.inputs.push_back(in);
}

void readFault(Reader& r, Scenario& s)
{
    std::string f = upper(r.word("fault name"));
    Faults& ft = s.faults;
    if (f == "SILENT-AFTER")
        ft.silentAfterLines = static_cast<int>(r.number("line count", 0, 1'000'000));
    else if (f == "SILENT-AT") {
        ft.silentAtCommand = r.rest();
        if (ft.silentAtCommand.empty())
            r.fail("missing command after silent-at");
    }
    else if (f == "DROP-AFTER")
        ft.dropAfterLines = static_cast<int>(r.number("line count", 0, 1'000'000));
    else if (f == "DROP-AT") {
        ft.dropAtCommand = r.rest();
        if (ft.dropAtCommand.empty())
            r.fail("missing command after drop-at");
    }
    else if (f == "CHUNKS") {
        ft.chunkSize = static_cast<int>(r.number("chunk size", 1, 100'000));
        ft.chunkGapUs = r.number("gap (ms)", 0, 60'000) * 1000;
    } else if (f == "PACE")
        ft.pace = true;
    else if (f == "LINK-DELAY")
        ft.linkCheckDelayUs = r.number("delay (ms)", 0, 600'000) * 1000;
    else if (f == "LATENCY")
        ft.latencyUs = r.number("latency (ms)", 0, 600'000) * 1000;
    else if (f == "TAIL-DELAY")
        ft.tailDelayUs = r.number("tail delay (us)", 0, 60'000'000);
    else
        r.fail("unknown fault '" + f + "'");
}

struct Directive {
    std::string_view name;  // in capitals
    void (*read)(Reader&, Scenario&);
};

constexpr Directive Directives[] = {
    {"REVATMEL", readRevAtmel}, {"INTERFACE", readInterface},     {"BAUD", readBaud},
    {"ADDRESS", readAddress},   {"TERMINATION", readTermination}, {"BODY", readBody},
    {"COIL", readCoil},         {"MODULE", readModule},           {"INPUT", readInput},
    {"FAULT", readFault},
};

// One directive line, its name first.
void readDirective(Reader& r, Scenario& s)
{
    const std::string key = upper(r.word("directive"));
    const auto d = std::find_if(std::begin(Directives), std::end(Directives),
                                [&](const Directive& x) { return x.name == key; });
    if (d == std::end(Directives))
        r.fail("unknown directive '" + key + "'");
    d->read(r, s);
    r.end();
}

// A module listed without inputs gets inputs 0..n-1, all off; one that lists
// some lists them all.
void completeInputs(Scenario& s)
{
    for (InputModule& m : s.modules)
        if (m.inputs.empty())
            for (int k = 0; k < defaultInputCount(m.type); ++k)
                m.inputs.push_back({k, false, 0});
        else if (static_cast<int>(m.inputs.size()) != defaultInputCount(m.type))
            throw ScenarioError("scenario: a " + m.type + " module lists " + std::to_string(m.inputs.size()) +
                                " inputs instead of " + std::to_string(defaultInputCount(m.type)));
}

} // namespace

Scenario parseScenario(std::string_view text)
{
    Scenario s;
    int lineNo = 0;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t e = text.find('\n', i);
        if (e == std::string_view::npos)
            e = text.size();
        const std::string_view line = text.substr(i, e - i);
        i = e + 1;
        ++lineNo;
        std::vector<std::string> w = lineWords(line);
        if (w.empty())
            continue;
        Reader r(lineNo, std::move(w));
        readDirective(r, s);
    }
    completeInputs(s);
    validate(s, lineNo);
    return s;
}

Scenario loadScenario(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ScenarioError("cannot read the scenario file " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return parseScenario(ss.str());
}

std::string formatScenario(const Scenario& s)
{
    std::ostringstream o;
    o << "revatmel " << s.revAtmel << "\n"
      << "interface " << s.interface << "\n"
      << "baud " << s.baudIndex << "\n"
      << "address " << s.slaveAddress << "\n"
      << "termination " << (s.termination ? "on" : "off") << "\n";
    for (const Body& b : s.bodies) {
        o << "body posts " << b.posts << " rev " << b.rev << " number " << b.number << "\n";
        for (const Coil& c : b.coils) {
            o << "coil " << c.position << " ";
            if (c.index == DisabledIndex)
                o << "disabled";
            else
                o << c.index;
            o << " " << c.diagnosis;
            if (c.relax)
                o << " relax";
            if (c.energised)
                o << " on";
            if (c.strokes)
                o << " strokes " << c.strokes / 1000;
            o << "\n";
        }
    }
    for (const InputModule& m : s.modules) {
        o << "module " << m.type << " rev " << m.rev << " address " << m.address << "\n";
        for (const Input& in : m.inputs) {
            o << "input " << in.number << (in.on ? " on" : " off");
            if (in.toggleUs)
                o << " toggle " << in.toggleUs / 1000;
            o << "\n";
        }
    }
    const Faults& f = s.faults;
    if (f.silentAfterLines >= 0)
        o << "fault silent-after " << f.silentAfterLines << "\n";
    if (!f.silentAtCommand.empty())
        o << "fault silent-at " << f.silentAtCommand << "\n";
    if (f.dropAfterLines >= 0)
        o << "fault drop-after " << f.dropAfterLines << "\n";
    if (!f.dropAtCommand.empty())
        o << "fault drop-at " << f.dropAtCommand << "\n";
    if (f.chunkSize > 0)
        o << "fault chunks " << f.chunkSize << " " << f.chunkGapUs / 1000 << "\n";
    if (f.pace)
        o << "fault pace\n";
    if (f.linkCheckDelayUs)
        o << "fault link-delay " << f.linkCheckDelayUs / 1000 << "\n";
    if (f.latencyUs)
        o << "fault latency " << f.latencyUs / 1000 << "\n";
    if (f.tailDelayUs != Faults{}.tailDelayUs)
        o << "fault tail-delay " << f.tailDelayUs << "\n";
    return o.str();
}

Scenario defaultScenario()
{
    Scenario s;
    s.revAtmel = 47;
    s.interface = 'P';
    s.baudIndex = 0;
    s.slaveAddress = 5;
    s.termination = false;

    // Head: 8 stations, coils at positions 1..14 (15 and 16 have none).
    Body head{0, 8, 47, {}};
    for (int pos = 1; pos <= 14; ++pos) {
        Coil c;
        c.position = pos;
        c.index = pos - 1;
        c.strokes = 1000L * (pos * 37 % 200);
        head.coils.push_back(c);
    }
    head.coils[0].relax = true;           // index 0
    head.coils[1].energised = true;       // index 1, green
    head.coils[2].strokes = 125'000;      // index 2
    head.coils[3].diagnosis = 'C';        // index 3, short circuit
    head.coils[4].relax = true;           // index 4
    head.coils[5].index = DisabledIndex;  // position 6, index 5 free
    head.coils[6].diagnosis = 'I';        // index 6, interrupted
    head.coils[9].relax = true;           // index 9
    s.bodies.push_back(head);

    // One expansion of 4 stations, coils at positions 1..7, indexes 14..20.
    Body exp{1, 4, 46, {}};
    for (int pos = 1; pos <= 7; ++pos) {
        Coil c;
        c.position = pos;
        c.index = 13 + pos;
        c.strokes = 1000L * (pos * 11);
        exp.coils.push_back(c);
    }
    exp.coils[2].relax = true;  // index 16
    s.bodies.push_back(exp);

    InputModule m16{"16IN", 23, 0, true, {}};
    for (int k = 0; k < 16; ++k)
        m16.inputs.push_back({k, k == 0 || k == 5 || k == 9, 0});
    m16.inputs[2].number = DisabledIndex;  // input 3
    m16.inputs[3].number = DisabledIndex;  // input 4
    m16.inputs[2].on = m16.inputs[3].on = false;
    s.modules.push_back(m16);

    InputModule m8{"8IN", 22, 1, true, {}};
    for (int k = 0; k < 8; ++k)
        m8.inputs.push_back({k, k == 1 || k == 6, 0});
    s.modules.push_back(m8);
    return s;
}

Scenario demoScenario()
{
    Scenario s = defaultScenario();
    s.modules[0].inputs[1].toggleUs = 1'500'000;
    s.modules[0].inputs[6].toggleUs = 2'300'000;
    s.modules[0].inputs[12].toggleUs = 3'700'000;
    s.modules[1].inputs[3].toggleUs = 3'100'000;
    s.modules[1].inputs[6].toggleUs = 5'000'000;
    return s;
}

} // namespace ondrix::sim
