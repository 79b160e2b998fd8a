// The input view on the simulated island; by default a 16-input module with
// inputs 3 and 4 disabled (inputs 1, 6, 10 on) and an 8-input module (2 and 7 on).

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"
#include "view/Vista.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

sim::InputModule modulo8(int rev = 22)
{
    sim::InputModule m{"8IN", rev, 2, true, {}};
    for (int i = 0; i < 8; ++i)
        m.inputs.push_back({i, false, 0});
    return m;
}

struct Ingressi : IslandRig {
    explicit Ingressi(sim::Scenario s = sim::defaultScenario()) : IslandRig(std::move(s)) { ready(); }
    Form& f = c.f;
};

TEST(Ingressi, SwitchingToTheInputsShowsTheSixteenInputModule)
{
    sim::Scenario s = sim::defaultScenario();
    s.modules[0].rev = 31;
    Ingressi r(s);
    Form& f = r.f;
    r.c.m.StatoIngressi(7) = 7;  // neither on nor off: the colour it had
    f.DInput[6]->setBackColor(colore::Rosso);
    r.click(f.OptInput);
    EXPECT_TRUE(r.lines().empty());  // drawn from what the start-up read

    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_FALSE(f.Frame2.visible());
    EXPECT_TRUE(f.Corpo16In.visible());
    EXPECT_FALSE(f.ATMEL.visible());
    EXPECT_FALSE(f.CmdTerminazione.visible());
    EXPECT_FALSE(f.CmdPAddress.visible());
    EXPECT_TRUE(f.CmdAddressIn.visible());
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 31");
    EXPECT_EQ(f.Combo2.text(), " 1");
    for (int i : {2, 3}) {
        EXPECT_EQ(f.DInput[i]->caption(), "D") << i;
        EXPECT_EQ(f.DInput[i]->backColor(), colore::GialloPallido) << i;
    }
    EXPECT_EQ(f.DInput[0]->caption(), "1");
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[6]->backColor(), colore::Rosso);
    EXPECT_EQ(f.DInput[15]->caption(), "16");
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(f.DInput[i]->visible()) << i;
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(f.ConnettoreInput[i]->visible()) << i;
    // Repeated drawing does not grow the firmware caption.
    DisegnaInput(r.c.m, f, 0);
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 31");
}

TEST(Ingressi, TheEightInputModuleShowsOnlyItsOwnInputs)
{
    sim::Scenario s = sim::defaultScenario();
    for (int i = 0; i < 8; ++i)
        s.modules[1].inputs[static_cast<std::size_t>(i)].number = 100 + i;
    Ingressi r(s);
    Form& f = r.f;
    r.click(f.OptInput);
    eventoSceltaLista(r.c, f.Combo2, 1);
    EXPECT_EQ(f.Combo2.text(), " 2");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.DInput[i]->visible(), i < 8) << i;
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(f.ConnettoreInput[i]->visible(), i < 4 || i > 7) << i;
    EXPECT_EQ(f.DInput[0]->caption(), "101");
    EXPECT_EQ(f.DInput[1]->backColor(), colore::Verde);
    EXPECT_EQ(f.DInput[2]->caption(), "103");  // not the other module's "D"
    EXPECT_EQ(f.DInput[2]->backColor(), colore::Giallo);
    EXPECT_EQ(f.DInput[7]->caption(), "108");
    EXPECT_TRUE(r.lines().empty());

    // Back to the 16-input module: everything shown again.
    eventoSceltaLista(r.c, f.Combo2, 0);
    EXPECT_TRUE(f.DInput[15]->visible());
    EXPECT_TRUE(f.ConnettoreInput[5]->visible());
}

TEST(Ingressi, UnknownModuleTypeLeavesThePictureAsItWas)
{
    Ingressi r;
    Model& m = r.c.m;
    DisegnaInput(m, r.f, 0);
    m.Moduli(2).Tipo = -1;
    m.Moduli(2).RevPic = 44;
    DisegnaInput(m, r.f, 1);
    EXPECT_EQ(r.f.PIC.caption(), "VERSIONE FIRMWARE PIC: 44");
    EXPECT_TRUE(r.f.DInput[15]->visible());
    EXPECT_EQ(r.f.DInput[0]->caption(), "1");
    EXPECT_EQ(r.f.DInput[0]->backColor(), colore::Verde);
}

