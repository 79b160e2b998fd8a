#include "gui/Widgets.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace ondrix {

// ---- ColourButton -----------------------------------------------------------

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourButton::setBackColour(const QColor& c)
{
    if (back_ != c) {
        back_ = c;
        update();
    }
}

void ColourButton::setTextColour(const QColor& c)
{
    if (text_ != c) {
        text_ = c;
        update();
    }
}

void ColourButton::setCaption(const QString& s)
{
    if (caption_ != s) {
        caption_ = s;
        if (description_.isEmpty())
            setAccessibleName(s);
        update();
    }
}

void ColourButton::setDescription(const QString& s)
{
    if (description_ == s)
        return;
    description_ = s;
    setToolTip(s);
    setAccessibleName(s.isEmpty() ? caption_ : s);
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, back_);

    // Raised bevel: light top-left, dark bottom-right; pressed: flat dark rim.
    const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
    const bool down = isDown() || isChecked();
    if (down) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(QColor(128, 128, 128));
        p.drawRect(r.adjusted(1, 1, -2, -2));
    } else {
        p.setPen(QColor(255, 255, 255));
        p.drawLine(x0, y0, x1 - 1, y0);
        p.drawLine(x0, y0, x0, y1 - 1);
        p.setPen(QColor(0, 0, 0));
        p.drawLine(x0, y1, x1, y1);
        p.drawLine(x1, y0, x1, y1);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1);
        p.drawLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
    }

    QRect tr = r.adjusted(3, 2, -3, -2);
    if (down)
        tr.translate(1, 1);
    p.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (isEnabled()) {
        p.setPen(text_);
        p.drawText(tr, flags, caption_);
    } else {
        // Engraved grey text, the usual look of a disabled caption.
        p.setPen(QColor(255, 255, 255));
        p.drawText(tr.translated(1, 1), flags, caption_);
        p.setPen(QColor(128, 128, 128));
        p.drawText(tr, flags, caption_);
    }

    if (hasFocus() && isEnabled()) {
        QPen pen(QColor(0, 0, 0));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

// ---- ShapeWidget ------------------------------------------------------------

ShapeWidget::ShapeWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::setLook(Form f, const QColor& fill, const QColor& border, int borderPx)
{
    if (f == form_ && fill == fill_ && border == border_ && borderPx == borderPx_)
        return;
    form_ = f;
    fill_ = fill;
    border_ = border;
    borderPx_ = std::max(1, borderPx);
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    switch (form_) {
    case Form::Rect:
        p.fillRect(r, fill_);
        p.setPen(border_);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        break;
    case Form::Circle: {
        // Diameter = the smaller side (the box height for every connector), centred.
        const int d = std::min(r.width(), r.height());
        const QRectF c((r.width() - d) / 2.0 + 0.5, (r.height() - d) / 2.0 + 0.5, d - 1.0, d - 1.0);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(border_, 1));
        p.setBrush(fill_);
        p.drawEllipse(c);
        break;
    }
    case Form::Outline: {
        // The widget is the framed square grown by half the line on every
        // side: the line runs along the square's edge, half of it outside.
        const int half = borderPx_ / 2;
        QPen pen(border_, borderPx_);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRectF sq = QRectF(r).adjusted(half, half, -half, -half);
        p.drawRect(sq);
        break;
    }
    }
}

// ---- PanelFrame -------------------------------------------------------------

PanelFrame::PanelFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelFrame::setLook(const QColor& back, const QColor& text, const QString& caption)
{
    if (back == back_ && text == text_ && caption == caption_)
        return;
    back_ = back;
    text_ = text;
    caption_ = caption;
    update();
}

void PanelFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, back_);
    if (caption_.isEmpty())
        return;
    const QFontMetrics fm(font());
    const int y = fm.height() / 2;
    // Etched border: a dark line with a light one inside it.
    p.setPen(QColor(128, 128, 128));
    p.drawRect(QRect(0, y, r.width() - 2, r.height() - y - 2));
    p.setPen(QColor(255, 255, 255));
    p.drawRect(QRect(1, y + 1, r.width() - 2, r.height() - y - 2));
    const int tw = fm.horizontalAdvance(caption_);
    const QRect tr(8, 0, std::min(tw + 4, std::max(0, r.width() - 16)), fm.height());
    p.fillRect(tr, back_);
    p.setPen(text_);
    p.setFont(font());
    p.drawText(tr.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

// ---- PictureWidget ----------------------------------------------------------

PictureWidget::PictureWidget(QWidget* parent, QPixmap picture)
    : QWidget(parent), picture_(std::move(picture))
{
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), picture_);
}

void PictureWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && onDoubleClick)
        onDoubleClick();
}

// ---- ListBox ----------------------------------------------------------------

