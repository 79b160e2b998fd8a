#include "gui/MainWindow.h"

#include "program/Configuratore.h"
#include "program/Eventi.h"
#include "gui/Caratteri.h"
#include "gui/Programma.h"
#include "gui/Widgets.h"
#include "view/Descrizione.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ondrix {

namespace {

QColor qc(Rgb c) { return QColor(c.r, c.g, c.b); }
QString q(const std::string& s) { return QString::fromStdString(s); }

int px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

// Labels, shapes and the picture are drawn on their container beneath every
// windowed control (buttons, lists, frames ...), whatever their order.
bool lightweight(Kind k) { return k == Kind::Label || k == Kind::Shape || k == Kind::Image; }

struct Mirroring {
    explicit Mirroring(int& n) : n_(n) { ++n_; }
    ~Mirroring() { --n_; }
    int& n_;
};

void setColours(QWidget* w, QPalette::ColorRole textRole, QPalette::ColorRole backRole,
                const QColor& text, const QColor& back)
{
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, textRole, text);
        pal.setColor(group, backRole, back);
    }
    pal.setColor(QPalette::Disabled, backRole, back);
    if (pal != w->palette())
        w->setPalette(pal);
}

// Controls the keyboard reaches.
bool takesFocus(Kind k)
{
    return k == Kind::Button || k == Kind::TextBox || k == Kind::ComboBox || k == Kind::OptionButton;
}

// The controls of one container as they are read: rows from top to bottom,
// left to right within a row. A control is in the row of the first control
// whose height spans its middle; a frame is read where it begins, all its
// controls together.
void readingOrder(const Form& f, const Control* container, std::vector<const Control*>& out)
{
    std::vector<const Control*> items;
    for (const Control* ctl : f.controls())
        if (ctl->container() == container && (takesFocus(ctl->kind()) || ctl->kind() == Kind::Frame))
            items.push_back(ctl);
    const auto frame = [](const Control* c) { return c->kind() == Kind::Frame; };
    const auto middle = [&](const Control* c) { return frame(c) ? c->top() : c->top() + c->height() / 2; };
    const auto bottom = [&](const Control* c) { return frame(c) ? c->top() + 1 : c->top() + c->height(); };
    std::stable_sort(items.begin(), items.end(),
                     [](const Control* a, const Control* b) { return a->top() < b->top(); });
    for (std::size_t i = 0; i < items.size();) {
        std::size_t j = i + 1;
        while (j < items.size() && middle(items[j]) < bottom(items[i]))
            ++j;
        std::stable_sort(items.begin() + static_cast<std::ptrdiff_t>(i),
                         items.begin() + static_cast<std::ptrdiff_t>(j),
                         [](const Control* a, const Control* b) { return a->left() < b->left(); });
        for (std::size_t k = i; k < j; ++k) {
            if (frame(items[k]))
                readingOrder(f, items[k], out);
            else
                out.push_back(items[k]);
        }
        i = j;
    }
}

// What each kind of control shows of itself: texts, colours, list entries,
// values.

void showLabel(QLabel* l, const Control& ctl, const QColor& fore, const QColor& back)
{
    if (l->text() != q(ctl.caption()))
        l->setText(q(ctl.caption()));
    setColours(l, QPalette::WindowText, QPalette::Window, fore, back);
    l->setAutoFillBackground(!ctl.transparent());
}

void showTextBox(QLineEdit* e, const Control& ctl, const QColor& fore, const QColor& back)
{
    if (e->text() != q(ctl.text()))
        e->setText(q(ctl.text()));
    setColours(e, QPalette::Text, QPalette::Base, fore, back);
}

void showList(ListBox* cb, const Control& ctl)
{
    QStringList items;
    for (const std::string& s : ctl.list())
        items << q(s);
    bool same = cb->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = cb->itemText(i) == items[i];
    if (!same) {
        cb->clear();
        cb->addItems(items);
    }
    if (cb->currentIndex() != ctl.listIndex())
        cb->setCurrentIndex(ctl.listIndex());
    // The text shows even when it is no entry of the list.
    cb->setShownText(q(ctl.text()));
}

