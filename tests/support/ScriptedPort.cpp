#include "support/ScriptedPort.h"

namespace ondrix::test {

bool ScriptedPort::open()
{
    ++opens;
    if (openFails)
        return false;
    open_ = true;
    return true;
}

void ScriptedPort::operation(const char* what)
{
    ++ops_;
    if (failAtOperation > 0 && (ops_ == failAtOperation || (failStays && ops_ > failAtOperation)))
        throw PortError(std::string(what) + ": injected port failure");
    if (!open_)
        throw PortError(std::string(what) + ": the port is not open");
}

void ScriptedPort::arrive()
{
    const std::int64_t now = clock_.nowUs();
    // The text written leaves once its stall is over.
    if (!outgoing_.empty() && now >= outgoingUntil_) {
        std::string sent = std::move(outgoing_);
        outgoing_.clear();
        if (onWrite)
            onWrite(sent);
    }
    while (!pending_.empty() && pending_.begin()->first <= now) {
        input_ += pending_.begin()->second;
        pending_.erase(pending_.begin());
    }
}

void ScriptedPort::write(const std::string& data)
{
    operation("write");
    if (writeFails)
        throw PortError("write: refused");
    writes.push_back(data);
    writeTimes.push_back(clock_.nowUs());
    outgoing_ += data;
    outgoingUntil_ = clock_.nowUs() + writeStallUs;
    arrive();
}

std::int64_t ScriptedPort::outputCount()
{
    operation("output count");
    arrive();
    return static_cast<std::int64_t>(outgoing_.size());
}

std::int64_t ScriptedPort::inputCount()
{
    operation("input count");
    arrive();
    return static_cast<std::int64_t>(input_.size());
}

std::string ScriptedPort::readAll()
{
    operation("read");
    arrive();
    if (!input_.empty())
        readTimes.push_back(clock_.nowUs());
    return std::exchange(input_, std::string());
}

std::optional<std::int64_t> ScriptedPort::nextArrivalUs() const
{
    std::optional<std::int64_t> next;
    if (!outgoing_.empty())
        next = outgoingUntil_;
    if (!pending_.empty() && (!next || pending_.begin()->first < *next))
        next = pending_.begin()->first;
    return next;
}

std::string ScriptedPort::unread()
{
    std::string all = input_;
    for (const auto& [t, s] : pending_)
        all += s;
    return all;
}

} // namespace ondrix::test
