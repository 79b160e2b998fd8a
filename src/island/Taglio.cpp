#include "island/Taglio.h"

namespace ondrix {

long Taglio::pos(std::string_view s) const
{
    std::size_t p = r_.find(s);
    return p == std::string::npos ? 0 : static_cast<long>(p) + 1;
}

std::string Taglio::head(long n) const
{
    if (n < 0)
        throw ParseError("reply shorter than expected");
    return r_.substr(0, static_cast<std::size_t>(n));
}

std::string Taglio::at(long p) const
{
    if (p < 1)
        throw ParseError("reply shorter than expected");
    if (static_cast<std::size_t>(p) > r_.size())
        return {};
    return r_.substr(static_cast<std::size_t>(p - 1), 1);
}

void Taglio::drop(long n)
{
    if (n < 0)
        throw ParseError("reply shorter than expected");
    if (static_cast<std::size_t>(n) >= r_.size())
        r_.clear();
    else
        r_.erase(0, static_cast<std::size_t>(n));
}

void Taglio::chop(long n)
{
    if (n < 0 || static_cast<std::size_t>(n) > r_.size())
        throw ParseError("reply shorter than expected");
    r_.resize(r_.size() - static_cast<std::size_t>(n));
}

std::optional<std::string> Taglio::campo(char c)
{
    const long p = pos(std::string_view(&c, 1));
    if (p == 0)
        return std::nullopt;
    std::string prima = head(p - 1);
    drop(p);
    return prima;
}

} // namespace ondrix
