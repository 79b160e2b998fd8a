#include "sim/SimulatedIsland.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ondrix::sim {

namespace {

// Dialogue commands and their prompts, in order. SET RELAX repeats its one
// prompt until the line "1000".
struct DialogueShape {
    std::vector<const char*> prompts;
    bool list = false;
};

const std::map<std::string, DialogueShape>& dialogues()
{
    static const std::map<std::string, DialogueShape> d = {
        {"CLOSE VALVOLA", {{"INDICE:"}}},
        {"OPEN VALVOLA", {{"INDICE:"}}},
        {"DISABLE VALVOLA", {{"INDICE:"}}},
        {"STATO VALVOLA", {{"INDICE:"}}},
        {"ENABLE VALVOLA", {{"ESP:", "POS:", "INDICE:"}}},
        {"LEGGI CONTACOLPI", {{"ESP:", "POS:"}}},
        {"ZERO CONTACOLPI", {{"ESP:", "POS:"}}},
        {"SET RELAX", {{"INDICE:"}, true}},
        {"SET SLAVE ADDRESS", {{"NUM:"}}},
        {"SET BAUD RATE", {{"NUM:"}}},
        {"ENABLE DIGITAL", {{"OLD ADDR", "NEW ADDR"}}},
    };
    return d;
}

const std::vector<std::string>& simpleCommands()
{
    static const std::vector<std::string> c = {
        "ENTER SV",     "EXIT SV",           "GET SLAVE ADDRESS", "GET VALVOLE PRESENTI",
        "GET DIAGNOSI", "GET RELAX",         "GET REV FW",        "INTERFACCIA",
        "GET BAUD RATE", "GET DIGITAL INPUT", "GET CONF",         "STATO TERMINAZIONE",
        "OPEN ALL",     "CLOSE ALL",         "CLEAR",             "TERMINAZIONE ON",
        "TERMINAZIONE OFF", "DISABLE DIGITAL",
    };
    return c;
}

bool isCommand(const std::string& l)
{
    return dialogues().count(l) || std::find(simpleCommands().begin(), simpleCommands().end(), l) !=
                                       simpleCommands().end();
}

// A whole number with blanks around it (" 2" for the baud rate).
std::optional<long> wholeNumber(std::string_view t)
{
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    if (t.empty())
        return std::nullopt;
    long v = 0;
    const char* b = t.data();
    if (*b == '+')
        ++b;
    auto [p, ec] = std::from_chars(b, t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size())
        return std::nullopt;
    return v;
}

std::string fmt(const char* f, long a)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, f, a);
    return buf;
}

const char* diagnosisWord(char letter)
{
    switch (letter) {
    case 'P':
        return "PRESENTE";
    case 'C':
        return "CORTOCIRCUITO";
    case 'I':
        return "INTERROTTA";
    default:
        return "ASSENTE";
    }
}

const char* interfaceName(char i)
{
    switch (i) {
    case 'C':
        return "CANOPEN";
    case 'D':
        return "DEVICENET";
    default:
        return "PROFIBUS";
    }
}

} // namespace

SimulatedIsland::SimulatedIsland(Scenario s) : s_(std::move(s)) {}

// --- The line -----------------------------------------------------------

void SimulatedIsland::receive(std::string_view bytes, std::int64_t nowUs)
{
    for (char ch : bytes) {
        if (dropped_)
            return;
        if (ch != '\n') {
            partial_.push_back(ch);
            continue;
        }
        bool crlf = !partial_.empty() && partial_.back() == '\r';
        if (crlf)
            partial_.pop_back();
        std::string l = std::move(partial_);
        partial_.clear();
        line(l, crlf, nowUs);
    }
}

std::size_t SimulatedIsland::readable(std::int64_t nowUs) const
{
    std::size_t n = 0;
    for (const Piece& p : out_) {
        if (p.atUs > nowUs)
            break;
        n += p.text.size();
    }
    return n;
}

