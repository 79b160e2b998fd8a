// The input view on the simulated default island: a 16-input module with
// inputs 3 and 4 disabled, and an 8-input module.

#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

struct IngressiIsola : ::testing::Test {
    IslandRig rig;
    Configuratore& c = rig.c;
    Form& f = c.f;
    void SetUp() override
    {
        rig.startUp();
        rig.clearLines();
    }
};

TEST_F(IngressiIsola, SwitchingToTheInputsShowsTheSixteenInputModule)
{
    eventoClick(c, f.OptInput);
    EXPECT_TRUE(rig.lines().empty());  // drawn from what the start-up read
    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_FALSE(f.Frame2.visible());
    EXPECT_EQ(f.Combo2.text(), " 1");
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 23");
    for (int i : {2, 3}) {
        EXPECT_EQ(f.DInput[i]->caption(), "D") << i;
        EXPECT_EQ(f.DInput[i]->backColor(), colore::GialloPallido) << i;
    }
    EXPECT_EQ(f.DInput[0]->caption(), "1");
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[15]->caption(), "16");
    EXPECT_TRUE(f.CmdAddressIn.visible());
    EXPECT_FALSE(f.CmdPAddress.visible());
    EXPECT_FALSE(f.CmdTerminazione.visible());
}

TEST_F(IngressiIsola, TheEightInputModuleHidesWhatTheSixteenShowed)
{
    eventoClick(c, f.OptInput);
    eventoSceltaLista(c, f.Combo2, 1);
    EXPECT_EQ(f.Combo2.text(), " 2");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.DInput[i]->visible(), i < 8) << i;
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(f.ConnettoreInput[i]->visible(), i < 4 || i > 7) << i;
    EXPECT_EQ(f.DInput[2]->caption(), "3");  // not the other module's "D"
    EXPECT_EQ(f.DInput[2]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Verde);
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(IngressiIsola, BackToTheOutputsRedrawsTheBodyAndStopsThePolling)
{
    eventoClick(c, f.OptInput);
    eventoClick(c, f.OptOutput);
    EXPECT_TRUE(f.Frame2.visible());
    EXPECT_FALSE(f.Frame1.visible());
    EXPECT_TRUE(f.Combo1.enabled());
    EXPECT_FALSE(f.Combo2.enabled());
    EXPECT_TRUE(f.CmdPAddress.visible());
    rig.clearLines();
    eventoTimer(c);
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

} // namespace
} // namespace ondrix
