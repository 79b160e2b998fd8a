#pragma once
// The command channel: every line to the island and every reply back goes
// through InviaComando; ProvaCollegamento is the link check of the port search.
// One dialogue at a time: a handler that needs the island begins a Dialogue
// first and does not start when another one is in progress.

#include "channel/Host.h"
#include "channel/SerialPort.h"

#include <functional>
#include <optional>
#include <string>

namespace ondrix {

struct Testi;

// Exit status of the program after a reply time-out (or a lost port).
constexpr int StatoTimeout = 3;

class Channel {
public:
    // caption: the window's current caption, the title of the time-out message.
    Channel(SerialPort& port, Host& host, const Testi& testi, std::function<std::string()> caption);

    SerialPort& port() { return port_; }

    // Sends comando + CR LF, waits until atteso appears in what arrived, strips
    // leading CR/LF, lets the settling pause pass, returns the reply. On a
    // time-out (or a port error) shows the two-line message and ends the program.
    std::string InviaComando(const std::string& comando, const std::string& atteso);

    // Same exchange, but a port error is thrown as PortError instead of ending
    // the program (the start-up skips the step). Time-outs still end it.
    std::string InviaComandoOppureErrore(const std::string& comando, const std::string& atteso);

    // Link check: true when "ERROR" arrived within 4 s of the empty line.
    // Throws PortError when the port fails.
    bool ProvaCollegamento();

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

    static constexpr double TimeoutS = 4.0;

private:
    std::string exchange(const std::string& comando, const std::string& atteso);
    void drain();
    // Collects until atteso is in buf; false when 4 s passed with nothing waiting.
    bool collect(std::string& buf, const std::string& atteso);
    void settle();
    void waitStep(std::int64_t deadlineUs);
    [[noreturn]] void timeout();

    SerialPort& port_;
    Host& host_;
    const Testi& testi_;
    std::function<std::string()> caption_;
    bool dialogue_ = false;
    bool inExchange_ = false;
    bool ended_ = false;
    long exchanges_ = 0;
};

} // namespace ondrix
