#pragma once
// The one way island replies are cut: by position, 1-based as the island's
// tables are laid out. tab()/cr()/pos() give the position of the first TAB /
// CR / text (0 when absent); head(n) the first n characters; drop(n) removes
// the first n; chop(n) the last n. A negative count, or chopping more than
// there is, throws ParseError: the reply is shorter than its layout.

#include "island/Numeri.h"

#include <optional>
#include <string>
#include <string_view>

namespace ondrix {

class Taglio {
public:
    explicit Taglio(std::string& r) : r_(r) {}

    long tab() const { return pos("\t"); }
    long cr() const { return pos("\r"); }
    long pos(std::string_view s) const;
    std::string head(long n) const;
    // The one character at position p (1-based); empty past the end.
    std::string at(long p) const;
    void drop(long n);
    void chop(long n);
    // The text before the first c, which is cut off with it; nothing (and
    // the text left alone) when there is no c.
    std::optional<std::string> campo(char c);
    bool empty() const { return r_.empty(); }
    std::size_t size() const { return r_.size(); }
    const std::string& text() const { return r_; }

private:
    std::string& r_;
};

} // namespace ondrix