void showOption(QRadioButton* r, const Control& ctl, const QColor& fore, const QColor& back)
{
    if (r->text() != q(ctl.caption()))
        r->setText(q(ctl.caption()));
    if (r->isChecked() != ctl.value())
        r->setChecked(ctl.value());
    setColours(r, QPalette::WindowText, QPalette::Window, fore, back);
    r->setAutoFillBackground(!ctl.transparent());
}

// A shape's look; the box it is drawn in, which an outline changes.
QRect showShape(ShapeWidget* s, const Control& ctl, QRect g)
{
    switch (ctl.shape()) {
    case ShapeKind::FilledRect:
        s->setLook(ShapeWidget::Form::Rect, qc(ctl.fillColor()), qc(ctl.borderColor()), 1);
        break;
    case ShapeKind::FilledCircle:
        s->setLook(ShapeWidget::Form::Circle, qc(ctl.fillColor()), qc(ctl.borderColor()), 1);
        break;
    case ShapeKind::Outline: {
        // A square of the box's height centred in the box, grown by half
        // the line so that the line runs along the square's edge.
        const int bw = std::max(1, ctl.borderWidthPx());
        const int side = std::min(g.width(), g.height());
        QRect sq(g.x() + (g.width() - side) / 2, g.y() + (g.height() - side) / 2, side, side);
        g = sq.adjusted(-bw / 2, -bw / 2, bw / 2, bw / 2);
        s->setLook(ShapeWidget::Form::Outline, qc(ctl.fillColor()), qc(ctl.borderColor()), bw);
        break;
    }
    }
    return g;
}

void showScrollBar(QScrollBar* sb, const Control& ctl)
{
    if (sb->minimum() != ctl.scrollMin() || sb->maximum() != ctl.scrollMax())
        sb->setRange(ctl.scrollMin(), ctl.scrollMax());
    sb->setSingleStep(std::max(1, ctl.smallChange()));
    sb->setPageStep(std::max(1, ctl.largeChange()));
    if (sb->value() != ctl.scrollValue())
        sb->setValue(ctl.scrollValue());
}

// The control's own look on its widget; the box the widget takes (g, but for
// an outline).
QRect showContent(QWidget* w, const Control& ctl, QRect g)
{
    const QColor back = qc(ctl.backColor()), fore = qc(ctl.foreColor());
    switch (ctl.kind()) {
    case Kind::Label:
        showLabel(static_cast<QLabel*>(w), ctl, fore, back);
        break;
    case Kind::Button: {
        auto* b = static_cast<ColourButton*>(w);
        b->setCaption(q(ctl.caption()));
        b->setBackColour(back);
        b->setTextColour(fore);
        break;
    }
    case Kind::TextBox:
        showTextBox(static_cast<QLineEdit*>(w), ctl, fore, back);
        break;
    case Kind::ComboBox:
        showList(static_cast<ListBox*>(w), ctl);
        break;
    case Kind::OptionButton:
        showOption(static_cast<QRadioButton*>(w), ctl, fore, back);
        break;
    case Kind::Frame:
        static_cast<PanelFrame*>(w)->setLook(back, fore, q(ctl.caption()));
        break;
    case Kind::Shape:
        g = showShape(static_cast<ShapeWidget*>(w), ctl, g);
        break;
    case Kind::HScrollBar:
    case Kind::VScrollBar:
        showScrollBar(static_cast<QScrollBar*>(w), ctl);
        break;
    case Kind::Image:
    case Kind::Timer:
        break;
    }
    return g;
}

// What every kind shares: the box, enabled, shown, the name for screen readers.
void showState(QWidget* w, const Control& ctl, const QRect& g)
{
    if (w->geometry() != g)
        w->setGeometry(g);
    if (w->isEnabled() != ctl.enabled())
        w->setEnabled(ctl.enabled());
    if (w->isHidden() == ctl.visible())
        w->setHidden(!ctl.visible());
    if (!ctl.accessibleName().empty() && w->accessibleName() != q(ctl.accessibleName()))
        w->setAccessibleName(q(ctl.accessibleName()));
}

} // namespace

