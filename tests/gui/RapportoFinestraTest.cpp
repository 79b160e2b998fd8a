// The service report is asked for in the window with Ctrl+P or from its
// context menu, whose entry comes from the resource file.

#include "GuiSupport.h"

#include "gui/MainWindow.h"
#include "support/IslandRig.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

TEST(RapportoFinestra, CtrlPAndTheContextMenuOpenTheReportsDialog)
{
    test::guiApp();
    IslandRig rig;
    MainWindow w(rig.c);
    w.show();
    rig.startUp();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(rig.host.fileDialogs.size(), 1u);
    EXPECT_EQ(rig.host.fileDialogs[0].defaultExt, ".pdf");

    QString voce;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        voce = menu->actions().front()->text();
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint dove(20, 20);
    QContextMenuEvent e(QContextMenuEvent::Mouse, dove, w.mapToGlobal(dove));
    QApplication::sendEvent(&w, &e);
    EXPECT_EQ(voce.toStdString(), "Rapporto di servizio…");
    EXPECT_EQ(rig.host.fileDialogs.size(), 2u);
}

} // namespace
} // namespace ondrix
