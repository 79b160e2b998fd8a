#pragma once
// One named control of the window, toolkit-neutral. Its properties are program
// state: handlers read captions, colours, weights and visibility back. Every
// change is reported to the Form's observer (the Qt window mirrors it).

#include "form/Colore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ondrix {

enum class Kind {
    Label,
    Button,
    TextBox,
    ComboBox,
    OptionButton,
    Frame,
    Shape,
    HScrollBar,
    VScrollBar,
    Image,
    Timer,
};

enum class ShapeKind {
    FilledRect,    // filled rectangle with a 1-pixel outline
    FilledCircle,  // filled circle, diameter = box height, centred, 1-pixel outline
    Outline,       // transparent rectangle with a wide outline (the selection frame)
};

class Form;

class Control {
public:
    Control(Form& form, std::string name, int index, Kind kind, Control* container, int left,
            int top, int width, int height);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Identity.
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 unless part of a control array
    Kind kind() const { return kind_; }
    Control* container() const { return container_; }  // nullptr: the window itself

    // Geometry in twips, relative to the container.
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void move(int left, int top, int width, int height);

    // Caption of labels, buttons, frames, option buttons.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v);
    // Text of text boxes and drop-down lists. Setting a list's text to one of
    // its entries also selects that entry (listIndex), else listIndex is -1.
    const std::string& text() const { return text_; }
    void setText(std::string v);
    // What a screen reader calls a control that shows no caption of its own.
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(std::string v);

    Rgb backColor() const { return back_; }
    void setBackColor(Rgb v);
    Rgb foreColor() const { return fore_; }
    void setForeColor(Rgb v);
    // Shapes: fill and outline.
    Rgb fillColor() const { return fill_; }
    void setFillColor(Rgb v);
    Rgb borderColor() const { return border_; }
    void setBorderColor(Rgb v);
    int borderWidthPx() const { return borderWidth_; }
    void setBorderWidthPx(int v);
    ShapeKind shape() const { return shape_; }
    void setShape(ShapeKind v);
    bool transparent() const { return transparent_; }  // labels drawn without background
    void setTransparent(bool v);

    bool bold() const { return bold_; }
    void setBold(bool v);
    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);

    // Option buttons: selected. Selecting one deselects the other option
    // buttons of the same container.
    bool value() const { return value_; }
    void setValue(bool v);

    // Drop-down lists.
    const std::vector<std::string>& list() const { return list_; }
    void clearList();
    void addItem(std::string item, int position = -1);
    int listIndex() const { return listIndex_; }
    void setListIndex(int i);  // also sets the text; -1 deselects

    // Scroll bars.
    int scrollValue() const { return scroll_; }
    void setScrollValue(int v);
    int scrollMin() const { return min_; }
    int scrollMax() const { return max_; }
    int smallChange() const { return small_; }
    int largeChange() const { return large_; }
    void setScrollRange(int min, int max, int smallChange, int largeChange);

    // Timers.
    int interval() const { return interval_; }
    void setInterval(int ms);

    // Changes since the observer last looked (the Qt window uses it to skip
    // untouched widgets); bumped by every setter that changes something.
    std::uint64_t revision() const { return revision_; }

private:
    void changed();
    template <typename T>
    void set(T& field, T v)
    {
        if (field == v)
            return;
        field = std::move(v);
        changed();
    }

    Form& form_;
    std::string name_;
    int index_;
    Kind kind_;
    Control* container_;
    int left_, top_, width_, height_;
    std::string caption_, text_, accessibleName_;
    Rgb back_ = colore::Pannello, fore_ = colore::Nero, fill_ = colore::Nero, border_ = colore::Nero;
    int borderWidth_ = 1;
    ShapeKind shape_ = ShapeKind::FilledRect;
    bool transparent_ = false;
    bool bold_ = true;
    bool visible_ = true;
    bool enabled_ = true;
    bool value_ = false;
    std::vector<std::string> list_;
    int listIndex_ = -1;
    int scroll_ = 0, min_ = 0, max_ = 32767, small_ = 1, large_ = 1;
    int interval_ = 0;
    std::uint64_t revision_ = 0;
};

} // namespace ondrix