QFont MainWindow::captionFont(double twipsPerPixelY)
{
    // Bold DejaVu Sans at 10 pixels on a 96-dpi screen: "CONFIGURAZIONE", the
    // longest word of the default captions, takes 101 of the 107 pixels inside
    // a 1695-twip button. Scaled with the screen so the design keeps its
    // proportions.
    caricaCaratteriFinestra();
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(10.0 * 15.0 / twipsPerPixelY))));
    f.setBold(true);
    return f;
}

MainWindow::MainWindow(Configuratore& c, QWidget* parent) : QWidget(parent), c_(c)
{
    const ScreenInfo s = c_.host.screen();
    if (s.twipsPerPixelX > 0)
        tppX_ = s.twipsPerPixelX;
    if (s.twipsPerPixelY > 0)
        tppY_ = s.twipsPerPixelY;
    font_ = captionFont(tppY_);
    setFont(font_);

    // Client area = the design: dark green, nothing else around it.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, qc(colore::VerdeScuro));
    setPalette(pal);

    installAccessibleOptions();
    for (Control* ctl : c_.f.controls())
        create(*ctl);
    stack();
    tabOrder();
    // A list is named by the label over it, for a screen reader too.
    static_cast<QLabel*>(widget(c_.f.Label1))->setBuddy(widget(c_.f.Combo2));
    static_cast<QLabel*>(widget(c_.f.Label2))->setBuddy(widget(c_.f.Combo1));
    for (Control* ctl : c_.f.controls())
        sync(*ctl);
    syncWindow();

    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { eventoTimer(c_); });

    c_.f.setObserver([this](Control* ctl) { changed(ctl); });

    auto* stampa = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    QObject::connect(stampa, &QShortcut::activated, this, [this] { rapporto(); });
}

void MainWindow::rapporto()
{
    eventoRapporto(c_, scriviRapportoPdf());
}

void MainWindow::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    QAction* voce = menu.addAction(q(c_.m.testi.rapporto.Menu));
    voce->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    voce->setEnabled(c_.servizio);
    // Run once the menu has closed, not inside its event loop.
    if (menu.exec(e->globalPos()) == voce)
        rapporto();
}

MainWindow::~MainWindow() { c_.f.setObserver(nullptr); }

QWidget* MainWindow::widget(const Control& ctl) const
{
    auto it = widgets_.find(&ctl);
    return it == widgets_.end() ? nullptr : it->second;
}

void MainWindow::create(Control& ctl)
{
    QWidget* parent = this;
    if (ctl.container())
        if (QWidget* w = widget(*ctl.container()))
            parent = w;

    Control* p = &ctl;
    QWidget* w = nullptr;
    switch (ctl.kind()) {
    case Kind::Label: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        w = l;
        break;
    }
    case Kind::Button: {
        auto* b = new ColourButton(parent);
        QObject::connect(b, &QPushButton::clicked, this,
                         [this, p] { forward(*p, [&] { eventoClick(c_, *p); }); });
        w = b;
        break;
    }
    case Kind::TextBox: {
        auto* e = new QLineEdit(parent);
        e->setFrame(true);
        // What the user types is the control's text.
        QObject::connect(e, &QLineEdit::textEdited, this,
                         [p](const QString& t) { p->setText(t.toStdString()); });
        w = e;
        break;
    }
    case Kind::ComboBox: {
        auto* cb = new ListBox(parent);
        QObject::connect(cb, &QComboBox::activated, this, [this, p](int i) {
            forward(*p, [&] { eventoSceltaLista(c_, *p, i); });
        });
        w = cb;
        break;
    }
    case Kind::OptionButton: {
        auto* r = new OptionButton(parent);
        // The Form keeps one option per container selected; the widget only shows it.
        r->setAutoExclusive(false);
        QObject::connect(r, &QRadioButton::clicked, this,
                         [this, p] { forward(*p, [&] { eventoClick(c_, *p); }); });
        w = r;
        break;
    }
    case Kind::Frame:
        w = new PanelFrame(parent);
        break;
    case Kind::Shape:
        w = new ShapeWidget(parent);
        break;
    case Kind::HScrollBar:
    case Kind::VScrollBar: {
        auto* sb = new QScrollBar(ctl.kind() == Kind::HScrollBar ? Qt::Horizontal : Qt::Vertical,
                                  parent);
        // Fires for clicks and while the thumb is dragged.
        QObject::connect(sb, &QScrollBar::valueChanged, this, [this, p](int v) {
            if (!mirroring_)
                forward(*p, [&] { eventoScroll(c_, *p, v); });
        });
        w = sb;
        break;
    }
    case Kind::Image: {
        auto* img = new PictureWidget(parent, islandPicture());
        img->onDoubleClick = [this, p] { forward(*p, [&] { eventoDblClick(c_, *p); }); };
        w = img;
        break;
    }
    case Kind::Timer:
        return;
    }
    if (takesFocus(ctl.kind()))
        w->installEventFilter(this);
    w->setObjectName(ctl.index() >= 0 ? q(ctl.name() + "_" + std::to_string(ctl.index()))
                                      : q(ctl.name()));
    widgets_[&ctl] = w;
}

