// The head's button: PROFIBUS termination, CANopen and DeviceNet baud rate,
// on the simulated island.

#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

struct BaudRate : IslandRig {
    explicit BaudRate(char interfaccia = 'P', int baud = 0) : IslandRig(scenario(interfaccia, baud)) { ready(); }
    Form& f = c.f;

    static sim::Scenario scenario(char interfaccia, int baud)
    {
        sim::Scenario s = sim::defaultScenario();
        s.interface = interfaccia;
        s.baudIndex = baud;
        return s;
    }
    Lines clic(Control& b)
    {
        click(b);
        return taken();
    }
};

TEST(Terminazione, ProfibusOnAndOff)
{
    BaudRate b;
    const Testi& t = b.c.m.testi;
    ASSERT_EQ(b.f.CmdTerminazione.caption(), t.CaptTerminazioneOn);
    EXPECT_EQ(b.clic(b.f.CmdTerminazione), Lines{"TERMINAZIONE ON"});
    EXPECT_TRUE(b.island.state().termination);
    EXPECT_EQ(b.f.CmdTerminazione.caption(), t.CaptTerminazioneOff);
    EXPECT_EQ(b.f.ConnettoreProfibus.fillColor(), colore::Rosso);
    EXPECT_EQ(b.clic(b.f.CmdTerminazione), Lines{"TERMINAZIONE OFF"});
    EXPECT_FALSE(b.island.state().termination);
    EXPECT_EQ(b.f.CmdTerminazione.caption(), t.CaptTerminazioneOn);
    EXPECT_EQ(b.f.ConnettoreProfibus.fillColor(), colore::Nero);
    EXPECT_FALSE(b.f.FrmBaudRate.visible());
    b.expectCleanDialogues();
}

TEST(BaudRate, DevicenetFrameOffersThreeRates)
{
    BaudRate b('D', 0);
    EXPECT_EQ(b.f.CmdTerminazione.caption(), "125 Kbit/s");
    EXPECT_TRUE(b.clic(b.f.CmdTerminazione).empty());  // opening the frame sends nothing
    EXPECT_TRUE(b.f.FrmBaudRate.visible());
    EXPECT_EQ(b.f.FrmBaudRate.caption(), "BAUD RATE DEVICENET");
    EXPECT_EQ(b.f.Option1[0]->caption(), "125 Kbit/s");
    EXPECT_EQ(b.f.Option1[2]->caption(), "500 Kbit/s");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(b.f.Option1[k]->visible(), k < 3) << k;
    b.click(*b.f.Option1[2]);
    EXPECT_EQ(b.clic(b.f.CmdBaudRate), (Lines{"SET BAUD RATE", " 2"}));
    EXPECT_EQ(b.island.state().baudIndex, 2);
    EXPECT_EQ(b.c.m.IndiceBaudRate, 2);
    EXPECT_EQ(b.f.CmdTerminazione.caption(), "500 Kbit/s");
    EXPECT_FALSE(b.f.FrmBaudRate.visible());
    b.expectCleanDialogues();
}

TEST(BaudRate, CanopenOneMbitIsSentAsSpaceSeven)
{
    BaudRate b('C', 3);
    EXPECT_TRUE(b.clic(b.f.CmdTerminazione).empty());
    EXPECT_EQ(b.f.FrmBaudRate.caption(), "BAUD RATE CANOPEN");
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(b.f.Option1[k]->visible()) << k;
    EXPECT_EQ(b.f.Option1[7]->caption(), "1 Mbit/s");
    EXPECT_TRUE(b.f.Option1[3]->value());
    b.click(*b.f.Option1[7]);
    EXPECT_EQ(b.clic(b.f.CmdBaudRate), (Lines{"SET BAUD RATE", " 7"}));
    EXPECT_EQ(b.island.state().baudIndex, 7);
    EXPECT_EQ(b.f.CmdTerminazione.caption(), "1 Mbit/s");
    b.expectCleanDialogues();
}

TEST(BaudRate, ConfirmingWithoutAChoiceResendsTheCurrentRate)
{
    BaudRate b('C', 3);
    b.click(b.f.CmdTerminazione);
    for (Control* o : b.f.Option1)
        o->setValue(false);
    EXPECT_EQ(b.clic(b.f.CmdBaudRate), (Lines{"SET BAUD RATE", " 3"}));
    EXPECT_EQ(b.f.CmdTerminazione.caption(), "125 Kbit/s");

    // A rate outside 0..7 has no text: the caption stays (and the island
    // refuses it).
    b.c.m.IndiceBaudRate = 9;
    Lines l;
    EXPECT_NO_THROW(l = b.clic(b.f.CmdBaudRate));
    EXPECT_EQ(l, (Lines{"SET BAUD RATE", " 9"}));
    EXPECT_EQ(b.f.CmdTerminazione.caption(), "125 Kbit/s");
    EXPECT_EQ(b.island.rejected().size(), 1u);
    EXPECT_EQ(b.island.state().baudIndex, 3);
}

} // namespace
} // namespace ondrix
