#include "channel/Channel.h"

#include "channel/Ricerca.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

namespace ondrix {

namespace {

// One character on the line: 9600 baud, 8 data bits, no parity, 1 stop bit
// make ten bits.
constexpr std::int64_t CharacterUs = 1'042;
// A reply is read as each character comes, so that its end is noticed at
// once, but for one case: a command asked before (the input poll asks the
// same at every tick) most likely gets as long a reply as the last time. Its
// reply gathers in the port unseen up to this many characters before that
// length, and is then read character by character again.
constexpr std::size_t NearEndCharacters = 8;
// Pausing and resuming the port costs the program about what four
// characters woken for one by one do: a shorter gather is not worth it.
constexpr std::size_t ShortestGather = 4;

// How long the rest of a reply may gather in the port before it is read; 0:
// wake at its next character. read: the characters of the reply so far;
// lastLength: the length of the last reply to the same command, if any.
std::int64_t gatherUs(std::size_t read, std::optional<std::size_t> lastLength)
{
    if (!lastLength || read + NearEndCharacters + ShortestGather > *lastLength)
        return 0;
    return static_cast<std::int64_t>(*lastLength - NearEndCharacters - read) * CharacterUs;
}

// Elapsed seconds in single precision, as the limits are compared.
float secondsSince(std::int64_t startUs, std::int64_t nowUs)
{
    return static_cast<float>(static_cast<double>(nowUs - startUs) / 1e6);
}

// Guards against a second exchange being started inside the wait of a first
// one: that would interleave two dialogues on the line.
struct ExchangeFlag {
    explicit ExchangeFlag(bool& f) : f_(f)
    {
        if (f_)
            throw std::logic_error("second exchange started inside a running one");
        f_ = true;
    }
    ~ExchangeFlag() { f_ = false; }
    bool& f_;
};

} // namespace

Channel::Channel(SerialPort& port, Host& host, const ParametriCanale& settings)
    : port_(port), host_(host), settings_(settings)
{
}

Channel::Dialogue::~Dialogue()
{
    if (ch_)
        ch_->dialogue_ = false;
}

std::optional<Channel::Dialogue> Channel::tryBegin()
{
    if (busy())
        return std::nullopt;
    dialogue_ = true;
    return Dialogue(this);
}

void Channel::waitStep(std::int64_t deadlineUs)
{
    // A port that knows when its next data come (the simulator) shortens the
    // wait; a time already past would only make the wait return at once.
    if (auto next = port_.nextArrivalUs(); next && *next > host_.nowUs())
        deadlineUs = std::min(deadlineUs, *next);
    host_.waitForEvent(deadlineUs);
}

void Channel::drain()
{
    // Events are processed at least once, then until the output queue is empty.
    // A line that has not taken the command within the reply limit is dead (a
    // wedged adapter): waiting on would hang the program with the dialogue held.
    const std::int64_t start = host_.nowUs();
    host_.processEvents();
    while (port_.outputCount() != 0) {
        const std::int64_t now = host_.nowUs();
        if (expired(start, now))
            throw PortError("the serial port does not send");
        waitStep(std::min(now + OutputStepUs, start + ReplyLimitUs + 1));
    }
}

bool Channel::collect(std::string& buf, const std::string& command, const std::string& expected)
{
    const std::int64_t t0 = host_.nowUs();
    // What the last exchange left behind is still waiting, as in the port.
    bool leftOver = !carryOver_.empty();
    std::optional<std::size_t> lastLength;
    if (const auto known = replyLengths_.find(command); known != replyLengths_.end())
        lastLength = known->second;
    for (;;) {
        if (leftOver || port_.inputCount() != 0) {
            buf += std::exchange(carryOver_, std::string());
            if (!leftOver || port_.inputCount() != 0)
                buf += port_.readAll();
            leftOver = false;
            if (const std::size_t p = buf.find(expected); p != std::string::npos) {
                // The reply ends with the expected text, however its bytes
                // were read: the readers cut it from its end. What came after
                // it (the line end of the island's last line) begins the next
                // reply, which drops it.
                carryOver_ = buf.substr(p + expected.size());
                buf.resize(p + expected.size());
                replyLengths_[command] = buf.size();
                return true;
            }
            // The line end left over from the last reply is no sign of a
            // reply on its way.
            if (buf.find_first_not_of("\r\n") == std::string::npos)
                continue;
            if (const std::int64_t g = gatherUs(buf.size(), lastLength); g > 0)
                gather(std::min(host_.nowUs() + g, t0 + ReplyLimitUs));
            continue;
        }
        const std::int64_t now = host_.nowUs();
        if (expired(t0, now))
            return false;
        // Wake on port data or window events, at the latest just past the limit.
        waitStep(std::max(now + 1, t0 + ReplyLimitUs + 1));
    }
}

bool Channel::gather(std::int64_t untilUs)
{
    // The rest of a reply on its way gathers in the port while the program
    // sleeps; window events are still handled as they come. Within a
    // character of the end is near enough.
    if (!port_.pauseArrivals())
        return false;
    while (untilUs - host_.nowUs() >= CharacterUs)
        host_.waitForEvent(untilUs);
    port_.resumeArrivals();
    host_.processEvents();
    return true;
}

bool Channel::expired(std::int64_t t0Us, std::int64_t nowUs)
{
    return secondsSince(t0Us, nowUs) > static_cast<float>(static_cast<double>(ReplyLimitUs) / 1e6);
}

void Channel::settle(Host& host, float seconds)
{
    const std::int64_t t1 = host.nowUs();
    const float pause = std::isnan(seconds) ? 0.0f : seconds;
    host.processEvents();
    // Wake-up target only; the float comparison decides. Bounded so that an
    // absurd pause cannot overflow the microsecond arithmetic.
    const double pauseUs = std::clamp(static_cast<double>(pause) * 1e6, 0.0, 1e15);
    const std::int64_t endUs = t1 + static_cast<std::int64_t>(pauseUs);
    while (!(secondsSince(t1, host.nowUs()) > pause))
        host.waitForEvent(std::max(endUs, host.nowUs()) + 1);
}

std::string Channel::exchange(const std::string& command, const std::string& expected)
{
    if (ended_)
        host_.endProgram(StatoTimeout);
    ExchangeFlag flag(inExchange_);
    ++exchanges_;
    std::string buf;
    port_.write(command + "\r\n");
    drain();
    if (!collect(buf, command, expected))
        timeout();
    std::size_t lead = 0;
    while (lead < buf.size() && (buf[lead] == '\r' || buf[lead] == '\n'))
        ++lead;
    buf.erase(0, lead);
    settle(host_, settings_.Ritardo());
    return buf;
}

std::string Channel::InviaComando(const std::string& command, const std::string& expected)
{
    std::string r;
    try {
        r = exchange(command, expected);
    } catch (const PortError&) {
        timeout();
    }
    if (pendingEnd_)
        std::exchange(pendingEnd_, {})();
    return r;
}

bool Channel::ProvaCollegamento()
{
    if (ended_)
        host_.endProgram(StatoTimeout);
    bool answered = false;
    {
        ExchangeFlag flag(inExchange_);
        ++exchanges_;
        carryOver_.clear();  // a port just opened: nothing of another line's
        const auto outcomes = provaCollegamenti(host_, {&port_}, settings_.Ritardo());
        answered = outcomes.front() == EsitoPorta::Collegamento::Risponde;
    }
    if (pendingEnd_)
        std::exchange(pendingEnd_, {})();
    return answered;
}

void Channel::portLost()
{
    if (ended_)
        return;
    timeout();
}

void Channel::requestEnd(std::function<void()> end)
{
    silentEnd_ = true;
    if (inExchange_) {
        pendingEnd_ = std::move(end);
        return;
    }
    end();
}

void Channel::timeout() { end(StatoTimeout, silentEnd_ ? std::string() : settings_.messaggioTimeout()); }

void Channel::end(int status, const std::string& message)
{
    // The channel stays busy while the message is up (its modal loop runs
    // timer ticks and the close box) and afterwards: nothing more is written.
    ended_ = true;
    try {
        if (port_.isOpen())
            port_.close();
    } catch (const PortError&) {
    }
    if (!message.empty())
        host_.messageBox(message, settings_.titolo(), MessageButtons::Ok);
    host_.endProgram(status);
}

} // namespace ondrix