std::string SimulatedIsland::take(std::int64_t nowUs)
{
    std::string s;
    while (!out_.empty() && out_.front().atUs <= nowUs) {
        const bool stop = out_.front().endsAwaited;
        s += out_.front().text;
        out_.pop_front();
        if (stop)
            break;
    }
    taken_ += static_cast<std::int64_t>(s.size());
    return s;
}

std::optional<std::int64_t> SimulatedIsland::nextArrivalUs() const
{
    if (out_.empty())
        return std::nullopt;
    return out_.front().atUs;
}

void SimulatedIsland::discardOutput()
{
    out_.clear();
    taken_ = queued_;
    partial_.clear();
}

void SimulatedIsland::dropLink()
{
    dropped_ = true;
    out_.clear();
    taken_ = queued_;
}

void SimulatedIsland::send(const std::string& reply, std::int64_t nowUs, std::int64_t extraDelayUs)
{
    const Faults& f = s_.faults;
    const std::int64_t start = std::max(nowUs + f.latencyUs + extraDelayUs, lastAtUs_);
    std::size_t bodyLen = reply.size();
    if (bodyLen > 2 && reply.compare(bodyLen - 2, 2, "\r\n") == 0)
        bodyLen -= 2;

    auto push = [&](std::int64_t at, std::string text, bool endsAwaited) {
        if (!out_.empty() && out_.back().atUs == at && !out_.back().endsAwaited)
            out_.back().text += text;
        else
            out_.push_back({at, std::move(text), false});
        out_.back().endsAwaited = endsAwaited;
        lastAtUs_ = std::max(lastAtUs_, at);
    };

    std::int64_t bodyEnd = start;
    if (f.pace) {
        // One character every 1/960 s; with chunks, a gap before each further chunk.
        const double charUs = 1e6 / CharsPerSecond;
        std::int64_t gaps = 0;
        for (std::size_t k = 0; k < reply.size(); ++k) {
            if (f.chunkSize > 0 && k > 0 && k % static_cast<std::size_t>(f.chunkSize) == 0)
                gaps += f.chunkGapUs;
            std::int64_t at = start + gaps + static_cast<std::int64_t>(std::llround((k + 1) * charUs));
            if (k >= bodyLen)
                at = std::max(at, bodyEnd + f.tailDelayUs);
            else
                bodyEnd = at;
            push(at, std::string(1, reply[k]), k + 1 == bodyLen);
        }
    } else {
        std::int64_t at = start;
        const std::size_t chunk = f.chunkSize > 0 ? static_cast<std::size_t>(f.chunkSize) : bodyLen;
        for (std::size_t k = 0; k < bodyLen; k += chunk) {
            if (k > 0)
                at += f.chunkGapUs;
            const std::size_t n = std::min(chunk, bodyLen - k);
            push(at, reply.substr(k, n), k + n == bodyLen);
        }
        if (bodyLen < reply.size())
            push(at + f.tailDelayUs, reply.substr(bodyLen), false);
    }
    queued_ += static_cast<std::int64_t>(reply.size());
    awaitedEnd_ = queued_ - static_cast<std::int64_t>(reply.size() - bodyLen);
}

// --- Lines and dialogues -----------------------------------------------

std::string SimulatedIsland::pendingDialogue() const { return dialogue_ ? dialogue_->command : std::string(); }

void SimulatedIsland::line(const std::string& l, bool crlf, std::int64_t nowUs)
{
    ++lineCount_;
    lines_.push_back(l);
    const Faults& f = s_.faults;

    if ((f.dropAfterLines >= 0 && lineCount_ > f.dropAfterLines) ||
        (!f.dropAtCommand.empty() && l == f.dropAtCommand)) {
        dropLink();
        return;
    }
    if ((f.silentAfterLines >= 0 && lineCount_ > f.silentAfterLines) ||
        (!f.silentAtCommand.empty() && l == f.silentAtCommand))
        silent_ = true;

    if (!crlf)
        error("line '" + l + "' not ended by CR LF");
    if (taken_ < awaitedEnd_)
        error("line '" + l + "' sent before the reply to '" + lastCommand_ + "' had been read");
    if (silent_)
        return;

    if (dialogue_) {
        if (!wholeNumber(l) && isCommand(l)) {
            error("dialogue of '" + dialogue_->command + "' interrupted by '" + l + "'");
            dialogue_.reset();
        } else {
            lastCommand_ = dialogue_->command + " / " + l;
            argument(l, nowUs);
            return;
        }
    }
    lastCommand_ = l;
    command(l, nowUs);
}

