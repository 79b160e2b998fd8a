// Window layout at load from the window keys and the screen, the scroll bars
// after a resize, and scrolling of the top-level controls.

#include "frame/Layout.h"

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ondrix {
namespace {

// A program folder whose "Stringhe.txt" holds only the four window keys.
struct Cartella {
    std::filesystem::path dir;
    explicit Cartella(const std::string& contenuto)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("ondrix-layout-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "Stringhe.txt", std::ios::binary) << contenuto;
    }
    ~Cartella() { std::filesystem::remove_all(dir); }
};

std::string chiavi(int x, int y, int ix = 0, int iy = 0)
{
    return "[DIMENSIONESCHERMOX]\r\n" + std::to_string(x) + "\r\n[DIMENSIONESCHERMOY]\r\n" +
           std::to_string(y) + "\r\n[INIZIALEX]\r\n" + std::to_string(ix) + "\r\n[INIZIALEY]\r\n" +
           std::to_string(iy) + "\r\n";
}

struct Finestra : IslandRig {
    Cartella cartella;
    Finestra(const std::string& contenuto, int larghezzaPx = 1024, int altezzaPx = 768, int taskbarPx = 0)
        : cartella(contenuto)
    {
        host.dir = cartella.dir.string();
        host.screenInfo.widthPx = larghezzaPx;
        host.screenInfo.heightPx = altezzaPx;
        host.screenInfo.taskbarHeightPx = taskbarPx;
    }
    void carica() { eventoLoad(c); }
    bool barre(bool h, bool v, bool angolo) const
    {
        return c.f.HScroll1.visible() == h && c.f.VScroll1.visible() == v && c.f.Frame3.visible() == angolo;
    }
};

TEST(Layout, SizeKeysInPixelsPlaceTheBarsAndTheCorner)
{
    Finestra w(chiavi(640, 480, 10, 20));
    w.carica();
    const Form& f = w.c.f;
    EXPECT_TRUE(f.LayoutPronto);
    EXPECT_EQ(f.width(), 9600);
    EXPECT_EQ(f.height(), 7200);
    EXPECT_EQ(f.left(), 150);
    EXPECT_EQ(f.top(), 300);
    EXPECT_TRUE(w.barre(true, true, true));
    // Borders of 8 x 27 pixels: client area 9480 x 6795 twips.
    EXPECT_EQ(f.VScroll1.left(), 9480 - 255);
    EXPECT_EQ(f.VScroll1.top(), 0);
    EXPECT_EQ(f.VScroll1.height(), 6795 - 255);
    EXPECT_EQ(f.HScroll1.top(), 6795 - 255);
    EXPECT_EQ(f.HScroll1.left(), 0);
    EXPECT_EQ(f.HScroll1.width(), 9480 - 255);
    EXPECT_EQ(f.Frame3.left(), 9480 - 255);
    EXPECT_EQ(f.Frame3.top(), 6795 - 255);
    EXPECT_EQ(f.Frame3.width(), 255);
    EXPECT_EQ(f.Frame3.height(), 255);
    // Ranges and steps are set at load from the design.
    EXPECT_EQ(f.AltezzaProgetto, 9000);
    EXPECT_EQ(f.LarghezzaProgetto, 12000);
    EXPECT_EQ(f.VScroll1.scrollMax(), 4000);
    EXPECT_EQ(f.HScroll1.scrollMax(), 5000);
    EXPECT_EQ(f.VScroll1.smallChange(), 150);
    EXPECT_EQ(f.HScroll1.largeChange(), 150);
}

TEST(Layout, ZeroKeysFillTheScreenAboveTheTaskbar)
{
    {
        Finestra w(chiavi(0, 0), 1024, 768, 0);
        w.carica();
        EXPECT_EQ(w.c.f.width(), 1024 * 15);
        EXPECT_EQ(w.c.f.height(), 768 * 15);
        EXPECT_TRUE(w.barre(false, false, false));
    }
    {  // 800 x 600 with a taskbar of 40 pixels: full width, a little short
        Finestra w(chiavi(0, 0), 800, 600, 40);
        w.carica();
        EXPECT_EQ(w.c.f.width(), 12000);
        EXPECT_EQ(w.c.f.height(), 9000 - 600);
        EXPECT_TRUE(w.barre(false, true, false));
    }
    {  // no resource file at all: the same as zero keys
        Finestra w("", 800, 600, 0);
        std::filesystem::remove(w.cartella.dir / "Stringhe.txt");
        w.carica();
        EXPECT_EQ(w.c.f.width(), 12000);
        EXPECT_EQ(w.c.f.height(), 9000);
        EXPECT_EQ(w.c.f.left(), 0);
        EXPECT_TRUE(w.barre(false, false, false));
    }
}

TEST(Layout, ResizeShowsABarOnlyBelowTheDesignSize)
{
    Finestra w(chiavi(800, 600));
    w.carica();
    Form& f = w.c.f;
    EXPECT_TRUE(w.barre(false, false, false)) << "exactly 12000 x 9000";
    f.setGeometry(0, 0, 11999, 9000);
    eventoResize(w.c);
    EXPECT_TRUE(w.barre(true, false, false));
    f.setGeometry(0, 0, 11000, 8000);
    eventoResize(w.c);
    EXPECT_TRUE(w.barre(true, true, true));
    EXPECT_EQ(f.HScroll1.width(), 11000 - 120 - 255);
    EXPECT_EQ(f.VScroll1.scrollMax(), 4000) << "a resize leaves the ranges";

    // A window smaller than a bar: no negative sizes.
    f.setGeometry(0, 0, 200, 300);
    eventoResize(w.c);
    EXPECT_GE(f.VScroll1.height(), 0);
    EXPECT_GE(f.HScroll1.width(), 0);
}

TEST(Layout, ResizeBeforeTheLayoutIsReadyPlacesNothing)
{
    Finestra w(chiavi(640, 480));
    Form& f = w.c.f;
    f.setGeometry(0, 0, 6000, 4000);
    Form_Resize(w.c.f);
    EXPECT_EQ(f.HScroll1.top(), 8400);
    EXPECT_EQ(f.VScroll1.left(), 11640);
    EXPECT_TRUE(f.HScroll1.visible());
}

TEST(Layout, TaskbarHeightInTwips)
{
    test::FakeHost host;
    host.screenInfo.taskbarHeightPx = 0;
    EXPECT_EQ(AltezzaTaskbar(host), 0);
    host.screenInfo.taskbarHeightPx = 40;
    EXPECT_EQ(AltezzaTaskbar(host), 600);
    host.screenInfo.twipsPerPixelY = 7.5;  // a HiDPI screen
    EXPECT_EQ(AltezzaTaskbar(host), 300);
}

TEST(Scorrimento, BarsMoveTheTopLevelControlsOnly)
{
    Finestra w(chiavi(640, 480));
    w.carica();
    Form& f = w.c.f;
    const int frame2 = f.Frame2.left(), profibus = f.PROFIBUS.left(), bobina = f.Bobina[0]->left();
    const int frame3 = f.Frame3.left(), opzione = f.Option1[0]->left(), barra = f.HScroll1.left();

    eventoScroll(w.c, f.HScroll1, 150);
    EXPECT_EQ(f.Frame2.left(), frame2 - 150);
    EXPECT_EQ(f.PROFIBUS.left(), profibus - 150);
    EXPECT_EQ(f.FrmBaudRate.left(), 3600 - 150);
    EXPECT_EQ(f.Bobina[0]->left(), bobina) << "moves with its frame";
    EXPECT_EQ(f.Option1[0]->left(), opzione);
    EXPECT_EQ(f.Frame3.left(), frame3);
    EXPECT_EQ(f.HScroll1.left(), barra);
    EXPECT_EQ(f.UltimoValoreOrizzontale, 150);

    eventoScroll(w.c, f.HScroll1, 150);  // same value again: nothing moves
    EXPECT_EQ(f.Frame2.left(), frame2 - 150);
    eventoScroll(w.c, f.HScroll1, 0);
    EXPECT_EQ(f.Frame2.left(), frame2);
    EXPECT_EQ(f.PROFIBUS.left(), profibus);

    const int top = f.Combo1.top();
    eventoScroll(w.c, f.VScroll1, 300);
    EXPECT_EQ(f.Combo1.top(), top - 300);
    EXPECT_EQ(f.Frame1.top(), 2520 - 300);
    EXPECT_EQ(f.Frame2.left(), frame2);
    eventoScroll(w.c, f.VScroll1, 0);
    EXPECT_EQ(f.Combo1.top(), top);
}

} // namespace
} // namespace ondrix
