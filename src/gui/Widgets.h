#pragma once
// The few widgets the window draws itself: push buttons that keep their
// background colour when disabled, shapes, frames and the picture. They hold
// only what they paint; the window sets it from the controls.

#include <QColor>
#include <QComboBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

#include <functional>

namespace ondrix {

// Push button painted in its background colour in every state: a faulty coil
// is red and disabled, an absent one grey and disabled.
class ColourButton : public QPushButton {
public:
    explicit ColourButton(QWidget* parent);
    void setBackColour(const QColor& c);
    void setTextColour(const QColor& c);
    void setCaption(const QString& s);  // drawn as it is ('&' is no mnemonic)
    const QString& caption() const { return caption_; }
    // What the button shows, in words: its tooltip and the name a screen
    // reader says (the caption when there is none). A new name is announced
    // (Qt sends a name-changed event), so a listener hears the new state.
    void setDescription(const QString& s);
    QColor backColour() const { return back_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor back_{192, 192, 192};
    QColor text_{0, 0, 0};
    QString caption_;
    QString description_;
};

// Filled rectangle, filled circle or wide outline; never takes the mouse.
class ShapeWidget : public QWidget {
public:
    enum class Form { Rect, Circle, Outline };
    explicit ShapeWidget(QWidget* parent);
    void setLook(Form f, const QColor& fill, const QColor& border, int borderPx);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Form form_ = Form::Rect;
    QColor fill_, border_;
    int borderPx_ = 1;
};

// Container with a background colour; with a caption it draws the etched
// border of a group box and the caption over it.
class PanelFrame : public QWidget {
public:
    explicit PanelFrame(QWidget* parent);
    void setLook(const QColor& back, const QColor& text, const QString& caption);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor back_, text_;
    QString caption_;
};

// The picture, stretched to its box; a double click is reported.
class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent, QPixmap picture);
    std::function<void()> onDoubleClick;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    QPixmap picture_;
};

// Option button that takes a click anywhere in its box, as a designed
// control does (not only on the circle and the caption). It is not
// auto-exclusive (the Form keeps which option is selected), yet a screen
// reader learns it is a radio button: see installAccessibleOptions.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Drop-down list that shows any text (also one that is not an entry) and
// takes no typed characters: an entry is chosen with the mouse or with the
// navigation keys (Up, Down, Home, End, Page Up, Page Down; F4 and Alt+Down
// open the list). A click anywhere on it opens the list, which stays open
// until an entry is chosen or the user clicks elsewhere. Drawn as a text
// field with its arrow, the list dropping below it.
class ListBox : public QComboBox {
public:
    explicit ListBox(QWidget* parent);
    void setShownText(const QString& s);
    const QString& shownText() const { return shown_; }

    void showPopup() override;
    void hidePopup() override;

protected:
    void initStyleOption(QStyleOptionComboBox* option) const override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString shown_;
    // The list was opened by a press that is still down: its release, where
    // the press was, must not close it again.
    bool pressOpened_ = false;
    QPoint pressAt_;  // global
    bool filtering_ = false;
};

// Qt presents a checkable button that is not auto-exclusive as a check box;
// this makes every OptionButton present itself as a radio button, named by
// its accessible name or its caption. Once per program.
void installAccessibleOptions();

// The picture Image1 shows: a valve island drawn at 148 x 112 pixels.
QPixmap islandPicture();

} // namespace ondrix
