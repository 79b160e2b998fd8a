#include "program/Eventi.h"

#include "program/Configuratore.h"
#include "program/Gestori.h"

#include <functional>
#include <utility>

namespace ondrix {

namespace {

// Runs a handler as one dialogue; does nothing while another is in progress.
template <typename F>
void inDialogo(Configuratore& c, F&& handler)
{
    auto d = c.ch.tryBegin();
    if (!d)
        return;
    handler();
}

// While a tick of the input poll holds the line, keeps the event to run when
// the tick is over and says so; otherwise false and the caller goes on. Only
// the last event is kept, but a later click does not undo the close box.
bool rinvia(Configuratore& c, std::function<void()> evento, bool chiusura = false)
{
    Configuratore::Rinvio& r = c.rinvio;
    if (!r.polling)
        return false;
    if (chiusura || !r.chiusura) {
        r.evento = std::move(evento);
        r.chiusura = chiusura;
    }
    return true;
}

// The polling tick, which draws the input module shown again.
void tick(Configuratore& c)
{
    Timer1_Timer(c, [&c] { DisegnaInputScelto(c.m, c.f); });
}

// The handler of a clicked control, found by the control itself.
void clic(Configuratore& c, Control& ctl)
{
    Form& f = c.f;
    for (std::size_t i = 0; i < f.Bobina.size(); ++i)
        if (&ctl == f.Bobina[i]) {
            Bobina_Click(c, static_cast<int>(i), [&] { CmdAziona_Click(c); });
            return;
        }
    for (Control* o : f.Option1)
        if (&ctl == o) {
            o->setValue(true);
            return;
        }
    if (&ctl == &f.OptInput || &ctl == &f.OptOutput) {
        ctl.setValue(true);
        if (&ctl == &f.OptInput)
            OptInput_Click(c);
        else
            OptOutput_Click(c);
        return;
    }
    if (&ctl == &f.CmdAddressIn) {
        CmdAddressIn_Click(c, [&c] { tick(c); });
        return;
    }
    if (&ctl == &f.CmdCarica) {
        if (CmdCarica_Click(c))
            Form_Activate(c);
        return;
    }
    struct Pulsante {
        Control& controllo;
        void (*gestore)(Sessione&);
    };
    const Pulsante pulsanti[] = {
        {f.CmdAziona, CmdAziona_Click},         {f.CmdAll, CmdAll_Click},
        {f.CmdAbilita, CmdAbilita_Click},       {f.CmdDisableAll, CmdDisableAll_Click},
        {f.CmdRelax, CmdRelax_Click},           {f.CmdAzzera, CmdAzzera_Click},
        {f.CmdReset, CmdReset_Click},           {f.CmdPAddress, CmdPAddress_Click},
        {f.CmdTerminazione, CmdTerminazione_Click}, {f.CmdBaudRate, CmdBaudRate_Click},
        {f.CmdSalva, CmdSalva_Click},           {f.CmdBootloader, CmdBootloader_Click},
        {f.CmdEsci, CmdEsci_Click},
    };
    for (const Pulsante& p : pulsanti)
        if (&ctl == &p.controllo) {
            p.gestore(c);
            return;
        }
}

} // namespace

void eventoLoad(Configuratore& c) { Form_Load(c.host, c.f); }

void eventoActivate(Configuratore& c)
{
    inDialogo(c, [&] { Form_Activate(c); });
}

void eventoResize(Configuratore& c) { Form_Resize(c.f); }

void eventoClick(Configuratore& c, Control& ctl)
{
    if (!ctl.enabled() || !ctl.visible())
        return;
    if (rinvia(c, [&c, &ctl] { eventoClick(c, ctl); }))
        return;
    inDialogo(c, [&] { clic(c, ctl); });
}

void eventoDblClick(Configuratore& c, Control& ctl)
{
    if (&ctl != &c.f.Image1)
        return;
    if (rinvia(c, [&c, &ctl] { eventoDblClick(c, ctl); }))
        return;
    inDialogo(c, [&] { Image1_DblClick(c); });
}

void eventoSceltaLista(Configuratore& c, Control& combo, int index)
{
    if (!combo.enabled() || !combo.visible())
        return;
    if (rinvia(c, [&c, &combo, index] { eventoSceltaLista(c, combo, index); }))
        return;
    inDialogo(c, [&] {
        combo.setListIndex(index);
        if (&combo == &c.f.Combo1)
            Combo1_Click(c);
        else if (&combo == &c.f.Combo2)
            Combo2_Click(c);
    });
}

void eventoRapporto(Configuratore& c, const ScriviRapporto& scrivi)
{
    if (!c.servizio)
        return;
    if (rinvia(c, [&c, scrivi] { eventoRapporto(c, scrivi); }))
        return;
    inDialogo(c, [&] { Rapporto_Click(c, scrivi); });
}

void eventoScroll(Configuratore& c, Control& bar, int value)
{
    bar.setScrollValue(value);
    if (&bar == &c.f.HScroll1)
        ScorriOrizzontale(c.f);
    else if (&bar == &c.f.VScroll1)
        ScorriVerticale(c.f);
}

void eventoTimer(Configuratore& c)
{
    if (!c.f.Timer1.enabled())
        return;
    auto dialogo = c.ch.tryBegin();
    if (!dialogo)
        return;
    std::function<void()> rinviato;
    {
        // Off again and nothing kept, however the tick ends.
        struct Polling {
            explicit Polling(Configuratore& x) : c(x) { c.rinvio.polling = true; }
            ~Polling() { c.rinvio = {}; }
            Configuratore& c;
        } polling(c);
        tick(c);
        rinviato = std::move(c.rinvio.evento);
    }
    dialogo.reset();
    // At once, so that no tick comes first; through the routing again, which
    // checks the control and begins a dialogue of the event's own.
    if (rinviato && !c.ch.endRequested())
        rinviato();
}

bool eventoChiusura(Configuratore& c)
{
    // During the port search the close ends the program as soon as the
    // search has closed its ports: nothing has been sent to an island.
    if (c.inRicerca) {
        c.ricercaInterrotta = true;
        return false;
    }
    if (rinvia(c, [&c] { eventoChiusura(c); }, true))
        return false;
    auto d = c.ch.tryBegin();
    if (!d)
        return false;
    Form_Unload(c);
}

namespace {

// The end the system asked for: as the exit button, without a question.
[[noreturn]] void termina(Configuratore& c)
{
    if (c.servizio)
        Form_Unload(c);
    c.ch.end(0);
}

} // namespace

void eventoRichiestaFine(Configuratore& c)
{
    if (c.inRicerca) {
        c.ricercaInterrotta = true;
        return;
    }
    c.ch.requestEnd([&c] { termina(c); });
}

} // namespace ondrix