bool SimulatedIsland::supported(const std::string& cmd) const
{
    const int head = s_.headRev();
    const int main = s_.revAtmel;
    if (cmd == "STATO VALVOLA")
        return head >= 35 && main >= 34;
    if (cmd == "INTERFACCIA")
        return head >= 40 && main >= 40;
    if (cmd == "GET DIGITAL INPUT")
        return head >= 39 && main >= 40;
    if (cmd == "GET CONF")
        return main >= 46;
    if (cmd == "STATO TERMINAZIONE")
        return main >= 34;
    return true;
}

void SimulatedIsland::command(const std::string& l, std::int64_t nowUs)
{
    if (l.empty()) {
        send("ERROR\r\n", nowUs, s_.faults.linkCheckDelayUs);
        return;
    }
    if (!isCommand(l)) {
        error("unknown command '" + l + "'");
        send("ERROR\r\n", nowUs);
        return;
    }
    if (!serviceMode_ && l != "ENTER SV" && l != "EXIT SV")
        error("'" + l + "' outside service mode");
    if (!supported(l)) {
        reject(l + ": not offered by this firmware");
        send("ERROR\r\n", nowUs);
        return;
    }
    if (auto d = dialogues().find(l); d != dialogues().end()) {
        dialogue_ = Dialogue{l, {}};
        send(std::string(d->second.prompts.front()) + "\r\n", nowUs);
        return;
    }

    std::string reply;
    if (l == "ENTER SV")
        serviceMode_ = true;
    else if (l == "EXIT SV")
        serviceMode_ = false;
    else if (l == "CLEAR") {
        ++clears_;
        for (Body& b : s_.bodies)
            for (Coil& c : b.coils)
                c.energised = false;
        serviceMode_ = false;
    } else if (l == "OPEN ALL" || l == "CLOSE ALL") {
        for (Body& b : s_.bodies)
            for (Coil& c : b.coils)
                if (c.index != DisabledIndex && c.diagnosis != 'A')
                    c.energised = l == "CLOSE ALL";
    } else if (l == "TERMINAZIONE ON" || l == "TERMINAZIONE OFF")
        s_.termination = l == "TERMINAZIONE ON";
    else if (l == "DISABLE DIGITAL") {
        for (InputModule& m : s_.modules)
            m.enabled = false;
    } else
        reply = replyTo(l, nowUs);

    if (auto o = overrides_.find(l); o != overrides_.end())
        reply = o->second;
    else
        reply += "OK\r\n";
    send(reply, nowUs);
}

std::string SimulatedIsland::replyTo(const std::string& l, std::int64_t nowUs)
{
    if (l == "GET SLAVE ADDRESS")
        return "SLAVE ADDRESS: " + std::to_string(s_.slaveAddress) + "\r\n";
    if (l == "GET VALVOLE PRESENTI")
        return replyValvolePresenti();
    if (l == "GET DIAGNOSI")
        return replyDiagnosi();
    if (l == "GET RELAX")
        return replyRelax();
    if (l == "GET REV FW")
        return replyRevFw();
    if (l == "INTERFACCIA")
        return std::string(interfaceName(s_.interface)) + "\r\n";
    if (l == "GET BAUD RATE")
        return "BAUD RATE: " + std::to_string(s_.baudIndex % 10) + " \r\n";
    if (l == "GET DIGITAL INPUT")
        return replyDigitalInput(nowUs);
    if (l == "GET CONF")
        return replyConf();
    if (l == "STATO TERMINAZIONE")
        return s_.termination ? "ON\r\n" : "OFF\r\n";
    return {};
}

