#pragma once
// The command channel: every line to the island and every reply back goes
// through InviaComando; ProvaCollegamento is the link check of the port search.
// One dialogue at a time: a handler that needs the island begins a Dialogue
// first and does not start when another one is in progress.

#include "channel/Host.h"
#include "channel/SerialPort.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace ondrix {

// Exit status of the program after a reply time-out (or a lost port).
constexpr int StatoTimeout = 3;

// What the channel takes from the program: the settling pause and the
// time-out message, both from the text resources, and the window's caption
// as the message's title. Read at each use: they change when the texts are
// applied again.
class ParametriCanale {
public:
    virtual ~ParametriCanale() = default;
    // Settling pause after every answered exchange, in seconds.
    virtual float Ritardo() const = 0;
    // The two lines of the time-out message.
    virtual std::string messaggioTimeout() const = 0;
    // Title of the message box.
    virtual std::string titolo() const = 0;
};

// Parameters given once, for programs and tests that need no text resources.
struct ParametriFissi : ParametriCanale {
    float pausa = 0.0f;
    std::string timeout;  // the message's text
    std::string titoloMessaggio;

    float Ritardo() const override { return pausa; }
    std::string messaggioTimeout() const override { return timeout; }
    std::string titolo() const override { return titoloMessaggio; }
};

class Channel {
public:
    Channel(SerialPort& port, Host& host, const ParametriCanale& settings);

    SerialPort& port() { return port_; }

    // Sends command + CR LF, waits until expected appears in what arrived,
    // strips leading CR/LF, lets the settling pause pass, returns the reply. On
    // a time-out (or a port error) shows the two-line message and ends the
    // program.
    std::string InviaComando(const std::string& command, const std::string& expected);

    // Link check on the open port: true when "ERROR" arrived within 4 s of
    // the empty line; false also when the port fails.
    bool ProvaCollegamento();

    // The port failed by itself (unplugged, hung up): the end of a time-out,
    // its message and the end of the program, at once; nothing more is sent.
    void portLost();

    // Ends the program with status, the one way out once the island may have
    // been spoken to (a time-out, a lost port, the exit button, the system's
    // request): nothing more goes out, the port is closed (its lock goes with
    // it), then message, when there is one, is shown.
    [[noreturn]] void end(int status, const std::string& message = {});

    // The system asks the program to end: end runs once the exchange in
    // progress has ended, at once when none is. From then on a time-out ends
    // the program without its message (nobody may be there to close it).
    void requestEnd(std::function<void()> end);
    bool endRequested() const { return static_cast<bool>(pendingEnd_) || silentEnd_; }

    // --- One dialogue at a time -------------------------------------------
    class Dialogue {
    public:
        Dialogue(Dialogue&& o) noexcept : ch_(o.ch_) { o.ch_ = nullptr; }
        Dialogue& operator=(Dialogue&&) = delete;
        ~Dialogue();

    private:
        friend class Channel;
        explicit Dialogue(Channel* ch) : ch_(ch) {}
        Channel* ch_;
    };
    // A dialogue, or nothing when one is already in progress.
    std::optional<Dialogue> tryBegin();
    // After a time-out the channel stays busy for good: nothing may reach the
    // line while the message is up or the program is ending.
    bool busy() const { return dialogue_ || inExchange_ || ended_; }

    // Exchanges made so far (the link check included), for the benchmarks.
    long exchanges() const { return exchanges_; }

    // The reply limit: 4 s from the line having left (the link check's too).
    static constexpr std::int64_t ReplyLimitUs = 4'000'000;
    // While the line has not taken what was written, its output queue is
    // looked at this often.
    static constexpr std::int64_t OutputStepUs = 50'000;
    // The reply limit as it is compared: more than 4.0 s (single precision)
    // since t0.
    static bool expired(std::int64_t t0Us, std::int64_t nowUs);
    // The settling pause: events processed at least once, until more than
    // seconds (single precision) have passed.
    static void settle(Host& host, float seconds);

private:
    std::string exchange(const std::string& command, const std::string& expected);
    void drain();
    // Collects the reply to command until expected is in buf; false when 4 s
    // passed with nothing waiting.
    bool collect(std::string& buf, const std::string& command, const std::string& expected);
    // Lets a reply that arrives piecemeal gather in the port until untilUs
    // before it is read again; false when the port cannot.
    bool gather(std::int64_t untilUs);
    void waitStep(std::int64_t deadlineUs);
    [[noreturn]] void timeout();

    SerialPort& port_;
    Host& host_;
    const ParametriCanale& settings_;
    bool dialogue_ = false;
    bool inExchange_ = false;
    bool ended_ = false;
    bool silentEnd_ = false;
    std::function<void()> pendingEnd_;
    long exchanges_ = 0;
    // Characters read with a reply after its expected text, when the read
    // came late: they begin the next reply.
    std::string carryOver_;
    // The length of the last reply to each command, up to its expected text.
    std::map<std::string, std::size_t> replyLengths_;
};

} // namespace ondrix