TEST(Ingressi, AddressButtonNeedsEveryModuleAt21AndTheHeadAt41)
{
    struct Caso {
        int revAtmel, revModulo2;
        bool visibile;
    };
    for (const Caso& k : {Caso{41, 21, true}, Caso{41, 20, false}, Caso{40, 21, false}}) {
        sim::Scenario s = sim::defaultScenario();
        s.revAtmel = k.revAtmel;
        s.modules[1].rev = k.revModulo2;
        Ingressi r(s);
        DisegnaInput(r.c.m, r.f, 0);
        EXPECT_EQ(r.f.CmdAddressIn.visible(), k.visibile) << k.revAtmel << " " << k.revModulo2;
    }
    // No module at all: nothing to re-address.
    sim::Scenario s = sim::defaultScenario();
    s.modules.clear();
    Ingressi r(s);
    DisegnaInput(r.c.m, r.f, 0);
    EXPECT_FALSE(r.f.CmdAddressIn.visible());
}

TEST(Ingressi, OutOfRangeModulesAndRowsAreSkipped)
{
    Ingressi r;
    Model& m = r.c.m;
    // Four modules of 16 inputs (64, more than the 50 rows).
    m.NumModuli = 4;
    m.TotaleIngressi = 64;
    for (int k = 2; k <= 4; ++k)
        m.Moduli(k) = m.Moduli(1);
    r.f.Combo2.addItem(" 3");
    r.f.Combo2.addItem(" 4");
    for (int indice : {-1, 10, 32767, -32768})
        EXPECT_NO_THROW(DisegnaInput(m, r.f, indice));
    EXPECT_FALSE(r.f.Frame1.visible());

    DisegnaInput(m, r.f, 3);  // rows 49..64: only 49 and 50 exist
    EXPECT_TRUE(r.f.DInput[0]->visible());
    EXPECT_TRUE(r.f.DInput[1]->visible());
    for (int i = 2; i < 16; ++i)
        EXPECT_FALSE(r.f.DInput[i]->visible()) << i;

    // A module beyond the list: drawn from the model, the list left alone.
    m.Moduli(7) = {1, 8, 8, 25, 0};
    EXPECT_NO_THROW(DisegnaInput(m, r.f, 6));
    EXPECT_EQ(r.f.Combo2.text(), " 4");
}

TEST(Ingressi, OptionButtonsSwitchBetweenInputsAndOutputs)
{
    sim::Scenario s = sim::defaultScenario();
    s.modules.push_back(modulo8());
    s.modules.back().inputs[0].on = true;
    Ingressi r(s);
    Form& f = r.f;
    f.Combo2.setText(" 3");
    r.click(f.OptInput);
    EXPECT_TRUE(f.OptInput.value());
    EXPECT_TRUE(f.Combo2.enabled());
    EXPECT_FALSE(f.Combo1.enabled());
    EXPECT_TRUE(f.Frame1.visible());
    EXPECT_EQ(f.DInput[0]->backColor(), colore::Verde);  // module 3, row 25
    EXPECT_FALSE(f.DInput[8]->visible());

    // Back to the outputs: the body is drawn again and the polling stops.
    r.click(f.OptOutput);
    EXPECT_TRUE(f.OptOutput.value());
    EXPECT_FALSE(f.Combo2.enabled());
    EXPECT_TRUE(f.Combo1.enabled());
    EXPECT_TRUE(f.Frame2.visible());
    EXPECT_FALSE(f.Frame1.visible());
    EXPECT_TRUE(f.CmdPAddress.visible());
    r.clearLines();
    eventoTimer(r.c);
    EXPECT_TRUE(r.lines().empty());

    // Choosing a module in the list draws it.
    r.click(f.OptInput);
    eventoSceltaLista(r.c, f.Combo2, 0);
    EXPECT_EQ(f.Combo2.text(), " 1");
    EXPECT_TRUE(f.DInput[15]->visible());
    r.expectCleanDialogues();
}

TEST(Ingressi, NoModuleNumberInTheListDrawsNothing)
{
    // An island without inputs: the list is empty (and the option hidden).
    sim::Scenario s = sim::defaultScenario();
    s.modules.clear();
    Ingressi r(s);
    Form& f = r.f;
    EXPECT_FALSE(f.OptInput.visible());
    OptInput_Click(r.c);
    EXPECT_TRUE(f.Combo2.enabled());
    EXPECT_FALSE(f.Frame1.visible());
    Combo2_Click(r.c);
    EXPECT_FALSE(f.Frame1.visible());

    f.Combo2.setText("x1");
    EXPECT_EQ(moduloScelto(f), std::nullopt);
    f.Combo2.setText(" 1");
    EXPECT_EQ(moduloScelto(f), 0);
    f.Combo2.setText(" 10");
    EXPECT_EQ(moduloScelto(f), 9);
}

} // namespace
} // namespace ondrix