void SimulatedIsland::argument(const std::string& l, std::int64_t nowUs)
{
    const DialogueShape& shape = dialogues().at(dialogue_->command);
    std::optional<long> v = wholeNumber(l);
    if (!v) {
        error("argument '" + l + "' of '" + dialogue_->command + "' is not a number");
        dialogue_.reset();
        send("ERROR\r\n", nowUs);
        return;
    }
    if (shape.list) {
        if (*v == 1000) {
            finish(nowUs);
            return;
        }
        dialogue_->args.push_back(*v);
        send(std::string(shape.prompts.front()) + "\r\n", nowUs);
        return;
    }
    dialogue_->args.push_back(*v);
    if (dialogue_->args.size() < shape.prompts.size()) {
        send(std::string(shape.prompts[dialogue_->args.size()]) + "\r\n", nowUs);
        return;
    }
    finish(nowUs);
}

void SimulatedIsland::finish(std::int64_t nowUs)
{
    Dialogue d = std::move(*dialogue_);
    dialogue_.reset();
    std::string reply = carryOut(d.command, d.args);
    if (auto o = overrides_.find(d.command); o != overrides_.end())
        reply = o->second;
    else
        reply += "OK\r\n";
    send(reply, nowUs);
}

std::string SimulatedIsland::carryOut(const std::string& cmd, const std::vector<long>& a)
{
    if (cmd == "CLOSE VALVOLA" || cmd == "OPEN VALVOLA" || cmd == "STATO VALVOLA" || cmd == "DISABLE VALVOLA")
        return valveCommand(cmd, a[0]);
    if (cmd == "LEGGI CONTACOLPI" || cmd == "ZERO CONTACOLPI")
        return strokeCounter(cmd, a);
    if (cmd == "ENABLE VALVOLA")
        enableValve(cmd, a);
    else if (cmd == "SET RELAX")
        setRelax(cmd, a);
    else if (cmd == "SET SLAVE ADDRESS") {
        if (a[0] < 0 || a[0] > 127)
            reject(cmd + ": address " + std::to_string(a[0]) + " outside 0..127");
        else
            s_.slaveAddress = static_cast<int>(a[0]);
    } else if (cmd == "SET BAUD RATE") {
        if (a[0] < 0 || a[0] > 7)
            reject(cmd + ": index " + std::to_string(a[0]) + " outside 0..7");
        else
            s_.baudIndex = static_cast<int>(a[0]);
    } else if (cmd == "ENABLE DIGITAL")
        enableDigital(cmd, a);
    return {};
}

// A coil named by its fieldbus index: energised, released, asked for its state
// or disabled.
std::string SimulatedIsland::valveCommand(const std::string& cmd, long index)
{
    Coil* c = coilByIndex(static_cast<int>(index));
    if (cmd == "STATO VALVOLA")
        return c && c->energised ? "ON\r\n" : "OFF\r\n";
    if (cmd == "DISABLE VALVOLA") {
        if (!c)
            reject(cmd + " " + std::to_string(index) + ": no coil with this index");
        else {
            c->index = DisabledIndex;
            c->energised = false;
            c->relax = false;
        }
    } else if (!c || c->diagnosis == 'A')
        reject(cmd + " " + std::to_string(index) + ": no coil with this index");
    else {
        if (cmd == "CLOSE VALVOLA" && !c->energised)
            ++c->strokes;
        c->energised = cmd == "CLOSE VALVOLA";
    }
    return {};
}

// A coil given a fieldbus index that no other coil has.
void SimulatedIsland::enableValve(const std::string& cmd, const std::vector<long>& a)
{
    Coil* c = placedCoil(cmd, a[0], a[1]);
    if (!c)
        return;
    const long idx = a[2];
    Coil* other = (idx >= 0 && idx <= 31) ? coilByIndex(static_cast<int>(idx)) : nullptr;
    if (idx < 0 || idx > 31)
        reject(cmd + ": index " + std::to_string(idx) + " outside 0..31");
    else if (other && other != c)
        reject(cmd + ": index " + std::to_string(idx) + " already in use");
    else {
        c->index = static_cast<int>(idx);
        c->relax = false;
    }
}

