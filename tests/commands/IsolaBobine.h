#pragma once
// A small island for the coil handlers' tests: it knows the prompts of every
// coil dialogue, prints its diagnosis from 32 slots (index and letter) that a
// test can change at any moment, answers the stroke counter with a chosen
// text, and keeps the transcript of the lines it received. BancoBobine puts a
// Configuratore on it with a hand-filled model and draws the chosen body.

#include "channel/SerialPort.h"
#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "island/Numeri.h"
#include "support/FakeHost.h"
#include "support/ReplyPort.h"

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ondrix::test {

class IsolaBobine : public ReplyPort {
public:
    struct Slot {
        int indice;
        char lettera;
    };
    std::array<Slot, 32> slot{};
    std::string diagnosi;            // when not empty: the whole "GET DIAGNOSI" reply
    std::string contacolpi = "00125";  // what precedes "OK" in the counter's last reply

    IsolaBobine()
    {
        for (int i = 0; i < 32; ++i)
            slot[static_cast<std::size_t>(i)] = {i, 'A'};
    }

    std::string rispostaDiagnosi() const
    {
        if (!diagnosi.empty())
            return diagnosi;
        std::string r = "GET DIAGNOSI\r\n";
        for (const Slot& s : slot)
            r += std::to_string(s.indice) + "\t" + s.lettera + " \r\n";
        return r + "OK\r\n";
    }

protected:
    std::string rispondi(const std::string& line) override
    {
        if (relax_) {
            if (line == "1000") {
                relax_ = false;
                return "OK\r\n";
            }
            return "INDICE:";
        }
        if (!seguito_.empty()) {
            std::string r = seguito_.front();
            seguito_.pop_front();
            return r;
        }
        if (line == "CLOSE VALVOLA" || line == "OPEN VALVOLA" || line == "DISABLE VALVOLA")
            return avvia({"INDICE:", "OK\r\n"});
        if (line == "ENABLE VALVOLA")
            return avvia({"ESP:", "POS:", "INDICE:", "OK\r\n"});
        if (line == "ZERO CONTACOLPI")
            return avvia({"ESP:", "POS:", "OK\r\n"});
        if (line == "LEGGI CONTACOLPI")
            return avvia({"ESP:", "POS:", contacolpi + "\r\nOK\r\n"});
        if (line == "SET RELAX") {
            relax_ = true;
            return "INDICE:";
        }
        if (line == "GET DIAGNOSI")
            return rispostaDiagnosi();
        return "OK\r\n";
    }
    std::string avvia(std::deque<std::string> risposte)
    {
        std::string primo = risposte.front();
        risposte.pop_front();
        seguito_ = std::move(risposte);
        return primo;
    }

private:
    bool relax_ = false;
    std::deque<std::string> seguito_;
};

// Head (body 0, 8 stations) with six coils of indexes 0..5 at positions
// 1, 2, 5, 6, 9, 10 (rows 1..6 of ConfBobine, so a row number is not a
// position); expansion 1 (4 stations) with four coils of indexes 6..9 at
// positions 1..4 (rows 7..10). Diagnosis: slots 0..9 present ("P"), the
// rest absent; row i of Diagnosi holds index i - 1.
struct BancoBobine {
    FakeHost host;
    IsolaBobine island;
    Configuratore c{host, island};

    BancoBobine()
    {
        island.open();
        Testi& t = c.m.testi;
        t.CaptChiudi = "ATTIVA BOBINA";
        t.CaptApri = "DISATTIVA BOBINA";
        t.CaptAbilita = "ABILITA BOBINA";
        t.CaptDisabilita = "DISABILITA BOBINA";
        t.CaptChiudiAll = "ATTIVA TUTTO";
        t.CaptApriAll = "DISATTIVA TUTTO";
        t.CaptRelax = "ATTIVA RELAX";
        t.CaptNoRelax = "DISATTIVA RELAX";
        t.Messaggi(msg::Spegnere) = "SPEGNERE L'ISOLA";
        t.Messaggi(msg::Timeout1) = "TIMEOUT";
        t.Messaggi(msg::Timeout2) = "FINE";
        t.Messaggi(msg::DisableAll) = "DISABILITARE TUTTE LE BOBINE?";
        t.TestiInput(2) = "NUOVO INDICE:";
        t.Ritardo = 0.0f;
        c.f.setCaption("ONDRIX - CONFIGURATORE - PROFIBUS");
        c.f.CmdAziona.setCaption(t.CaptChiudi);
        c.f.CmdAll.setCaption(t.CaptChiudiAll);
        c.f.CmdRelax.setCaption(t.CaptRelax);
        c.f.CmdAbilita.setCaption(t.CaptDisabilita);

        Model& m = c.m;
        m.NumEspansioni = 2;
        m.Espansioni(1) = {0, 8, 6, 40};
        m.Espansioni(2) = {1, 4, 4, 40};
        const int posTesta[] = {1, 2, 5, 6, 9, 10};
        for (int j = 0; j < 6; ++j)
            m.ConfBobine(j + 1) = {static_cast<std::int16_t>(j), static_cast<std::int16_t>(posTesta[j])};
        for (int j = 0; j < 4; ++j)
            m.ConfBobine(7 + j) = {static_cast<std::int16_t>(6 + j), static_cast<std::int16_t>(j + 1)};
        // Left over from an earlier island: must never be found.
        m.ConfBobine(11) = {20, 3};
        m.TotaleBobine = 10;
        for (int r = 1; r <= 32; ++r)
            m.Diagnosi(r) = r <= 10 ? RigaDiagnosi{static_cast<std::int16_t>(r - 1), 2, 0}
                                    : RigaDiagnosi{-1, 1, 0};
        m.Diagnosi(33) = {255, 1, 0};
        for (int i = 0; i < 10; ++i)
            island.slot[static_cast<std::size_t>(i)].lettera = 'P';
        c.f.Combo1.addItem("0");
        c.f.Combo1.addItem("1");
        disegna(0);
    }

    // The body at list position pos drawn from the model, as the drawing does.
    void disegna(int pos)
    {
        Model& m = c.m;
        c.f.Combo1.setListIndex(pos);
        m.EspansioneCorrente = static_cast<std::int16_t>(pos);
        int prima = 0;
        for (int r = 1; r <= pos; ++r)
            prima += m.Espansioni(r).NumBobine;
        m.PrimaBobina = static_cast<std::int16_t>(prima);
        for (Control* b : c.f.Bobina) {
            b->setVisible(true);
            b->setBackColor(colore::Grigio);
            b->setCaption("");
            b->setEnabled(false);
            b->setBold(false);
        }
        const Espansione& e = m.Espansioni(pos + 1);
        for (int j = 1; j <= e.NumBobine; ++j) {
            const ConfBobina& cb = m.ConfBobine(prima + j);
            Control& b = *c.f.Bobina[static_cast<std::size_t>(cb.Posizione - 1)];
            if (cb.Indice == IndiceDisabilitato) {
                b.setBackColor(colore::GialloPallido);
                b.setEnabled(true);
                b.setCaption(std::to_string(cb.Posizione));
                continue;
            }
            b.setCaption(std::to_string(cb.Indice));
            int r = 33;
            for (int k = 1; k <= 32; ++k)
                if (m.Diagnosi(k).Indice == cb.Indice) {
                    r = k;
                    break;
                }
            const RigaDiagnosi& d = m.Diagnosi(r);
            switch (d.Stato) {
            case 1: b.setBackColor(colore::Grigio); break;
            case 2: b.setBackColor(colore::Arancio); b.setEnabled(true); break;
            case 3:
            case 4: b.setBackColor(colore::Rosso); break;
            case 5: b.setBackColor(colore::Verde); b.setEnabled(true); break;
            default: break;
            }
            b.setBold(d.Relax == 1);
        }
        for (std::size_t i = 2 * static_cast<std::size_t>(e.NumPosti); i < 16; ++i)
            c.f.Bobina[i]->setVisible(false);
        for (Control* s : c.f.Shape6)
            s->setVisible(false);
        c.f.TxtColpi.setText("");
        c.f.CmdAziona.setEnabled(false);
        c.f.CmdAbilita.setEnabled(false);
    }

    // The visible coil button with this caption on the drawn body.
    Control& bobina(const std::string& caption)
    {
        for (Control* b : c.f.Bobina)
            if (b->visible() && b->caption() == caption)
                return *b;
        throw std::runtime_error("no coil button captioned " + caption);
    }

    void click(Control& ctl) { eventoClick(c, ctl); }
    // Lines received from the given one on (to skip a set-up's lines).
    std::vector<std::string> lines(std::size_t from = 0) const
    {
        return {island.lines.begin() + static_cast<long>(from), island.lines.end()};
    }
};

using Linee = std::vector<std::string>;

} // namespace ondrix::test
