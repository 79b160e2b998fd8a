// The Qt window on a Form: built from it, kept equal to it, and forwarding
// the user's events through the routing (never around it).

#include "GuiSupport.h"

#include "program/Configuratore.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"
#include "gui/Widgets.h"
#include "support/FakeHost.h"

#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace ondrix {
namespace {

using test::clickCentreOf;
using test::grabWindow;
using test::pixelOf;
using test::toQ;

class Finestra : public ::testing::Test {
protected:
    // Built before the window below: no widget exists without the application.
    QApplication& app = test::guiApp();
    test::FakeHost host;
    test::IdlePort port;
    Configuratore c{host, port};
    MainWindow w{c};

    template <typename T>
    T* as(const Control& ctl)
    {
        auto* p = dynamic_cast<T*>(w.widget(ctl));
        EXPECT_NE(p, nullptr) << ctl.name();
        return p;
    }
};

TEST_F(Finestra, BuiltFromTheForm)
{
    // One widget per control; the timer has none.
    for (Control* ctl : c.f.controls()) {
        if (ctl->kind() == Kind::Timer)
            EXPECT_EQ(w.widget(*ctl), nullptr);
        else
            ASSERT_NE(w.widget(*ctl), nullptr) << ctl->name() << ctl->index();
    }
    // Geometry at 15 twips per pixel, relative to the container.
    EXPECT_EQ(w.widget(c.f.Frame2)->geometry(), QRect(0, 168, 793, 361));
    EXPECT_EQ(w.widget(c.f.CmdCarica)->parentWidget(), w.widget(c.f.Frame2));
    EXPECT_EQ(w.widget(c.f.CmdCarica)->geometry(), QRect(40, 312, 113, 41));
    EXPECT_EQ(w.widget(*c.f.Bobina[0])->geometry(), QRect(672, 128, 25, 25));
    EXPECT_EQ(w.widget(*c.f.Bobina[15])->geometry(), QRect(448, 56, 25, 25));
    EXPECT_EQ(w.widget(*c.f.Option1[7])->parentWidget(), w.widget(c.f.FrmBaudRate));
    EXPECT_EQ(w.widget(*c.f.Option1[7])->geometry(), QRect(40, 192, 145, 25));
    // The selection outline frames its button: a square of the button's size,
    // its 8-pixel line half outside.
    EXPECT_EQ(w.widget(*c.f.Shape6[0])->geometry(), QRect(668, 124, 33, 33));

    // Shown and hidden as designed.
    EXPECT_TRUE(w.widget(c.f.FrmBaudRate)->isHidden());
    EXPECT_TRUE(w.widget(c.f.Frame1)->isHidden());
    EXPECT_TRUE(w.widget(c.f.CmdBootloader)->isHidden());
    EXPECT_TRUE(w.widget(*c.f.Shape6[3])->isHidden());
    EXPECT_FALSE(w.widget(c.f.Frame2)->isHidden());
    EXPECT_FALSE(w.widget(c.f.CmdAziona)->isEnabled());
    EXPECT_FALSE(w.widget(c.f.Combo2)->isEnabled());

    // Captions, bold, option values.
    EXPECT_EQ(as<ColourButton>(c.f.CmdCarica)->caption(), "CARICA CONFIGURAZIONE");
    EXPECT_EQ(as<QLabel>(c.f.PROFIBUS)->text(), "INDIRIZZO SLAVE: ");
    EXPECT_TRUE(as<QLabel>(c.f.Label9)->font().bold());
    EXPECT_FALSE(as<QLabel>(c.f.Label8)->font().bold());
    EXPECT_TRUE(as<QRadioButton>(c.f.OptOutput)->isChecked());
    EXPECT_FALSE(as<QRadioButton>(c.f.OptInput)->isChecked());

    // The window: caption, client area = the design's client area.
    EXPECT_EQ(w.windowTitle(), "ONDRIX - CONFIGURATORE");
    EXPECT_EQ(w.size(), QSize(c.f.clientWidth() / 15, c.f.clientHeight() / 15));

    // Stacking: the baud-rate frame lies over the output panel, the
    // outlines over the coil buttons, the bodies beneath them.
    const QObjectList& top = w.children();
    EXPECT_GT(top.indexOf(w.widget(c.f.FrmBaudRate)), top.indexOf(w.widget(c.f.Frame2)));
    const QObjectList& panel = w.widget(c.f.Frame2)->children();
    EXPECT_GT(panel.indexOf(w.widget(*c.f.Shape6[5])), panel.indexOf(w.widget(*c.f.Bobina[5])));
    EXPECT_LT(panel.indexOf(w.widget(c.f.Corpo8Posti)), panel.indexOf(w.widget(*c.f.Bobina[0])));
}

TEST_F(Finestra, PropertyChangesShowOnTheirWidget)
{
    c.f.CmdAziona.setCaption("DISATTIVA BOBINA");
    c.f.CmdAziona.setEnabled(true);
    EXPECT_EQ(as<ColourButton>(c.f.CmdAziona)->caption(), "DISATTIVA BOBINA");
    EXPECT_TRUE(w.widget(c.f.CmdAziona)->isEnabled());

    c.f.Bobina[4]->setBackColor(colore::Rosso);
    c.f.Bobina[4]->setBold(true);
    EXPECT_EQ(as<ColourButton>(*c.f.Bobina[4])->backColour(), QColor(255, 0, 0));
    EXPECT_TRUE(w.widget(*c.f.Bobina[4])->font().bold());

    c.f.FrmBaudRate.setVisible(true);
    EXPECT_FALSE(w.widget(c.f.FrmBaudRate)->isHidden());
    c.f.PROFIBUS.move(300, 450, 1500, 300);
    EXPECT_EQ(w.widget(c.f.PROFIBUS)->geometry(), QRect(20, 30, 100, 20));
    c.f.PIC.setCaption("VERSIONE FIRMWARE PIC: 47");
    EXPECT_EQ(as<QLabel>(c.f.PIC)->text(), "VERSIONE FIRMWARE PIC: 47");

    // A list shows its entries, the chosen one, and a text that is no entry.
    c.f.Combo1.addItem("0");
    c.f.Combo1.addItem("1");
    c.f.Combo1.setListIndex(1);
    auto* combo = as<QComboBox>(c.f.Combo1);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->currentText(), "1");
    c.f.Combo2.setText("1");
    EXPECT_EQ(as<ListBox>(c.f.Combo2)->shownText(), "1");
    EXPECT_EQ(as<QComboBox>(c.f.Combo2)->count(), 0);

