#include "frame/Eventi.h"

#include "channel/SerialPort.h"
#include "frame/Configuratore.h"
#include "frame/Gestori.h"

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

} // namespace

void eventoLoad(Configuratore& c) { Form_Load(c); }

void eventoActivate(Configuratore& c)
{
    inDialogo(c, [&] { Form_Activate(c); });
}

void eventoResize(Configuratore& c) { Form_Resize(c); }

void eventoClick(Configuratore& c, Control& ctl)
{
    if (!ctl.enabled() || !ctl.visible())
        return;
    const std::string& n = ctl.name();
    inDialogo(c, [&] {
        if (n == "Bobina")
            Bobina_Click(c, ctl.index());
        else if (n == "CmdAziona")
            CmdAziona_Click(c);
        else if (n == "CmdAll")
            CmdAll_Click(c);
        else if (n == "CmdAbilita")
            CmdAbilita_Click(c);
        else if (n == "CmdDisableAll")
            CmdDisableAll_Click(c);
        else if (n == "CmdRelax")
            CmdRelax_Click(c);
        else if (n == "CmdAzzera")
            CmdAzzera_Click(c);
        else if (n == "CmdReset")
            CmdReset_Click(c);
        else if (n == "CmdPAddress")
            CmdPAddress_Click(c);
        else if (n == "CmdAddressIn")
            CmdAddressIn_Click(c);
        else if (n == "CmdTerminazione")
            CmdTerminazione_Click(c);
        else if (n == "CmdBaudRate")
            CmdBaudRate_Click(c);
        else if (n == "CmdSalva")
            CmdSalva_Click(c);
        else if (n == "CmdCarica")
            CmdCarica_Click(c);
        else if (n == "CmdBootloader")
            CmdBootloader_Click(c);
        else if (n == "CmdEsci")
            CmdEsci_Click(c);
        else if (n == "OptInput") {
            ctl.setValue(true);
            OptInput_Click(c);
        } else if (n == "OptOutput") {
            ctl.setValue(true);
            OptOutput_Click(c);
        } else if (n == "Option1")
            ctl.setValue(true);
    });
}

void eventoDblClick(Configuratore& c, Control& ctl)
{
    if (ctl.name() == "Image1")
        inDialogo(c, [&] { Image1_DblClick(c); });
}

void eventoSceltaLista(Configuratore& c, Control& combo, int index)
{
    inDialogo(c, [&] {
        combo.setListIndex(index);
        if (&combo == &c.f.Combo1)
            Combo1_Click(c);
        else if (&combo == &c.f.Combo2)
            Combo2_Click(c);
    });
}

void eventoScroll(Configuratore& c, Control& bar, int value)
{
    bar.setScrollValue(value);
    if (&bar == &c.f.HScroll1)
        ScorriOrizzontale(c);
    else if (&bar == &c.f.VScroll1)
        ScorriVerticale(c);
}

void eventoTimer(Configuratore& c)
{
    if (!c.f.Timer1.enabled())
        return;
    inDialogo(c, [&] { Timer1_Timer(c); });
}

bool eventoChiusura(Configuratore& c)
{
    auto d = c.ch.tryBegin();
    if (!d)
        return false;
    Form_Unload(c);
}

} // namespace ondrix
