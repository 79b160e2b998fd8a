#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/ReplyPort.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

struct BaudRate : ::testing::Test {
    test::ScriptedRig rig;
    Configuratore& c = rig.c;
    Form& f = c.f;

    void canopen()
    {
        c.m.Protocollo = 2;
        const char* t[8] = {"10 Kbit/s",  "20 Kbit/s",  "50 Kbit/s",  "125 Kbit/s",
                            "250 Kbit/s", "500 Kbit/s", "800 Kbit/s", "1 Mbit/s"};
        for (int k = 1; k <= 8; ++k)
            c.m.TestiBaudRate(k) = t[k - 1];
    }
    void devicenet()
    {
        c.m.Protocollo = 3;
        c.m.TestiBaudRate(1) = "125 Kbit/s";
        c.m.TestiBaudRate(2) = "250 Kbit/s";
        c.m.TestiBaudRate(3) = "500 Kbit/s";
        for (int k = 4; k <= 7; ++k)
            c.m.TestiBaudRate(k) = "";
    }
};

TEST_F(BaudRate, ProfibusTerminationOnAndOff)
{
    f.CmdTerminazione.setCaption(c.m.testi.CaptTerminazioneOn);
    eventoClick(c, f.CmdTerminazione);
    EXPECT_EQ(rig.taken(), Lines{"TERMINAZIONE ON"});
    EXPECT_EQ(f.CmdTerminazione.caption(), "DISINSERISCI TERMINAZIONE");
    EXPECT_EQ(f.ConnettoreProfibus.fillColor(), colore::Rosso);
    eventoClick(c, f.CmdTerminazione);
    EXPECT_EQ(rig.taken(), Lines{"TERMINAZIONE OFF"});
    EXPECT_EQ(f.CmdTerminazione.caption(), "INSERISCI TERMINAZIONE");
    EXPECT_EQ(f.ConnettoreProfibus.fillColor(), colore::Nero);
    EXPECT_FALSE(f.FrmBaudRate.visible());
}

TEST_F(BaudRate, DevicenetFrameOffersThreeRates)
{
    devicenet();
    eventoClick(c, f.CmdTerminazione);
    EXPECT_TRUE(rig.taken().empty());  // opening the frame sends nothing
    EXPECT_TRUE(f.FrmBaudRate.visible());
    EXPECT_EQ(f.FrmBaudRate.caption(), "BAUD RATE DEVICENET");
    EXPECT_EQ(f.Option1[0]->caption(), "125 Kbit/s");
    EXPECT_EQ(f.Option1[2]->caption(), "500 Kbit/s");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(f.Option1[k]->visible(), k < 3) << k;

    eventoClick(c, *f.Option1[2]);
    rig.port.replies = {"NUM:"};
    eventoClick(c, f.CmdBaudRate);
    EXPECT_EQ(rig.taken(), (Lines{"SET BAUD RATE", " 2"}));
    EXPECT_FALSE(f.FrmBaudRate.visible());
    EXPECT_EQ(c.m.IndiceBaudRate, 2);
    EXPECT_EQ(f.CmdTerminazione.caption(), "500 Kbit/s");
}

TEST_F(BaudRate, CanopenOneMbitIsSentAsSpaceSeven)
{
    canopen();
    eventoClick(c, f.CmdTerminazione);
    EXPECT_EQ(f.FrmBaudRate.caption(), "BAUD RATE CANOPEN");
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(f.Option1[k]->visible()) << k;
    eventoClick(c, *f.Option1[7]);
    rig.port.replies = {"NUM:"};
    eventoClick(c, f.CmdBaudRate);
    EXPECT_EQ(rig.taken(), (Lines{"SET BAUD RATE", " 7"}));
    EXPECT_EQ(f.CmdTerminazione.caption(), "1 Mbit/s");
}

TEST_F(BaudRate, ConfirmingWithoutAChoiceResendsTheCurrentRate)
{
    canopen();
    c.m.IndiceBaudRate = 3;
    for (Control* o : f.Option1)
        o->setValue(false);
    rig.port.replies = {"NUM:"};
    eventoClick(c, f.CmdBaudRate);
    EXPECT_EQ(rig.taken(), (Lines{"SET BAUD RATE", " 3"}));
    EXPECT_EQ(f.CmdTerminazione.caption(), "125 Kbit/s");

    // A rate the island reported outside 0..7 has no text: the caption stays.
    c.m.IndiceBaudRate = 9;
    rig.port.replies = {"NUM:"};
    EXPECT_NO_THROW(eventoClick(c, f.CmdBaudRate));
    EXPECT_EQ(rig.taken(), (Lines{"SET BAUD RATE", " 9"}));
    EXPECT_EQ(f.CmdTerminazione.caption(), "125 Kbit/s");
}

} // namespace
} // namespace ondrix