// A coil's stroke counter read (in thousands, five digits) or cleared.
std::string SimulatedIsland::strokeCounter(const std::string& cmd, const std::vector<long>& a)
{
    Coil* c = placedCoil(cmd, a[0], a[1]);
    if (cmd == "LEGGI CONTACOLPI")
        return fmt("%05ld", std::min<long>(c ? static_cast<long>(c->strokes / 1000) : 0, 99999)) + "\r\n";
    if (c)
        c->strokes = 0;
    return {};
}

// Relax on for exactly the coils listed.
void SimulatedIsland::setRelax(const std::string& cmd, const std::vector<long>& indexes)
{
    for (long i : indexes)
        if (!coilByIndex(static_cast<int>(i)))
            reject(cmd + ": no coil with index " + std::to_string(i));
    for (Body& b : s_.bodies)
        for (Coil& c : b.coils)
            c.relax = c.index != DisabledIndex &&
                      std::find(indexes.begin(), indexes.end(), c.index) != indexes.end();
}

// A disabled input module moved from its old address to a new one, enabled again.
void SimulatedIsland::enableDigital(const std::string& cmd, const std::vector<long>& a)
{
    auto it = std::find_if(s_.modules.begin(), s_.modules.end(),
                           [&](const InputModule& m) { return !m.enabled && m.address == a[0]; });
    if (it == s_.modules.end())
        reject(cmd + ": no disabled module at address " + std::to_string(a[0]));
    else if (a[1] < 0 || a[1] > 15)
        reject(cmd + ": address " + std::to_string(a[1]) + " outside 0..15");
    else {
        it->address = static_cast<int>(a[1]);
        it->enabled = true;
    }
}

Coil* SimulatedIsland::placedCoil(const std::string& cmd, long bodyNumber, long position)
{
    Coil* c = coilAt(static_cast<int>(bodyNumber), static_cast<int>(position));
    if (!c)
        reject(cmd + " " + std::to_string(bodyNumber) + "/" + std::to_string(position) +
               ": no coil at this place");
    return c;
}

Coil* SimulatedIsland::coilByIndex(int index)
{
    if (index < 0 || index > 31)
        return nullptr;
    for (Body& b : s_.bodies)
        for (Coil& c : b.coils)
            if (c.index == index)
                return &c;
    return nullptr;
}

Coil* SimulatedIsland::coilAt(int bodyNumber, int position)
{
    for (Body& b : s_.bodies)
        if (b.number == bodyNumber)
            for (Coil& c : b.coils)
                if (c.position == position)
                    return &c;
    return nullptr;
}

bool SimulatedIsland::inputOn(std::size_t m, std::size_t k, std::int64_t nowUs) const
{
    const Input& in = s_.modules.at(m).inputs.at(k);
    if (in.toggleUs <= 0)
        return in.on;
    const std::int64_t flips = std::max<std::int64_t>(nowUs, 0) / in.toggleUs;
    return in.on != (flips % 2 == 1);
}

// --- Replies ------------------------------------------------------------

std::string SimulatedIsland::replyValvolePresenti() const
{
    std::string r = "ESP\tBOB\tPOSTI\tIND\tPOS\r\n";
    bool first = true;
    for (const Body& b : s_.bodies) {
        if (!first)
            r += "\n";
        first = false;
        r += std::to_string(b.number) + "\t" + std::to_string(b.coils.size()) + "\t" + std::to_string(b.posts) + "\t";
        if (b.coils.empty()) {
            r += "255\t0\r";
            continue;
        }
        for (std::size_t j = 0; j < b.coils.size(); ++j) {
            if (j > 0)
                r += "\n  ";
            r += std::to_string(b.coils[j].index) + "\t" + std::to_string(b.coils[j].position) + "\r";
        }
    }
    return r;
}

