#pragma once
// Shared pieces of the window tests: one QApplication for the whole program
// (offscreen unless a platform is set), the window on the simulated island,
// a port that is never used, and pixel and click helpers on the window.

#include "channel/SerialPort.h"
#include "form/Control.h"
#include "gui/MainWindow.h"
#include "support/IslandRig.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

#include <gtest/gtest.h>

namespace ondrix::test {

inline QApplication& guiApp()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_gui";
        static char* argv[] = {name, nullptr};
        // Never destroyed: Qt's own statics may go first at exit.
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The window on the simulated island, shown, the start-up done: where the
// window tests on an island start. A suite takes it under its own name
// (`using CoilClick = test::IslandWindow;`), or derives from it to give the
// island a scenario or to add steps of its own.
class IslandWindow : public ::testing::Test {
protected:
    explicit IslandWindow(sim::Scenario s = sim::defaultScenario()) : rig(std::move(s)) {}
    void SetUp() override
    {
        w.show();
        rig.startUp();
    }

    // Built before the window: no widget exists without the application.
    QApplication& app = guiApp();
    IslandRig rig;
    MainWindow w{rig.c};
    Form& f = rig.c.f;
};

// A port the window tests never open.
class IdlePort : public SerialPort {
public:
    void setPortNumber(int n) override { n_ = n; }
    int portNumber() const override { return n_; }
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    void write(const std::string&) override { throw PortError("idle port"); }
    std::int64_t outputCount() override { return 0; }
    std::int64_t inputCount() override { return 0; }
    std::string readAll() override { return {}; }

private:
    int n_ = 1;
};

inline QColor toQ(Rgb c) { return QColor(c.r, c.g, c.b); }

// The window as it is on screen, every child painted.
inline QImage grabWindow(MainWindow& w) { return w.grab().toImage(); }

// Colour of the window's pixel at a point of a control's widget.
inline QColor pixelOf(const QImage& img, MainWindow& w, const Control& ctl, QPoint inWidget)
{
    const QPoint p = w.widget(ctl)->mapTo(&w, inWidget);
    return img.pixelColor(p);
}

// Presses and releases the left button where the control's centre is, on
// whatever widget takes the mouse there (an outline lying over a coil button
// must not); gives that widget.
inline QWidget* clickCentreOf(MainWindow& w, const Control& ctl)
{
    QWidget* cw = w.widget(ctl);
    const QPoint inWindow = cw->mapTo(&w, cw->rect().center());
    QWidget* hit = w.childAt(inWindow);
    if (!hit) {
        ADD_FAILURE() << "no widget at the centre of " << ctl.name();
        return nullptr;
    }
    const QPointF local(hit->mapFrom(&w, inWindow));
    const QPointF global(hit->mapToGlobal(local.toPoint()));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(hit, &press);
    QApplication::sendEvent(hit, &release);
    return hit;
}

} // namespace ondrix::test
