// A technician's clicks in the real window on the simulated island: a coil
// button, then CmdAziona, and the coil's pixels turn from orange to green and
// back; the red outline appears around the clicked coil.

#include "GuiSupport.h"

#include "gui/MainWindow.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::grabWindow;
using test::pixelOf;
using test::toQ;
using test::clickCentreOf;
using CoilClick = test::IslandWindow;

QColor coilPixel(MainWindow& w, const Control& b)
{
    const QWidget* bw = w.widget(b);
    // Below the centred caption, inside the button.
    return pixelOf(grabWindow(w), w, b, QPoint(bw->width() / 2, bw->height() - 5));
}

TEST_F(CoilClick, ClickingACoilAndCmdAzionaSwitchesItsColour)
{
    rig.clearLines();
    Control& coil = *f.Bobina[0];  // index 0, present, not energised

    ASSERT_EQ(coilPixel(w, coil), toQ(colore::Arancio));
    EXPECT_TRUE(w.widget(*f.Shape6[0])->isHidden());

    clickCentreOf(w, coil);
    EXPECT_EQ(rig.c.m.BobinaCorrente, 0);
    EXPECT_FALSE(w.widget(*f.Shape6[0])->isHidden());
    EXPECT_TRUE(w.widget(f.CmdAziona)->isEnabled());

    clickCentreOf(w, f.CmdAziona);
    EXPECT_EQ(rig.lines(), (std::vector<std::string>{"CLOSE VALVOLA", "0", "GET DIAGNOSI"}));
    EXPECT_EQ(coilPixel(w, coil), toQ(colore::Verde));

    clickCentreOf(w, f.CmdAziona);
    EXPECT_EQ(coilPixel(w, coil), toQ(colore::Arancio));
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

TEST_F(CoilClick, AFaultyCoilTurnsRedAndTakesNoMoreClicks)
{
    Control& coil = *f.Bobina[7];  // index 7
    clickCentreOf(w, coil);
    rig.island.state().bodies[0].coils[7].diagnosis = 'C';
    clickCentreOf(w, f.CmdAziona);
    EXPECT_EQ(coilPixel(w, coil), toQ(colore::Rosso));
    EXPECT_FALSE(w.widget(coil)->isEnabled());

    rig.clearLines();
    clickCentreOf(w, coil);
    clickCentreOf(w, f.CmdAziona);
    EXPECT_TRUE(rig.lines().empty());
}

} // namespace
} // namespace ondrix