    c.f.OptInput.setValue(true);
    EXPECT_TRUE(as<QRadioButton>(c.f.OptInput)->isChecked());
    EXPECT_FALSE(as<QRadioButton>(c.f.OptOutput)->isChecked());

    c.f.TxtColpi.setText("125.000");
    EXPECT_EQ(as<QLineEdit>(c.f.TxtColpi)->text(), "125.000");

    c.f.HScroll1.setScrollRange(0, 5000, 150, 150);
    c.f.HScroll1.setScrollValue(300);
    auto* bar = as<QScrollBar>(c.f.HScroll1);
    EXPECT_EQ(bar->maximum(), 5000);
    EXPECT_EQ(bar->singleStep(), 150);
    EXPECT_EQ(bar->value(), 300);

    c.f.setCaption("ONDRIX - CONFIGURATORE - PROFIBUS");
    EXPECT_EQ(w.windowTitle(), "ONDRIX - CONFIGURATORE - PROFIBUS");
    c.f.setGeometry(0, 0, 9600, 7200);
    EXPECT_EQ(w.size(), QSize((9600 - c.f.frameWidth()) / 15, (7200 - c.f.frameHeight()) / 15));
}

TEST_F(Finestra, MirroringNeverRunsAHandler)
{
    // A scroll value set by the program moves nothing; only the user's does.
    c.f.HScroll1.setScrollRange(0, 5000, 150, 150);
    c.f.HScroll1.setScrollValue(150);
    EXPECT_EQ(c.f.PROFIBUS.left(), 600);
    c.f.HScroll1.setScrollValue(0);

    as<QScrollBar>(c.f.HScroll1)->setValue(150);  // as a click on the bar does
    EXPECT_EQ(c.f.HScroll1.scrollValue(), 150);
    EXPECT_EQ(c.f.PROFIBUS.left(), 450);
    EXPECT_EQ(w.widget(c.f.PROFIBUS)->x(), 30);
}

