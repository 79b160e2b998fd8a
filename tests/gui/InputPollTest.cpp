// The technician switches the real window to the inputs of the simulated
// island: the module appears, and once the island turns an input on the
// polling timer paints its button green.

#include "GuiSupport.h"

#include "gui/MainWindow.h"

#include <QElapsedTimer>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::grabWindow;
using test::pixelOf;
using test::toQ;
using test::clickCentreOf;
using InputPoll = test::IslandWindow;

QColor inputPixel(MainWindow& w, const Control& b)
{
    const QWidget* bw = w.widget(b);
    return pixelOf(grabWindow(w), w, b, QPoint(2, bw->height() / 2));
}

TEST_F(InputPoll, SwitchingToTheInputsShowsTheModuleAndAPolledChangeTurnsAnInputGreen)
{
    rig.clearLines();
    ASSERT_TRUE(w.widget(f.Frame1)->isHidden());

    clickCentreOf(w, f.OptInput);
    EXPECT_TRUE(f.OptInput.value());
    EXPECT_FALSE(w.widget(f.Frame1)->isHidden());
    EXPECT_TRUE(w.widget(f.Frame2)->isHidden());
    Control& input2 = *f.DInput[1];  // number 1, off
    ASSERT_FALSE(w.widget(input2)->isHidden());
    EXPECT_EQ(inputPixel(w, input2), toQ(colore::Giallo));
    EXPECT_EQ(inputPixel(w, *f.DInput[2]), toQ(colore::GialloPallido));  // disabled input 3

    rig.island.state().modules[0].inputs[1].on = true;
    f.Timer1.setInterval(10);  // no need to wait the half second of the design
    QElapsedTimer t;
    t.start();
    while (rig.lines().empty() && t.elapsed() < 30'000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_FALSE(rig.lines().empty()) << "the polling timer never fired";
    EXPECT_EQ(rig.lines().front(), "GET DIGITAL INPUT");
    EXPECT_EQ(inputPixel(w, input2), toQ(colore::Verde));
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

} // namespace
} // namespace ondrix
