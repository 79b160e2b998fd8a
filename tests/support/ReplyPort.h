#pragma once
// A port that answers every line written with the next scripted reply at once
// ("OK" when the script has run out), and records the lines; plus a
// Configuratore on it with a hand-filled model, for handler tests that need
// no simulated island.

#include "channel/SerialPort.h"
#include "program/Configuratore.h"
#include "support/FakeHost.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace ondrix::test {

class ReplyPort : public SerialPort {
public:
    virtual ~ReplyPort() = default;
    std::deque<std::string> replies;  // one per line, in order
    std::vector<std::string> lines;   // every line written, without CR LF
    // Called with each line before it is answered.
    std::function<void(const std::string&)> onLine;

    void setPortNumber(int n) override { number_ = n; }
    int portNumber() const override { return number_; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const std::string& data) override
    {
        partial_ += data;
        for (std::size_t p; (p = partial_.find("\r\n")) != std::string::npos;) {
            std::string line = partial_.substr(0, p);
            partial_.erase(0, p + 2);
            lines.push_back(line);
            if (onLine)
                onLine(line);
            input_ += rispondi(line);
        }
    }
    std::int64_t outputCount() override { return 0; }
    std::int64_t inputCount() override { return static_cast<std::int64_t>(input_.size()); }
    std::string readAll() override { return std::exchange(input_, std::string()); }

protected:
    // The reply to one line: the next scripted one, "OK" when they have run out.
    virtual std::string rispondi(const std::string&)
    {
        if (replies.empty())
            return "OK\r\n";
        std::string r = replies.front();
        replies.pop_front();
        return r;
    }

private:
    int number_ = 1;
    bool open_ = false;
    std::string partial_, input_;
};

// Texts the handlers show, recognisable in the tests.
struct ScriptedRig {
    FakeHost host;
    ReplyPort port;
    Configuratore c{host, port};

    ScriptedRig()
    {
        port.open();
        Testi& t = c.m.testi;
        t.CaptTerminazioneOn = "INSERISCI TERMINAZIONE";
        t.CaptTerminazioneOff = "DISINSERISCI TERMINAZIONE";
        t.TestiInput(1) = "NUOVO INDIRIZZO:";
        t.TestiInput(2) = "NUOVO INDICE:";
        t.Messaggi(msg::Timeout1) = "TIMEOUT";
        t.Messaggi(msg::Timeout2) = "FINE";
        t.Messaggi(msg::Address1) = "INDIRIZZO MODULO 1";
        t.Messaggi(msg::Address2) = "MODULO 2: 1 O 2";
        t.Messaggi(msg::Address3) = "MODULO 2: 0 O 2";
        t.Messaggi(msg::Address4) = "MODULO 2: 0 O 1";
        c.f.setCaption("ONDRIX - CONFIGURATORE - PROFIBUS");
        c.m.Protocollo = 1;
        c.m.RevAtmel = 46;
        c.m.NumEspansioni = 1;
        c.m.Espansioni(1) = {0, 8, 16, 40};
        c.m.Moduli.fill({-1, -1, -1, -1, -1});
    }

    // Input modules of the given input counts (16 or 8), revision 30, module
    // k at address k - 1, inputs numbered 0.. within each module, all off;
    // Combo2 filled and showing module 1.
    void moduli(std::initializer_list<int> ingressi)
    {
        c.m.NumModuli = 0;
        c.m.TotaleIngressi = 0;
        c.f.Combo2.clearList();
        for (int n : ingressi) {
            const int k = ++c.m.NumModuli;
            c.m.Moduli(k) = {static_cast<std::int16_t>(n == 16 ? 0 : 1), static_cast<std::int16_t>(n),
                             static_cast<std::int16_t>(n), 30, static_cast<std::int16_t>(k - 1)};
            for (int i = 1; i <= n; ++i) {
                const int riga = c.m.TotaleIngressi + i;
                if (riga > MaxIngressi)
                    break;
                c.m.NumeriIngressi(riga) = static_cast<std::int16_t>(i - 1);
                c.m.StatoIngressi(riga) = 0;
            }
            c.m.TotaleIngressi = static_cast<std::int16_t>(c.m.TotaleIngressi + n);
            c.f.Combo2.addItem(" " + std::to_string(k));
        }
        if (c.m.NumModuli > 0)
            c.f.Combo2.setText(" 1");
    }

    // Inputs shown, as after a click on OptInput.
    void mostraIngressi() { c.f.OptInput.setValue(true); }

    // Lines the island received, then forgotten.
    std::vector<std::string> taken() { return std::exchange(port.lines, {}); }
};

// One input record of a poll reply.
struct Record {
    int numero;
    std::string stato;
};

// A reply to "GET DIGITAL INPUT" with one block per module, laid out as the
// island sends it: 27 characters of heading, per module two fields, records
// "number TAB field TAB state CR" with two characters between the records of
// one module, "OK" at the end.
inline std::string rispostaIngressi(const std::vector<std::vector<Record>>& moduli)
{
    std::string r = "DIGITAL INPUT\r\nNR\tTIPO\tIN  ";  // 27 characters
    int k = 0;
    for (const auto& mod : moduli) {
        ++k;
        r += "\n" + std::to_string(k) + "\t" + (mod.size() == 8 ? "8IN" : "16IN") + "\t";
        for (std::size_t i = 0; i < mod.size(); ++i) {
            if (i > 0)
                r += "\n ";
            r += std::to_string(mod[i].numero) + "\tIN\t" + mod[i].stato + "\r";
        }
    }
    return r + "OK";
}

// n records numbered from primo on, all with the same state.
inline std::vector<Record> records(int n, const std::string& stato, int primo = 0)
{
    std::vector<Record> v;
    for (int i = 0; i < n; ++i)
        v.push_back({primo + i, stato});
    return v;
}

} // namespace ondrix::test
