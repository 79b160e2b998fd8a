#pragma once
// The island's side of the service protocol, with its own state: what a real
// island answers on its service port, for the tests, the benchmarks and the
// demo. Bytes come in through receive(); the answer goes into an output queue
// whose pieces become readable at given times (the caller's clock), so that
// pacing, pieces with gaps and late answers can be played on a fake clock.
//
// Lines end with CR LF. Each reply ends with its awaited text ("OK" or a
// prompt) followed by CR LF; that final CR LF is always sent a little after the
// rest (Faults::tailDelayUs, by default two character times as on a 9600-baud
// line), and a read never takes it together with the awaited text: the
// configurator sees the reply end with the awaited text, however late it
// reads, and finds the CR LF at the start of its next reply, where it is
// stripped.
//
// Reply layouts (\t TAB, \r CR, \n LF; the configurator cuts them by position):
//
//   empty line          "ERROR\r\n"
//   ENTER SV, EXIT SV   "OK\r\n"
//   GET SLAVE ADDRESS   "SLAVE ADDRESS: 5\r\nOK\r\n"
//   GET VALVOLE PRESENTI
//       "ESP\tBOB\tPOSTI\tIND\tPOS\r\n"            23 characters of heading
//       per body: "0\t14\t8\t0\t1\r"               Numero, NumBobine, NumPosti,
//                                                    first coil Indice, Posizione
//       per further coil: "\n  1\t2\r"              3 characters, Indice, Posizione
//       the next body starts "\n1\t7\t4\t..."       (the LF before Numero is tolerated)
//       end: the last coil's CR directly followed by "OK\r\n"
//       A body without coils reports one coil line "255\t0".
//   GET DIAGNOSI
//       "STATO BOBINE\r\n"                           14 characters of heading
//       32 records, slot i = fieldbus index i: "i\tWORD\r\n" where WORD is
//       PRESENTE, CORTOCIRCUITO, INTERROTTA (letters P, C, I) for an enabled
//       coil with that index, ASSENTE (A) otherwise (disabled coils hold no
//       index); an energised coil still reports P. Then "OK\r\n".
//   GET RELAX
//       "RELAX BOBINE\r\n"                           14 characters of heading
//       32 records "i\tCLOSE \r\n" (relax on) or "i\tOPEN \r\n": the word, one
//       blank, CR LF. Then "OK\r\n".
//   GET REV FW
//       "FIRMWARE REV:\r\n"                          15 characters of heading
//       "ATMEL\t47\tCPU\r\n"                         main controller
//       per body: "PIC 0\t47\tESP\r\n"
//       per input module: "DIG 1\t23 A\t16IN\r\n"     revision and two more characters
//       "OK\r\n"
//   STATO VALVOLA, INDICE: n     "ON\r\nOK\r\n" or "OFF\r\nOK\r\n"
//   INTERFACCIA         "PROFIBUS\r\nOK\r\n" (or CANOPEN, DEVICENET: the first letter counts)
//   GET BAUD RATE       "BAUD RATE: 3 \r\nOK\r\n"  (the digit two places before the CR)
//   STATO TERMINAZIONE  "ON\r\nOK\r\n" or "OFF\r\nOK\r\n"
//   GET DIGITAL INPUT
//       "INGRESSI DIGITALI: MODULI\r\n"              27 characters of heading
//       per module: "MOD 1\t16IN\t" then its first input "0\tIN01\tOFF\r"
//       per further input: "\n " then "1\tIN02\tON\r" (number, field, state)
//       the next module starts "\nMOD 2\t8IN\t..." (its first field is not read)
//       end: the last input's CR directly followed by "OK\r\n"
//   GET CONF
//       "CONFIGURAZIONE\r\n" and lines of settings without any TAB, then per
//       body one line: "ESP 0 POSTI 8" TAB, 3 characters ("14:", the coil
//       count), then one record per coil in GET VALVOLE PRESENTI order, each 8
//       characters: the position in 4 ("  3:") and TAB + the index in 3 ("\t  2",
//       "\t170"), so the reading "first value from the text before the first
//       TAB, drop that much, second value from as many characters, drop that
//       much" walks the records; "\r\n" ends the body line. Then
//       "NR.DIG IN: 2\r\n" (13 characters with its CR) and per module
//       "MOD 1 16IN IND: 0 ON\r\n" ("OFF" while DISABLE DIGITAL has it
//       disabled): the address stands between "IND:" and the next capital O.
//       Then "OK\r\n".
//   LEGGI CONTACOLPI, ESP:, POS:   "00125\r\nOK\r\n" (thousands of strokes, 5 digits)
//   every dialogue: "INDICE:\r\n", "ESP:\r\n", "POS:\r\n", "NUM:\r\n",
//       "OLD ADDR\r\n", "NEW ADDR\r\n" as prompts (no colon after these two: the
//       configurator awaits them whole), "OK\r\n" after the last line
//   an unknown command, or a feature the firmware lacks: "ERROR\r\n"
//
// Firmware gates (a real island of older firmware does not know the command):
// STATO VALVOLA needs head >= 35 and main >= 34, INTERFACCIA 40/40, GET
// DIGITAL INPUT head >= 39 and main >= 40, GET CONF main >= 46, STATO
// TERMINAZIONE main >= 34.
//
// Protocol checks, reported by protocolErrors() (the tests rely on them to
// prove that dialogues never interleave):
//   - a line arriving before the previous reply's awaited text has been read
//     by the configurator (it did not wait for its reply or prompt);
//   - a command word arriving while a dialogue waits for its argument (the
//     dialogue is abandoned and the new command answered);
//   - an argument that is not a whole number;
//   - a line not ended by CR LF, an unknown command, a command outside service
//     mode (before "ENTER SV" or after "EXIT SV"/"CLEAR").
// pendingDialogue() names a dialogue left waiting for its next line.