void MainWindow::stack()
{
    const auto& all = c_.f.controls();
    // Lowering in reverse order keeps the lightweight controls in their own order.
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (lightweight((*it)->kind()))
            if (QWidget* w = widget(**it))
                w->lower();
    // The selection outlines lie over the coil buttons they frame; clicks go
    // through them to the buttons.
    for (Control* s : c_.f.Shape6)
        widget(*s)->raise();
    // The baud-rate frame opens over the output panel; the bars stay on top.
    widget(c_.f.FrmBaudRate)->raise();
    for (Control* top : {&c_.f.HScroll1, &c_.f.VScroll1, &c_.f.Frame3})
        widget(*top)->raise();
}

void MainWindow::tabOrder()
{
    std::vector<const Control*> chain;
    readingOrder(c_.f, nullptr, chain);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(widget(*chain[i - 1]), widget(*chain[i]));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only for the keyboard: a control under the mouse must not move away
    // between the press and the release.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason)
            reveal(static_cast<QWidget*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::reveal(QWidget* w)
{
    const QRect r(w->mapTo(this, QPoint(0, 0)), w->size());
    const auto scroll = [this](Control& bar, int from, int to, int shown, double tpp) {
        if (!bar.visible())
            return;
        int d = to > shown ? to - shown : 0;  // pixels the design moves back
        if (from - d < 0)
            d = from;  // the start of the control counts first
        const int v = std::clamp(bar.scrollValue() + static_cast<int>(std::lround(d * tpp)),
                                 bar.scrollMin(), bar.scrollMax());
        if (v != bar.scrollValue())
            forward(bar, [&] { eventoScroll(c_, bar, v); });
    };
    Form& f = c_.f;
    const int shownW = width() - (f.VScroll1.visible() ? widget(f.VScroll1)->width() : 0);
    const int shownH = height() - (f.HScroll1.visible() ? widget(f.HScroll1)->height() : 0);
    scroll(f.HScroll1, r.left(), r.left() + r.width(), shownW, tppX_);
    scroll(f.VScroll1, r.top(), r.top() + r.height(), shownH, tppY_);
}

template <typename F>
void MainWindow::forward(Control& ctl, F&& event)
{
    event();
    sync(ctl);
}

void MainWindow::changed(Control* ctl)
{
    if (ctl)
        sync(*ctl);
    else
        syncWindow();
}

QRect MainWindow::pixels(const Control& ctl) const
{
    // Edges rounded one by one, so controls that touch in twips touch on screen.
    const int x0 = px(ctl.left(), tppX_), x1 = px(ctl.left() + ctl.width(), tppX_);
    const int y0 = px(ctl.top(), tppY_), y1 = px(ctl.top() + ctl.height(), tppY_);
    return QRect(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

QSize MainWindow::clientPixels() const
{
    return QSize(std::max(1, px(c_.f.clientWidth(), tppX_)),
                 std::max(1, px(c_.f.clientHeight(), tppY_)));
}

void MainWindow::syncTimer(const Control& ctl)
{
    const int iv = std::max(1, ctl.interval());
    if (timer_.interval() != iv)
        timer_.setInterval(iv);
    const bool on = ctl.enabled() && ctl.interval() > 0;
    if (on && !timer_.isActive())
        timer_.start();
    else if (!on && timer_.isActive())
        timer_.stop();
}

void MainWindow::sync(Control& ctl)
{
    if (ctl.kind() == Kind::Timer) {
        syncTimer(ctl);
        return;
    }
    QWidget* w = widget(ctl);
    if (!w)
        return;
    Mirroring m(mirroring_);
    const QSignalBlocker block(w);

    QFont f = font_;
    f.setBold(ctl.bold());
    if (w->font() != f)
        w->setFont(f);
    const QRect g = showContent(w, ctl, pixels(ctl));
    showState(w, ctl, g);
    describe(ctl);
}

void MainWindow::describe(const Control& ctl)
{
    const Form& f = c_.f;
    const ParoleLuogo& luogo = c_.m.testi.Luogo;
    switch (DescrizioniToccate(f, ctl)) {
    case Descrizioni::Bobine:
        for (int i = 0; i < static_cast<int>(f.Bobina.size()); ++i)
            static_cast<ColourButton*>(widget(*f.Bobina[i]))
                ->setDescription(q(DescrizioneBobina(f, luogo, i)));
        break;
    case Descrizioni::Ingressi:
        for (int i = 0; i < static_cast<int>(f.DInput.size()); ++i)
            static_cast<ColourButton*>(widget(*f.DInput[i]))
                ->setDescription(q(DescrizioneIngresso(f, luogo, i)));
        break;
    case Descrizioni::Nessuna:
        break;
    }
}

void MainWindow::syncWindow()
{
    Mirroring m(mirroring_);
    if (windowTitle() != q(c_.f.caption()))
        setWindowTitle(q(c_.f.caption()));
    const QSize want = clientPixels();
    if (size() != want)
        resize(want);
    const QPoint at(px(c_.f.left(), tppX_), px(c_.f.top(), tppY_));
    if (pos() != at)
        move(at);
}

bool MainWindow::learnFrame()
{
    // Known once the window system has framed the window; without a window
    // manager there is none and the inside is the whole window.
    if (!isVisible())
        return false;
    const QRect outer = frameGeometry(), inner = geometry();
    const int w = static_cast<int>(std::lround(std::max(0, outer.width() - inner.width()) * tppX_));
    const int h = static_cast<int>(std::lround(std::max(0, outer.height() - inner.height()) * tppY_));
    if (w == c_.f.frameWidth() && h == c_.f.frameHeight())
        return false;
    c_.f.setFrameSize(w, h);
    return true;
}

void MainWindow::followFrame()
{
    if (!learnFrame())
        return;
    syncWindow();
    eventoResize(c_);
}

void MainWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    followFrame();
}

void MainWindow::moveEvent(QMoveEvent* e)
{
    // A window manager frames the window by moving its inside into the frame.
    QWidget::moveEvent(e);
    followFrame();
}

void MainWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (learnFrame()) {
        // The window was framed: the Form's outer size stands.
        syncWindow();
    } else if (size() != clientPixels()) {
        // The user or the window manager sized the window: the Form follows.
        const int w = static_cast<int>(std::lround(width() * tppX_)) + c_.f.frameWidth();
        const int h = static_cast<int>(std::lround(height() * tppY_)) + c_.f.frameHeight();
        Mirroring m(mirroring_);
        c_.f.setGeometry(c_.f.left(), c_.f.top(), w, h);
    }
    eventoResize(c_);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    // Refused while a dialogue with the island runs; otherwise the program ends.
    if (!eventoChiusura(c_))
        e->ignore();
}

} // namespace ondrix
