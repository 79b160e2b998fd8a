#pragma once
// What registering a callback returns: while it lives the callback may be
// called; once it is destroyed (or reset) the callback is unregistered, so it
// cannot outlive what it refers to.

#include <functional>
#include <utility>

namespace ondrix {

class Registration {
public:
    Registration() = default;
    explicit Registration(std::function<void()> unregister) : unregister_(std::move(unregister)) {}
    Registration(Registration&& o) noexcept : unregister_(std::exchange(o.unregister_, {})) {}
    Registration& operator=(Registration&& o) noexcept
    {
        if (this != &o) {
            reset();
            unregister_ = std::exchange(o.unregister_, {});
        }
        return *this;
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    ~Registration() { reset(); }

    void reset()
    {
        if (auto u = std::exchange(unregister_, {}))
            u();
    }

private:
    std::function<void()> unregister_;
};

} // namespace ondrix