TEST_F(Finestra, TimerFollowsTimer1)
{
    EXPECT_TRUE(w.timer().isActive());
    EXPECT_EQ(w.timer().interval(), 500);
    c.f.Timer1.setInterval(250);
    EXPECT_EQ(w.timer().interval(), 250);
    c.f.Timer1.setEnabled(false);
    EXPECT_FALSE(w.timer().isActive());
    c.f.Timer1.setEnabled(true);
    c.f.Timer1.setInterval(0);
    EXPECT_FALSE(w.timer().isActive());
}

TEST_F(Finestra, ClickOnACoilReachesItsHandlerThroughTheOutline)
{
    // An orange coil, and the outline of the coil next to it shown.
    c.f.Bobina[2]->setBackColor(colore::Arancio);
    c.f.Bobina[2]->setCaption("2");
    c.f.Bobina[2]->setEnabled(true);
    c.f.Shape6[2]->setVisible(true);
    c.m.BobinaCorrente = 9;

    QWidget* hit = clickCentreOf(w, *c.f.Bobina[2]);
    EXPECT_EQ(hit, w.widget(*c.f.Bobina[2]));
    EXPECT_EQ(c.m.BobinaCorrente, 2);
    EXPECT_TRUE(c.f.Shape6[2]->visible());
    EXPECT_FALSE(w.widget(*c.f.Shape6[2])->isHidden());
}

TEST_F(Finestra, EventsDuringADialogueAreDroppedAndTheWidgetShowsTheFormAgain)
{
    c.f.Bobina[2]->setBackColor(colore::Arancio);
    c.f.Bobina[2]->setEnabled(true);
    c.f.Combo1.addItem("0");
    c.f.Combo1.addItem("1");
    c.f.Combo1.setListIndex(0);
    c.m.BobinaCorrente = 9;
    {
        auto busy = c.ch.tryBegin();
        ASSERT_TRUE(busy);
        clickCentreOf(w, *c.f.Bobina[2]);
        EXPECT_EQ(c.m.BobinaCorrente, 9);

        // The option button the user clicked goes back to unselected.
        as<QRadioButton>(c.f.OptInput)->click();
        EXPECT_FALSE(c.f.OptInput.value());
        EXPECT_FALSE(as<QRadioButton>(c.f.OptInput)->isChecked());
        EXPECT_TRUE(as<QRadioButton>(c.f.OptOutput)->isChecked());

        // A choice in the list is dropped: the list shows the Form's entry.
        auto* combo = as<QComboBox>(c.f.Combo1);
        combo->setCurrentIndex(1);
        Q_EMIT combo->activated(1);
        EXPECT_EQ(c.f.Combo1.listIndex(), 0);
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_EQ(combo->currentText(), "0");

        // The close box is refused.
        w.show();
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
        w.hide();
    }
    clickCentreOf(w, *c.f.Bobina[2]);
    EXPECT_EQ(c.m.BobinaCorrente, 2);
}