ListBox::ListBox(QWidget* parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

void ListBox::setShownText(const QString& s)
{
    if (shown_ != s) {
        shown_ = s;
        update();
    }
}

void ListBox::initStyleOption(QStyleOptionComboBox* option) const
{
    QComboBox::initStyleOption(option);
    option->currentText = shown_;
    // Styles draw a list that takes no typing as a button and open it over
    // itself; this one keeps the look of a text field and drops below.
    option->editable = true;
}

void ListBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    // The text as a field shows it (a style draws none for an editable list).
    opt.editable = false;
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

void ListBox::showPopup()
{
    QComboBox::showPopup();
    if (!filtering_ && view()->isVisible()) {
        // Seen before the list's own handling: its window, its entries, and
        // the keys typed into it.
        view()->window()->installEventFilter(this);
        view()->viewport()->installEventFilter(this);
        view()->installEventFilter(this);
        filtering_ = true;
    }
}

void ListBox::hidePopup()
{
    pressOpened_ = false;
    QComboBox::hidePopup();
}

void ListBox::mousePressEvent(QMouseEvent* e)
{
    const bool wasOpen = view()->isVisible();
    QComboBox::mousePressEvent(e);
    pressOpened_ = e->button() == Qt::LeftButton && !wasOpen && view()->isVisible();
    pressAt_ = e->globalPosition().toPoint();
}

namespace {

// A character typed, not a navigation or command key.
bool typed(const QKeyEvent* e)
{
    const QString t = e->text();
    return !t.isEmpty() && t.at(0).isPrint() &&
           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

} // namespace

void ListBox::keyPressEvent(QKeyEvent* e)
{
    // Typed characters (a blank too) choose nothing and do not open the list.
    if (typed(e)) {
        e->accept();
        return;
    }
    QComboBox::keyPressEvent(e);
}

bool ListBox::eventFilter(QObject* watched, QEvent* event)
{
    const bool list = filtering_ && (watched == view() || watched == view()->viewport() ||
                                     watched == view()->window());
    if (list && event->type() == QEvent::KeyPress && typed(static_cast<QKeyEvent*>(event)))
        return true;
    if (list && event->type() == QEvent::MouseButtonRelease && pressOpened_) {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton) {
            pressOpened_ = false;
            // Released where it was pressed: the click that opened the list.
            // Dragged into the list: the entry there is chosen as usual.
            if ((m->globalPosition().toPoint() - pressAt_).manhattanLength() <=
                QApplication::startDragDistance())
                return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

// ---- OptionButton for a screen reader ---------------------------------------

namespace {

class OptionAccessible : public QAccessibleWidget {
public:
    explicit OptionAccessible(OptionButton* b) : QAccessibleWidget(b, QAccessible::RadioButton) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        const QString s = QAccessibleWidget::text(t);
        return t == QAccessible::Name && s.isEmpty() ? button()->text() : s;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        // As Qt's own buttons do: the click comes from the event loop.
        if (action == pressAction() && button()->isEnabled())
            button()->animateClick();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    OptionButton* button() const { return static_cast<OptionButton*>(widget()); }
};

QAccessibleInterface* optionFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(OptionButton::staticMetaObject.className()))
        return new OptionAccessible(static_cast<OptionButton*>(object));
    return nullptr;
}

} // namespace

void installAccessibleOptions()
{
    static const bool installed = [] {
        QAccessible::installFactory(optionFactory);
        return true;
    }();
    (void)installed;
}

// ---- The picture ------------------------------------------------------------

QPixmap islandPicture()
{
    QPixmap pm(148, 112);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    // Soft backdrop.
    QLinearGradient sky(0, 0, 0, 112);
    sky.setColorAt(0, QColor(236, 244, 236));
    sky.setColorAt(1, QColor(196, 214, 198));
    p.fillRect(pm.rect(), sky);

    // Base plate with its depth.
    QPainterPath base;
    base.addRoundedRect(QRectF(8, 78, 132, 14), 3, 3);
    p.fillPath(base, QColor(70, 74, 78));
    p.fillRect(QRectF(10, 78, 128, 3), QColor(120, 126, 130));

    // Four valve stations, each with two solenoid heads.
    const QColor heads[8] = {QColor(255, 128, 0), QColor(0, 200, 0),   QColor(255, 128, 0),
                             QColor(255, 128, 0), QColor(0, 200, 0),   QColor(255, 128, 0),
                             QColor(255, 128, 0), QColor(255, 128, 0)};
    for (int s = 0; s < 4; ++s) {
        const qreal x = 14 + s * 21;
        QLinearGradient alu(x, 0, x + 19, 0);
        alu.setColorAt(0, QColor(150, 156, 162));
        alu.setColorAt(0.45, QColor(226, 230, 234));
        alu.setColorAt(1, QColor(128, 134, 140));
        p.setPen(QPen(QColor(60, 64, 68), 1));
        p.setBrush(alu);
        p.drawRect(QRectF(x, 30, 19, 48));
        // Solenoid heads.
        for (int k = 0; k < 2; ++k) {
            const QRectF h(x + 2.5, 33 + k * 20, 14, 14);
            p.setBrush(heads[s * 2 + k]);
            p.drawRoundedRect(h, 2, 2);
            p.setBrush(QColor(40, 40, 40));
            p.drawEllipse(h.center(), 2.2, 2.2);
        }
        // Working ports at the bottom.
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(QPointF(x + 9.5, 73), 2.5, 2.5);
    }

    // Head with the fieldbus, service and supply connectors.
    QLinearGradient head(100, 0, 136, 0);
    head.setColorAt(0, QColor(90, 96, 104));
    head.setColorAt(0.5, QColor(150, 158, 166));
    head.setColorAt(1, QColor(84, 90, 98));
    p.setPen(QPen(QColor(40, 44, 48), 1));
    p.setBrush(head);
    p.drawRoundedRect(QRectF(100, 22, 36, 56), 3, 3);
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QPointF(118, 34), 7, 7);
    p.drawEllipse(QPointF(118, 52), 4, 4);
    p.drawEllipse(QPointF(118, 67), 6, 6);
    p.setBrush(QColor(0, 230, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(131, 27), 1.8, 1.8);

    // Name plate.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 96, 0));
    p.drawText(QRectF(8, 4, 132, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ONDRIX"));
    f.setPixelSize(8);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(40, 60, 40));
    p.drawText(QRectF(8, 95, 132, 14), Qt::AlignCenter, QStringLiteral("ISOLA DI VALVOLE"));
    return pm;
}

} // namespace ondrix
