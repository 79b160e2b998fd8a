#include "channel/Channel.h"

#include "channel/Ricerca.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace ondrix {

namespace {

constexpr std::int64_t TimeoutUs = 4'000'000;
// While a reply comes a character at a time (9600 baud: one a millisecond),
// it is looked at this often, not at every character.
constexpr std::int64_t RaccoltaUs = 30'000;

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

Channel::Channel(SerialPort& port, Host& host, const ParametriCanale& parametri)
    : port_(port), host_(host), parametri_(parametri)
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
        if (scaduto(start, now))
            throw PortError("the serial port does not send");
        waitStep(std::min(now + 50'000, start + TimeoutUs + 1));
    }
}

bool Channel::collect(std::string& buf, const std::string& atteso)
{
    const std::int64_t t0 = host_.nowUs();
    // What the last exchange left behind is still waiting, as in the port.
    bool attesa = !riporto_.empty();
    bool raccolta = false;
    for (;;) {
        if (attesa || port_.inputCount() != 0) {
            buf += std::exchange(riporto_, std::string());
            if (!attesa || port_.inputCount() != 0)
                buf += port_.readAll();
            attesa = false;
            if (const std::size_t p = buf.find(atteso); p != std::string::npos) {
                // Read late, after gathering: what came after the expected
                // text would have been read with the next reply.
                if (raccolta) {
                    riporto_ = buf.substr(p + atteso.size());
                    buf.resize(p + atteso.size());
                }
                return true;
            }
            // The line end left over from the last reply is no sign of a
            // reply on its way.
            if (buf.find_first_not_of("\r\n") != std::string::npos)
                raccolta = raccogli(t0 + TimeoutUs) || raccolta;
            continue;
        }
        const std::int64_t now = host_.nowUs();
        if (scaduto(t0, now))
            return false;
        // Wake on port data or window events, at the latest just past the limit.
        waitStep(std::max(now + 1, t0 + TimeoutUs + 1));
    }
}

bool Channel::raccogli(std::int64_t limiteUs)
{
    // The rest of a reply on its way gathers in the port while the program
    // sleeps; window events are still handled as they come.
    if (!port_.sospendiNotifiche())
        return false;
    const std::int64_t fine = std::min(host_.nowUs() + RaccoltaUs, limiteUs);
    while (host_.nowUs() < fine)
        host_.waitForEvent(fine);
    port_.riprendiNotifiche();
    host_.processEvents();
    return true;
}

bool Channel::scaduto(std::int64_t t0Us, std::int64_t nowUs)
{
    return secondsSince(t0Us, nowUs) > static_cast<float>(TimeoutS);
}

void Channel::pausa(Host& host, float ritardo)
{
    const std::int64_t t1 = host.nowUs();
    const float pause = std::isnan(ritardo) ? 0.0f : ritardo;
    host.processEvents();
    // Wake-up target only; the float comparison decides. Bounded so that an
    // absurd pause cannot overflow the microsecond arithmetic.
    const double pauseUs = std::clamp(static_cast<double>(pause) * 1e6, 0.0, 1e15);
    const std::int64_t endUs = t1 + static_cast<std::int64_t>(pauseUs);
    while (!(secondsSince(t1, host.nowUs()) > pause))
        host.waitForEvent(std::max(endUs, host.nowUs()) + 1);
}

std::string Channel::exchange(const std::string& comando, const std::string& atteso)
{
    if (ended_)
        host_.endProgram(StatoTimeout);
    ExchangeFlag flag(inExchange_);
    ++exchanges_;
    std::string buf;
    port_.write(comando + "\r\n");
    drain();
    if (!collect(buf, atteso))
        timeout();
    std::size_t lead = 0;
    while (lead < buf.size() && (buf[lead] == '\r' || buf[lead] == '\n'))
        ++lead;
    buf.erase(0, lead);
    pausa(host_, parametri_.Ritardo());
    return buf;
}

std::string Channel::InviaComando(const std::string& comando, const std::string& atteso)
{
    std::string r;
    try {
        r = exchange(comando, atteso);
    } catch (const PortError&) {
        timeout();
    }
    if (fine_)
        std::exchange(fine_, {})();
    return r;
}

bool Channel::ProvaCollegamento()
{
    if (ended_)
        host_.endProgram(StatoTimeout);
    bool risponde = false;
    {
        ExchangeFlag flag(inExchange_);
        ++exchanges_;
        riporto_.clear();  // a port just opened: nothing of another line's
        const auto esiti = provaCollegamenti(host_, {&port_}, parametri_.Ritardo());
        risponde = esiti.front() == EsitoPorta::Collegamento::Risponde;
    }
    if (fine_)
        std::exchange(fine_, {})();
    return risponde;
}

void Channel::portaPersa()
{
    if (ended_)
        return;
    timeout();
}

void Channel::richiediFine(std::function<void()> fine)
{
    senzaMessaggio_ = true;
    if (inExchange_) {
        fine_ = std::move(fine);
        return;
    }
    fine();
}

void Channel::timeout()
{
    // The channel stays busy while the message is up (its modal loop runs
    // timer ticks and the close box) and afterwards: nothing more is written.
    ended_ = true;
    // Nothing more goes out; the port is closed so that its lock goes with it.
    try {
        if (port_.isOpen())
            port_.close();
    } catch (const PortError&) {
    }
    if (!senzaMessaggio_)
        host_.messageBox(parametri_.messaggioTimeout(), parametri_.titolo(), MessageButtons::Ok);
    host_.endProgram(StatoTimeout);
    std::abort();  // endProgram never returns
}

} // namespace ondrix
