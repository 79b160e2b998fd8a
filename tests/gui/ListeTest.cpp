// The body list as a hand and a keyboard use it, on the simulated island: a
// click anywhere opens it until an entry is chosen or the user clicks
// elsewhere; the navigation keys choose entries, typed characters do not;
// a choice reaches the handlers only when no dialogue runs.

#include "GuiSupport.h"

#include "gui/MainWindow.h"
#include "gui/Widgets.h"

#include <QAbstractItemView>
#include <QTest>

#include <gtest/gtest.h>

namespace ondrix {
namespace {

// The default island with two more expansions: four entries in the list.
sim::Scenario quattroCorpi()
{
    sim::Scenario s = sim::defaultScenario();
    int indice = 21;
    for (int numero : {2, 3}) {
        sim::Body b{numero, 2, 46, {}};
        for (int pos = 1; pos <= 4; ++pos) {
            sim::Coil c;
            c.position = pos;
            c.index = indice++;
            b.coils.push_back(c);
        }
        s.bodies.push_back(b);
    }
    return s;
}

struct Liste : test::IslandWindow {
    Liste() : IslandWindow(quattroCorpi()) {}
    ListBox* lista = nullptr;

    void SetUp() override
    {
        IslandWindow::SetUp();
        lista = dynamic_cast<ListBox*>(w.widget(f.Combo1));
        ASSERT_NE(lista, nullptr);
        ASSERT_EQ(lista->count(), 4);
    }
    void TearDown() override
    {
        if (lista)
            lista->hidePopup();
        w.hide();
    }
    int corrente() const { return rig.c.m.EspansioneCorrente; }
};

TEST_F(Liste, AClickAnywhereOpensTheListUntilAnEntryIsChosenOrTheUserClicksElsewhere)
{
    QAbstractItemView* v = lista->view();
    const int h = lista->height() / 2;
    // On the text and on the arrow, each press held as long as a hand holds it.
    int scelta = 1;
    for (const QPoint at : {QPoint(8, h), QPoint(lista->width() - 6, h)}) {
        QTest::mousePress(lista, Qt::LeftButton, {}, at);
        QTest::qWait(2 * QApplication::doubleClickInterval());
        QTest::mouseRelease(lista, Qt::LeftButton, {}, at);
        ASSERT_TRUE(v->isVisible()) << "closed after the click at " << at.x();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                          v->visualRect(v->model()->index(scelta, 0)).center());
        EXPECT_FALSE(v->isVisible());
        EXPECT_EQ(corrente(), scelta);
        EXPECT_EQ(f.Combo1.text(), std::to_string(scelta));
        ++scelta;
    }

    // A click elsewhere closes the list and chooses nothing.
    QTest::mouseClick(lista, Qt::LeftButton, {}, QPoint(8, h));
    ASSERT_TRUE(v->isVisible());
    const QPoint altrove = w.widget(f.Label1)->mapToGlobal(QPoint(2, 2));
    QTest::mouseClick(v->window(), Qt::LeftButton, {}, v->window()->mapFromGlobal(altrove));
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(corrente(), 2);
}

TEST_F(Liste, NavigationKeysChooseEntriesTypedCharactersDoNotAndADialogueDropsTheChoice)
{
    const struct {
        int key;
        Qt::KeyboardModifiers mod;
        int entry;
    } steps[] = {{Qt::Key_End, {}, 3},      {Qt::Key_Home, {}, 0},    {Qt::Key_Down, {}, 1},
                 {Qt::Key_Down, {}, 2},     {Qt::Key_Up, {}, 1},      {Qt::Key_PageDown, {}, 2},
                 {Qt::Key_PageUp, {}, 1},   {Qt::Key_3, {}, 1},       {Qt::Key_A, {}, 1},
                 {Qt::Key_Space, {}, 1},    {Qt::Key_Home, {}, 0}};
    for (const auto& s : steps) {
        QTest::keyClick(lista, Qt::Key(s.key), s.mod);
        EXPECT_EQ(corrente(), s.entry) << "after key " << std::hex << s.key;
        EXPECT_EQ(lista->currentIndex(), s.entry);
        EXPECT_FALSE(lista->view()->isVisible());
    }

    // F4 and Alt+Down open the list; the keys then move in it and Enter chooses.
    for (const auto& open : {std::pair{Qt::Key_F4, Qt::NoModifier}, std::pair{Qt::Key_Down, Qt::AltModifier}}) {
        QTest::keyClick(lista, open.first, open.second);
        ASSERT_TRUE(lista->view()->isVisible());
        QTest::keyClick(lista->view(), Qt::Key_End);
        QTest::keyClick(lista->view(), Qt::Key_Return);
        EXPECT_FALSE(lista->view()->isVisible());
        EXPECT_EQ(corrente(), 3);
        QTest::keyClick(lista, Qt::Key_Home);
    }

    // While a dialogue with the island runs, a key's choice is dropped and
    // the list shows the Form's entry again.
    auto dialogo = rig.c.ch.tryBegin();
    ASSERT_TRUE(dialogo);
    QTest::keyClick(lista, Qt::Key_End);
    EXPECT_EQ(corrente(), 0);
    EXPECT_EQ(f.Combo1.listIndex(), 0);
    EXPECT_EQ(lista->currentIndex(), 0);
    EXPECT_EQ(lista->shownText(), "0");
}

} // namespace
} // namespace ondrix
