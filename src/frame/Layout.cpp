#include "frame/Layout.h"

#include "channel/Host.h"
#include "form/Form.h"
#include "island/Risorse.h"

#include <algorithm>

namespace ondrix {

namespace {

// A window shrunk below a bar's thickness must not give a negative size.
int almenoZero(int v) { return std::max(0, v); }

// Sets the outer size; like any size change it runs the resize handler.
void dimensiona(Form& f, int larghezza, int altezza)
{
    f.setGeometry(f.left(), f.top(), larghezza, altezza);
    Form_Resize(f);
}

} // namespace

int AltezzaTaskbar(Host& host)
{
    const ScreenInfo s = host.screen();
    return static_cast<int>(static_cast<double>(s.taskbarHeightPx) * s.twipsPerPixelY);
}

void PosizionaBarre(Form& f, bool conFrame3)
{
    Control& v = f.VScroll1;
    Control& h = f.HScroll1;
    v.setLeft(f.clientWidth() - v.width());
    v.setHeight(almenoZero(f.clientHeight() - h.height()));
    h.setTop(f.clientHeight() - h.height());
    h.setWidth(almenoZero(f.clientWidth() - v.width()));
    f.Frame3.setTop(v.top() + v.height());
    f.Frame3.setLeft(h.left() + h.width());
    if (conFrame3) {
        f.Frame3.setWidth(v.width());
        f.Frame3.setHeight(h.height());
    }
}

void Form_Load(Host& host, Form& f)
{
    const ScreenInfo s = host.screen();
    const double tx = s.twipsPerPixelX;
    const double ty = s.twipsPerPixelY;
    f.setFrameSize(static_cast<int>(s.frameWidthPx * tx), static_cast<int>(s.frameHeightPx * ty));

    f.LayoutPronto = false;

    // Vertical: the window as tall as the designed bar, the bar over the
    // whole design height.
    f.AltezzaProgetto = f.height();
    f.AltezzaBarraVerticale = f.VScroll1.height();
    dimensiona(f, f.width(), f.AltezzaBarraVerticale);
    const int passoV = static_cast<int>(10 * ty);
    f.VScroll1.setHeight(almenoZero(f.clientHeight()));
    f.VScroll1.setScrollRange(0, f.AltezzaProgetto - f.AltezzaBarraVerticale, passoV, passoV);

    // Horizontal likewise.
    f.LarghezzaProgetto = f.width();
    f.LarghezzaBarraOrizzontale = f.HScroll1.width();
    dimensiona(f, f.LarghezzaBarraOrizzontale, f.height());
    const int passoH = static_cast<int>(10 * tx);
    f.HScroll1.setWidth(almenoZero(f.clientWidth()));
    f.HScroll1.setScrollRange(0, f.LarghezzaProgetto - f.LarghezzaBarraOrizzontale, passoH, passoH);

    PosizionaBarre(f, true);

    // Size from the resource file (0: the whole screen above the taskbar).
    const int x = LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOX]");
    const int y = LeggiChiaveFinestra(host, "[DIMENSIONESCHERMOY]");

    f.LayoutPronto = true;

    const int altezza = y != 0 ? static_cast<int>(y * ty)
                               : static_cast<int>(s.heightPx * ty) - AltezzaTaskbar(host);
    dimensiona(f, f.width(), altezza);
    const int larghezza = x != 0 ? static_cast<int>(x * tx) : static_cast<int>(s.widthPx * tx);
    dimensiona(f, larghezza, f.height());

    // Position from the resource file, in pixels from the screen's top left.
    const int ix = LeggiChiaveFinestra(host, "[INIZIALEX]");
    const int iy = LeggiChiaveFinestra(host, "[INIZIALEY]");
    f.setGeometry(static_cast<int>(ix * tx), static_cast<int>(iy * ty), f.width(), f.height());
}

void Form_Resize(Form& f)
{
    if (!f.LayoutPronto)
        return;
    PosizionaBarre(f, false);
    f.HScroll1.setVisible(f.width() < Form::DesignWidth);
    f.VScroll1.setVisible(f.height() < Form::DesignHeight);
    f.Frame3.setVisible(f.HScroll1.visible() && f.VScroll1.visible());
}

namespace {

// Moves every top-level control that has a place on the window (not the
// bars, the timer or the corner frame; controls inside a frame move with it).
template <typename Sposta>
void scorri(Form& f, Sposta sposta)
{
    for (Control* ctl : f.controls()) {
        const Kind k = ctl->kind();
        if (k == Kind::HScrollBar || k == Kind::VScrollBar || k == Kind::Timer)
            continue;
        if (ctl->container() != nullptr || ctl == &f.Frame3)
            continue;
        sposta(*ctl);
    }
}

} // namespace

void ScorriOrizzontale(Form& f)
{
    const int d = f.UltimoValoreOrizzontale - f.HScroll1.scrollValue();
    scorri(f, [d](Control& ctl) { ctl.setLeft(ctl.left() + d); });
    f.UltimoValoreOrizzontale = f.HScroll1.scrollValue();
}

void ScorriVerticale(Form& f)
{
    const int d = f.UltimoValoreVerticale - f.VScroll1.scrollValue();
    scorri(f, [d](Control& ctl) { ctl.setTop(ctl.top() + d); });
    f.UltimoValoreVerticale = f.VScroll1.scrollValue();
}

} // namespace ondrix
