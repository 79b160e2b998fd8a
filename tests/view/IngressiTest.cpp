#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/ReplyPort.h"
#include "view/Vista.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

struct Ingressi : ::testing::Test {
    test::ScriptedRig rig;
    Configuratore& c = rig.c;
    Form& f = c.f;
};

TEST_F(Ingressi, SixteenInputModuleShowsDisabledInputsAsDPaleYellow)
{
    rig.moduli({16});
    c.m.Moduli(1).RevPic = 31;
    c.m.NumeriIngressi(3) = IndiceDisabilitato;
    c.m.NumeriIngressi(4) = IndiceDisabilitato;
    c.m.StatoIngressi(6) = 1;
    c.m.StatoIngressi(7) = 7;  // neither on nor off: the colour it had
    f.DInput[6]->setBackColor(colore::Rosso);
    DisegnaInput(c.m, c.f, 0);

    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_FALSE(f.Frame2.visible());
    EXPECT_TRUE(f.Corpo16In.visible());
    EXPECT_FALSE(f.ATMEL.visible());
    EXPECT_FALSE(f.CmdTerminazione.visible());
    EXPECT_FALSE(f.CmdPAddress.visible());
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 31");
    EXPECT_EQ(f.Combo2.text(), " 1");
    for (int i : {2, 3}) {
        EXPECT_EQ(f.DInput[i]->caption(), "D");
        EXPECT_EQ(f.DInput[i]->backColor(), colore::GialloPallido);
    }
    EXPECT_EQ(f.DInput[0]->caption(), "1");
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[5]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[6]->backColor(), colore::Rosso);
    EXPECT_EQ(f.DInput[15]->caption(), "16");
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(f.DInput[i]->visible()) << i;
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(f.ConnettoreInput[i]->visible()) << i;
    // Repeated drawing does not grow the firmware caption.
    DisegnaInput(c.m, c.f, 0);
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 31");
}

TEST_F(Ingressi, EightInputModuleAfterASixteenShowsOnlyItsOwnInputs)
{
    rig.moduli({16, 8});
    for (int r = 17; r <= 24; ++r)
        c.m.NumeriIngressi(r) = static_cast<std::int16_t>(r + 83);  // 100..107
    c.m.NumeriIngressi(19) = IndiceDisabilitato;
    c.m.StatoIngressi(18) = 1;
    DisegnaInput(c.m, c.f, 0);
    DisegnaInput(c.m, c.f, 1);

    EXPECT_EQ(f.Combo2.text(), " 2");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(f.DInput[i]->visible()) << i;
    for (int i = 8; i < 16; ++i)
        EXPECT_FALSE(f.DInput[i]->visible()) << i;
    EXPECT_EQ(f.DInput[0]->caption(), "101");
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[2]->caption(), "D");
    EXPECT_EQ(f.DInput[2]->backColor(), colore::GialloPallido);
    EXPECT_EQ(f.DInput[7]->caption(), "108");
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(f.ConnettoreInput[i]->visible(), i < 4 || i > 7) << i;

    // Back to the 16-input module: everything shown again.
    DisegnaInput(c.m, c.f, 0);
    EXPECT_TRUE(f.DInput[15]->visible());
    EXPECT_TRUE(f.ConnettoreInput[5]->visible());
}

TEST_F(Ingressi, UnknownModuleTypeLeavesThePictureAsItWas)
{
    rig.moduli({16, 8});
    DisegnaInput(c.m, c.f, 0);
    c.m.Moduli(2).Tipo = -1;
    c.m.Moduli(2).RevPic = 44;
    c.m.StatoIngressi(17) = 1;
    DisegnaInput(c.m, c.f, 1);
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 44");
    EXPECT_TRUE(f.DInput[15]->visible());
    EXPECT_EQ(f.DInput[0]->caption(), "1");
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Giallo);
}

TEST_F(Ingressi, AddressButtonNeedsEveryModuleAt21AndTheHeadAt41)
{
    rig.moduli({16, 8});
    c.m.RevAtmel = 41;
    DisegnaInput(c.m, c.f, 0);
    EXPECT_TRUE(f.CmdAddressIn.visible());
    c.m.Moduli(2).RevPic = 20;
    DisegnaInput(c.m, c.f, 0);
    EXPECT_FALSE(f.CmdAddressIn.visible());
    c.m.Moduli(2).RevPic = 21;
    c.m.RevAtmel = 40;
    DisegnaInput(c.m, c.f, 0);
    EXPECT_FALSE(f.CmdAddressIn.visible());
    // No module at all: nothing to re-address.
    c.m.RevAtmel = 46;
    c.m.NumModuli = 0;
    DisegnaInput(c.m, c.f, 0);
    EXPECT_FALSE(f.CmdAddressIn.visible());
}

TEST_F(Ingressi, OutOfRangeModulesAndRowsAreSkipped)
{
    rig.moduli({16, 16, 16, 16});  // 64 inputs, 50 rows
    for (int indice : {-1, 10, 32767, -32768})
        EXPECT_NO_THROW(DisegnaInput(c.m, c.f, indice));
    EXPECT_FALSE(f.Frame1.visible());

    DisegnaInput(c.m, c.f, 3);  // rows 49..64: only 49 and 50 exist
    EXPECT_TRUE(f.DInput[0]->visible());
    EXPECT_TRUE(f.DInput[1]->visible());
    for (int i = 2; i < 16; ++i)
        EXPECT_FALSE(f.DInput[i]->visible()) << i;

    // A module beyond the list: drawn from the model, the list left alone.
    c.m.Moduli(7) = {1, 8, 8, 25, 0};
    EXPECT_NO_THROW(DisegnaInput(c.m, c.f, 6));
    EXPECT_EQ(f.Combo2.text(), " 4");
}

TEST_F(Ingressi, OptionButtonsSwitchBetweenInputsAndOutputs)
{
    rig.moduli({16, 8, 8});
    f.Combo2.setText(" 3");
    c.m.StatoIngressi(25) = 1;
    eventoClick(c, f.OptInput);
    EXPECT_TRUE(f.OptInput.value());
    EXPECT_TRUE(f.Combo2.enabled());
    EXPECT_FALSE(f.Combo1.enabled());
    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Verde);  // module 3, row 25
    EXPECT_FALSE(f.DInput[8]->visible());

    eventoClick(c, f.OptOutput);
    EXPECT_TRUE(f.OptOutput.value());
    EXPECT_FALSE(f.Combo2.enabled());
    EXPECT_TRUE(f.Combo1.enabled());

    // Choosing a module in the list draws it.
    eventoClick(c, f.OptInput);
    eventoSceltaLista(c, f.Combo2, 0);
    EXPECT_EQ(f.Combo2.text(), " 1");
    EXPECT_TRUE(f.DInput[15]->visible());
}

TEST_F(Ingressi, NoModuleNumberInTheListDrawsNothing)
{
    // An island without inputs: the list is empty.
    eventoClick(c, f.OptInput);
    EXPECT_TRUE(f.Combo2.enabled());
    EXPECT_FALSE(f.Frame1.visible());
    Combo2_Click(c);
    EXPECT_FALSE(f.Frame1.visible());

    rig.moduli({8});
    f.Combo2.setText("x1");
    EXPECT_EQ(moduloScelto(f), std::nullopt);
    f.Combo2.setText(" 1");
    EXPECT_EQ(moduloScelto(f), 0);
    f.Combo2.setText(" 10");
    EXPECT_EQ(moduloScelto(f), 9);
}

} // namespace
} // namespace ondrix
