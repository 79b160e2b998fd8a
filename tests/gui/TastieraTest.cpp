// The window with the keyboard alone, on the simulated island: Tab visits
// every button that can be pressed in reading order (rows from top to
// bottom, left to right), the focused button shows it, and Space presses it.

#include "GuiSupport.h"

#include "gui/MainWindow.h"

#include <QTest>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

// The keyboard reaches the active window only.
struct Tastiera : test::IslandWindow {
    void SetUp() override
    {
        IslandWindow::SetUp();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

TEST_F(Tastiera, TabVisitsTheControlsInReadingOrderAndSpacePressesTheFocusedOne)
{
    const auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };

    // The default island's head: coils 3 and 6 are faulty, 14 and 15
    // absent; the buttons of a selected coil are still disabled.
    std::vector<Control*> expected = {&f.CmdPAddress, &f.OptInput, &f.CmdTerminazione, &f.Combo1,
                                      &f.OptOutput};
    for (int i : {13, 11, 9, 7, 5, 1, 12, 10, 8, 4, 2, 0})
        expected.push_back(f.Bobina[i]);
    for (Control* b : {&f.CmdReset, &f.CmdDisableAll, &f.CmdAll, &f.CmdSalva, &f.CmdCarica, &f.CmdEsci})
        expected.push_back(b);

    QWidget* first = QApplication::focusWidget();
    EXPECT_EQ(first, w.widget(*expected.front()));
    std::vector<std::string> visited;
    for (QWidget* at = first; visited.size() < 60;) {
        visited.push_back(at->objectName().toStdString());
        tab();
        at = QApplication::focusWidget();
        if (at == first)
            break;
    }
    std::vector<std::string> names;
    for (Control* c : expected)
        names.push_back(w.widget(*c)->objectName().toStdString());
    EXPECT_EQ(visited, names);

    // The focus shows on a coil button; Space presses it.
    while (QApplication::focusWidget() != w.widget(*f.Bobina[13]))
        tab();
    QWidget* coil = w.widget(*f.Bobina[13]);
    const QImage focused = coil->grab().toImage();
    tab();
    EXPECT_NE(coil->grab().toImage(), focused) << "no sign of the focus on the button";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), coil);
    QTest::keyClick(coil, Qt::Key_Space);
    EXPECT_EQ(rig.c.m.BobinaCorrente, 13);
    EXPECT_TRUE(f.Shape6[13]->visible());
}

TEST_F(Tastiera, AControlReachedWithTabOutsideTheShownPartScrollsIntoView)
{
    f.setGeometry(0, 0, 640 * 15, 480 * 15);  // both bars shown
    ASSERT_TRUE(f.HScroll1.visible() && f.VScroll1.visible());
    const QRect shown(0, 0, w.width() - w.widget(f.VScroll1)->width(),
                      w.height() - w.widget(f.HScroll1)->height());
    const auto inView = [&](const Control& c) {
        const QWidget* cw = w.widget(c);
        return shown.contains(QRect(cw->mapTo(&w, QPoint(0, 0)), cw->size()));
    };
    ASSERT_FALSE(inView(f.CmdEsci));

    // Back from the first control to the last one, and on again to the first.
    w.widget(f.CmdPAddress)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), w.widget(f.CmdEsci));
    EXPECT_TRUE(inView(f.CmdEsci));
    EXPECT_GT(f.VScroll1.scrollValue(), 0);
    EXPECT_EQ(w.widget(f.VScroll1)->property("value").toInt(), f.VScroll1.scrollValue());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(inView(f.CmdPAddress));
}

} // namespace
} // namespace ondrix