std::string SimulatedIsland::replyDiagnosi() const
{
    std::string r = "STATO BOBINE\r\n";
    for (int i = 0; i < 32; ++i) {
        char letter = 'A';
        for (const Body& b : s_.bodies)
            for (const Coil& c : b.coils)
                if (c.index == i)
                    letter = c.diagnosis;
        r += std::to_string(i) + "\t" + diagnosisWord(letter) + "\r\n";
    }
    return r;
}

std::string SimulatedIsland::replyRelax() const
{
    std::string r = "RELAX BOBINE\r\n";
    for (int i = 0; i < 32; ++i) {
        bool relax = false;
        for (const Body& b : s_.bodies)
            for (const Coil& c : b.coils)
                if (c.index == i)
                    relax = c.relax;
        r += std::to_string(i) + "\t" + (relax ? "CLOSE" : "OPEN") + " \r\n";
    }
    return r;
}

std::string SimulatedIsland::replyRevFw() const
{
    std::string r = "FIRMWARE REV:\r\n";
    r += "ATMEL\t" + std::to_string(s_.revAtmel) + "\tCPU\r\n";
    for (const Body& b : s_.bodies)
        r += "PIC " + std::to_string(b.number) + "\t" + std::to_string(b.rev) + "\tESP\r\n";
    for (std::size_t m = 0; m < s_.modules.size(); ++m)
        r += "DIG " + std::to_string(m + 1) + "\t" + std::to_string(s_.modules[m].rev) + " A\t" + s_.modules[m].type +
             "\r\n";
    return r;
}

std::string SimulatedIsland::replyDigitalInput(std::int64_t nowUs) const
{
    std::string r = "INGRESSI DIGITALI: MODULI\r\n";
    for (std::size_t m = 0; m < s_.modules.size(); ++m) {
        const InputModule& mod = s_.modules[m];
        if (m > 0)
            r += "\n";
        r += "MOD " + std::to_string(m + 1) + "\t" + mod.type + "\t";
        for (std::size_t k = 0; k < mod.inputs.size(); ++k) {
            if (k > 0)
                r += "\n ";
            r += std::to_string(mod.inputs[k].number) + "\t" + fmt("IN%02ld", static_cast<long>(k + 1)) + "\t" +
                 (inputOn(m, k, nowUs) ? "ON" : "OFF") + "\r";
        }
    }
    return r;
}

std::string SimulatedIsland::replyConf() const
{
    std::string r = "CONFIGURAZIONE\r\n";
    r += "SLAVE ADDRESS: " + std::to_string(s_.slaveAddress) + "\r\n";
    r += std::string("INTERFACCIA: ") + interfaceName(s_.interface) + "\r\n";
    r += "BAUD RATE: " + std::to_string(s_.baudIndex) + "\r\n";
    r += std::string("TERMINAZIONE: ") + (s_.termination ? "ON" : "OFF") + "\r\n";
    for (const Body& b : s_.bodies) {
        r += "ESP " + std::to_string(b.number) + " POSTI " + std::to_string(b.posts) + "\t" +
             fmt("%2ld:", static_cast<long>(b.coils.size() % 100));
        for (const Coil& c : b.coils)
            r += fmt("%3ld:", c.position) + "\t" + fmt("%3ld", c.index % 1000);
        r += "\r\n";
    }
    r += fmt("NR.DIG IN:%2ld", static_cast<long>(s_.modules.size() % 100)) + "\r\n";
    for (std::size_t m = 0; m < s_.modules.size(); ++m) {
        const InputModule& mod = s_.modules[m];
        r += "MOD " + std::to_string(m + 1) + " " + mod.type + " IND: " + std::to_string(mod.address) + " " +
             (mod.enabled ? "ON" : "OFF") + "\r\n";
    }
    return r;
}

} // namespace ondrix::sim
