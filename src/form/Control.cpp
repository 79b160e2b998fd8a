#include "form/Control.h"

#include "form/Form.h"

namespace ondrix {

Control::Control(Form& form, std::string name, int index, Kind kind, Control* container, int left,
                 int top, int width, int height)
    : form_(form), name_(std::move(name)), index_(index), kind_(kind), container_(container),
      left_(left), top_(top), width_(width), height_(height)
{
}

void Control::changed()
{
    ++revision_;
    form_.notify(this);
}

void Control::setLeft(int v) { set(left_, v); }
void Control::setTop(int v) { set(top_, v); }
void Control::setWidth(int v) { set(width_, v); }
void Control::setHeight(int v) { set(height_, v); }

void Control::move(int left, int top, int width, int height)
{
    if (left_ == left && top_ == top && width_ == width && height_ == height)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Control::setCaption(std::string v) { set(caption_, std::move(v)); }
void Control::setAccessibleName(std::string v) { set(accessibleName_, std::move(v)); }

void Control::setText(std::string v)
{
    int idx = -1;
    if (kind_ == Kind::ComboBox) {
        for (std::size_t i = 0; i < list_.size(); ++i)
            if (list_[i] == v) {
                idx = static_cast<int>(i);
                break;
            }
    }
    if (text_ == v && listIndex_ == idx)
        return;
    text_ = std::move(v);
    listIndex_ = idx;
    changed();
}

void Control::setBackColor(Rgb v) { set(back_, v); }
void Control::setForeColor(Rgb v) { set(fore_, v); }
void Control::setFillColor(Rgb v) { set(fill_, v); }
void Control::setBorderColor(Rgb v) { set(border_, v); }
void Control::setBorderWidthPx(int v) { set(borderWidth_, v); }
void Control::setShape(ShapeKind v) { set(shape_, v); }
void Control::setTransparent(bool v) { set(transparent_, v); }
void Control::setBold(bool v) { set(bold_, v); }
void Control::setVisible(bool v) { set(visible_, v); }
void Control::setEnabled(bool v) { set(enabled_, v); }

void Control::setValue(bool v)
{
    if (v && kind_ == Kind::OptionButton) {
        for (Control* other : form_.controls())
            if (other != this && other->kind_ == Kind::OptionButton &&
                other->container_ == container_)
                other->set(other->value_, false);
    }
    set(value_, v);
}

void Control::clearList()
{
    if (list_.empty() && listIndex_ == -1 && text_.empty())
        return;
    list_.clear();
    listIndex_ = -1;
    text_.clear();
    changed();
}

void Control::addItem(std::string item, int position)
{
    if (position < 0 || position > static_cast<int>(list_.size()))
        position = static_cast<int>(list_.size());
    list_.insert(list_.begin() + position, std::move(item));
    if (listIndex_ >= position)
        ++listIndex_;
    changed();
}

void Control::setListIndex(int i)
{
    if (i < -1 || i >= static_cast<int>(list_.size()))
        return;
    std::string t = i >= 0 ? list_[static_cast<std::size_t>(i)] : text_;
    if (listIndex_ == i && text_ == t)
        return;
    listIndex_ = i;
    text_ = std::move(t);
    changed();
}

void Control::setScrollValue(int v)
{
    if (v < min_)
        v = min_;
    if (v > max_)
        v = max_;
    set(scroll_, v);
}

void Control::setScrollRange(int min, int max, int smallChange, int largeChange)
{
    if (min_ == min && max_ == max && small_ == smallChange && large_ == largeChange)
        return;
    min_ = min;
    max_ = max < min ? min : max;
    small_ = smallChange;
    large_ = largeChange;
    if (scroll_ < min_)
        scroll_ = min_;
    if (scroll_ > max_)
        scroll_ = max_;
    changed();
}

void Control::setInterval(int ms) { set(interval_, ms); }

} // namespace ondrix
