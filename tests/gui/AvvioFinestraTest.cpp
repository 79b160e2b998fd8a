// The window over a whole start-up on the simulated island: what the
// technician sees afterwards is what the Form holds.

#include "GuiSupport.h"

#include "gui/MainWindow.h"
#include "gui/Widgets.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <set>

namespace ondrix {
namespace {

using test::grabWindow;
using test::pixelOf;
using test::toQ;
using FinestraAvvio = test::IslandWindow;

TEST_F(FinestraAvvio, CoilPixelsMatchTheirStatesAfterTheStartUp)
{
    const QImage img = grabWindow(w);
    std::set<std::tuple<int, int, int>> seen;
    int shown = 0;
    for (Control* b : f.Bobina) {
        QWidget* bw = w.widget(*b);
        ASSERT_EQ(bw->isHidden(), !b->visible()) << "Bobina " << b->index();
        if (!b->visible())
            continue;
        ++shown;
        // Centre column, below the caption (the caption is centred).
        const QPoint at(bw->width() / 2, bw->height() - 5);
        EXPECT_EQ(pixelOf(img, w, *b, at), toQ(b->backColor())) << "Bobina " << b->index();
        EXPECT_EQ(bw->isEnabled(), b->enabled());
        EXPECT_EQ(static_cast<ColourButton*>(bw)->caption().toStdString(), b->caption());
        EXPECT_EQ(bw->font().bold(), b->bold());
        seen.insert({b->backColor().r, b->backColor().g, b->backColor().b});
    }
    EXPECT_EQ(shown, 16);  // the head of the default island has 8 stations
    // The default island shows every state: present, energised, faulty,
    // disabled, absent.
    for (Rgb c : {colore::Arancio, colore::Verde, colore::Rosso, colore::GialloPallido,
                  colore::Grigio})
        EXPECT_TRUE(seen.count({c.r, c.g, c.b})) << int(c.r) << "," << int(c.g) << "," << int(c.b);

    // Header and lists as the Form has them.
    EXPECT_EQ(w.windowTitle().toStdString(), f.caption());
    EXPECT_EQ(static_cast<QLabel*>(w.widget(f.Software))->text().toStdString(), f.Software.caption());
    auto* combo1 = static_cast<ListBox*>(w.widget(f.Combo1));
    EXPECT_EQ(combo1->count(), static_cast<int>(f.Combo1.list().size()));
    EXPECT_EQ(combo1->shownText().toStdString(), f.Combo1.text());
    EXPECT_EQ(static_cast<ListBox*>(w.widget(f.Combo2))->shownText().toStdString(),
              f.Combo2.text());
    // The head's connectors are drawn.
    EXPECT_FALSE(w.widget(f.ConnettoreProfibus)->isHidden());
    EXPECT_EQ(pixelOf(img, w, f.ConnettoreProfibus, w.widget(f.ConnettoreProfibus)->rect().center()),
              toQ(f.ConnettoreProfibus.fillColor()));
}

} // namespace
} // namespace ondrix