TEST_F(Finestra, DoubleClickOnThePictureAsksForThePassword)
{
    auto* img = w.widget(c.f.Image1);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(10, 10), img->mapToGlobal(QPointF(10, 10)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(img, &dbl);
    ASSERT_EQ(host.inputs.size(), 1u);
    EXPECT_EQ(host.inputs[0].title, "PASSWORD");
}

TEST_F(Finestra, UserResizeReachesTheForm)
{
    w.show();
    w.resize(600, 400);
    QApplication::processEvents();
    EXPECT_EQ(c.f.width(), 600 * 15 + c.f.frameWidth());
    EXPECT_EQ(c.f.height(), 400 * 15 + c.f.frameHeight());
    EXPECT_EQ(w.size(), QSize(600, 400));
    w.hide();
}

TEST_F(Finestra, CoilButtonsShowTheirStateColourAlsoWhenDisabled)
{
    struct Case {
        Rgb colour;
        bool enabled;
    };
    const Case cases[] = {{colore::Grigio, false},  {colore::Arancio, true},
                          {colore::Rosso, false},   {colore::Verde, true},
                          {colore::GialloPallido, true}, {colore::Rosso, true}};
    for (int i = 0; i < 16; ++i) {
        const Case& k = cases[i % 6];
        Control& b = *c.f.Bobina[i];
        b.setCaption("");
        b.setBackColor(k.colour);
        b.setEnabled(k.enabled);
    }
    // The selection outline of one coil does not change its button's middle.
    c.f.Shape6[1]->setVisible(true);
    const QImage img = grabWindow(w);
    for (int i = 0; i < 16; ++i) {
        const Control& b = *c.f.Bobina[i];
        const QPoint mid = w.widget(b)->rect().center();
        EXPECT_EQ(pixelOf(img, w, b, mid), toQ(b.backColor())) << "Bobina " << i;
    }
    // The outline is red over the button's edge.
    EXPECT_EQ(pixelOf(img, w, *c.f.Bobina[1], QPoint(1, 12)), QColor(255, 0, 0));
    // Shapes: the legend squares and the dark green window.
    EXPECT_EQ(pixelOf(img, w, c.f.Shape2, QPoint(16, 16)), QColor(255, 128, 0));
    EXPECT_EQ(img.pixelColor(2, 2), QColor(0, 128, 0));
}

TEST_F(Finestra, EveryDefaultCaptionFitsItsControl)
{
    const QFont base = MainWindow::captionFont(15.0);
    for (Control* ctl : c.f.controls()) {
        if (ctl->caption().empty() || (ctl->kind() != Kind::Button && ctl->kind() != Kind::Label))
            continue;
        if (ctl->name() == "Bobina" || ctl->name() == "DInput")
            continue;  // numbers, checked below
        QFont f = base;
        f.setBold(ctl->bold());
        const QFontMetrics fm(f);
        const QRect box = w.widget(*ctl)->rect();
        // Buttons keep 3 pixels of border on each side.
        const QRect room = ctl->kind() == Kind::Button ? box.adjusted(3, 2, -3, -2) : box;
        const QString text = QString::fromStdString(ctl->caption());
        for (const QString& word : text.split(' ', Qt::SkipEmptyParts))
            EXPECT_LE(fm.horizontalAdvance(word), room.width()) << ctl->name() << ": " << word.toStdString();
        const QRect need = fm.boundingRect(room, Qt::TextWordWrap | Qt::AlignCenter, text);
        EXPECT_LE(need.height(), room.height()) << ctl->name();
    }
    QFont bold = base;
    const QFontMetrics fm(bold);
    EXPECT_LE(fm.horizontalAdvance("31"), 25 - 6);
    EXPECT_LE(fm.height(), 17 - 2);  // DInput buttons are 17 pixels high
}

TEST(QtHost, FileFilterAndBusyPointer)
{
    test::guiApp();
    FileDialogRequest req;
    req.filterDesc = "(*.txt)";
    req.filterPattern = "*.txt";
    EXPECT_EQ(nameFilter(req), "(*.txt)");
    req.filterDesc = "Configurazioni";
    EXPECT_EQ(nameFilter(req), "Configurazioni (*.txt)");

    QtHost host;
    host.setBusyPointer(true);
    host.setBusyPointer(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.setBusyPointer(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // one restore undoes the double set

    const ScreenInfo s = host.screen();
    EXPECT_GT(s.widthPx, 0);
    EXPECT_GT(s.twipsPerPixelX, 0.0);
    EXPECT_GE(s.taskbarHeightPx, 0);
    EXPECT_FALSE(host.programDir().empty());
}

} // namespace
} // namespace ondrix