#include "sim/Scenario.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::sim {

class SimulatedIsland {
public:
    explicit SimulatedIsland(Scenario s = defaultScenario());

    // --- The line -------------------------------------------------------
    // Bytes sent by the configurator, arriving at nowUs (microseconds of the
    // clock the caller uses). Complete lines are answered at once.
    void receive(std::string_view bytes, std::int64_t nowUs);
    // Characters readable at nowUs.
    std::size_t readable(std::int64_t nowUs) const;
    // Takes the characters readable at nowUs, up to the end of a reply's
    // awaited text (the rest stays for the next read).
    std::string take(std::int64_t nowUs);
    // When the next character not yet taken becomes readable (may be in the
    // past when something is readable now); nothing when the queue is empty.
    std::optional<std::int64_t> nextArrivalUs() const;
    // The port was closed: what was on its way is lost.
    void discardOutput();

    // The port is lost (fault drop-after / drop-at, or now): the port's
    // operations fail from here on.
    bool dropped() const { return dropped_; }
    void dropLink();

    // --- What was received ----------------------------------------------
    // Every line received, without CR LF, in order (the link check's empty
    // lines included).
    const std::vector<std::string>& lines() const { return lines_; }
    void clearLines() { lines_.clear(); }
    // Violations of the dialogue rules (see above), in order.
    const std::vector<std::string>& protocolErrors() const { return errors_; }
    // The command whose dialogue waits for its next line, or empty.
    std::string pendingDialogue() const;
    // Requests the island answered but did not carry out (an index without a
    // coil, an address out of range ...), for the tests to look at.
    const std::vector<std::string>& rejected() const { return rejected_; }

    // --- State ----------------------------------------------------------
    // The island as it is now (the scenario, changed by the commands).
    const Scenario& state() const { return s_; }
    Scenario& state() { return s_; }
    Faults& faults() { return s_.faults; }
    bool serviceMode() const { return serviceMode_; }
    long clears() const { return clears_; }
    // Input state of module m (0-based), input k (0-based) at time nowUs.
    bool inputOn(std::size_t m, std::size_t k, std::int64_t nowUs) const;

    // Replaces the island's reply to a command line (the whole text, ending
    // "OK\r\n" or a prompt + "\r\n") for tests of unusual replies.
    void overrideReply(const std::string& command, std::string reply) { overrides_[command] = std::move(reply); }

    // The reply text a command would get now, without sending it (tests).
    std::string replyTo(const std::string& command, std::int64_t nowUs);

    static constexpr double CharsPerSecond = 960.0;

private:
    struct Piece {
        std::int64_t atUs;
        std::string text;
        bool endsAwaited = false;  // a read stops after this piece
    };
    struct Dialogue {
        std::string command;
        std::vector<long> args;
    };

    void line(const std::string& l, bool crlf, std::int64_t nowUs);
    void command(const std::string& l, std::int64_t nowUs);
    void argument(const std::string& l, std::int64_t nowUs);
    void finish(std::int64_t nowUs);
    // What a whole dialogue does to the island; its reply's text before "OK".
    std::string carryOut(const std::string& cmd, const std::vector<long>& a);
    std::string valveCommand(const std::string& cmd, long index);
    void enableValve(const std::string& cmd, const std::vector<long>& a);
    std::string strokeCounter(const std::string& cmd, const std::vector<long>& a);
    void setRelax(const std::string& cmd, const std::vector<long>& indexes);
    void enableDigital(const std::string& cmd, const std::vector<long>& a);
    // Queues a reply; the awaited text is its end without the final CR LF.
    void send(const std::string& reply, std::int64_t nowUs, std::int64_t extraDelayUs = 0);
    void error(std::string what) { errors_.push_back(std::move(what)); }
    void reject(std::string what) { rejected_.push_back(std::move(what)); }
    bool supported(const std::string& cmd) const;

    Coil* coilByIndex(int index);
    Coil* coilAt(int bodyNumber, int position);
    // The coil a dialogue names by body and position; a rejection when none is there.
    Coil* placedCoil(const std::string& cmd, long bodyNumber, long position);

    std::string replyValvolePresenti() const;
    std::string replyDiagnosi() const;
    std::string replyRelax() const;
    std::string replyRevFw() const;
    std::string replyDigitalInput(std::int64_t nowUs) const;
    std::string replyConf() const;

    Scenario s_;
    bool serviceMode_ = false;
    bool dropped_ = false;
    bool silent_ = false;
    long clears_ = 0;

    std::string partial_;
    std::vector<std::string> lines_;
    long lineCount_ = 0;  // lines received, for the faults that count them (lines_ may be cleared)
    std::vector<std::string> errors_;
    std::vector<std::string> rejected_;
    std::optional<Dialogue> dialogue_;
    std::map<std::string, std::string> overrides_;

    std::deque<Piece> out_;
    std::int64_t lastAtUs_ = 0;
    // Characters ever queued, characters taken, and where the awaited text
    // of the last reply ends in that count: a line arriving while taken_ is
    // below it was sent without waiting for the reply.
    std::int64_t queued_ = 0;
    std::int64_t taken_ = 0;
    std::int64_t awaitedEnd_ = 0;
    std::string lastCommand_;
};

} // namespace ondrix::sim
