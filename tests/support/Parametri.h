#pragma once
// The channel's parameters from a Testi, as the program gives them, with the
// title from a function (the window's caption in the program).

#include "channel/Channel.h"
#include "island/Model.h"

#include <functional>
#include <string>

namespace ondrix::test {

class ParametriTesti : public ParametriCanale {
public:
    ParametriTesti(const Testi& t, std::function<std::string()> titolo)
        : t_(t), titolo_(std::move(titolo))
    {
    }
    float Ritardo() const override { return t_.Ritardo; }
    std::string messaggioTimeout() const override { return t_.MessaggioTimeout(); }
    std::string titolo() const override { return titolo_(); }

private:
    const Testi& t_;
    std::function<std::string()> titolo_;
};

} // namespace ondrix::test
