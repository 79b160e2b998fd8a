#include "support/FakeHost.h"

#include <algorithm>

namespace ondrix::test {

FakeHost::FakeHost() : dir(ONDRIX_BIN_DIR) {}

void FakeHost::runDue()
{
    while (!scheduled_.empty() && scheduled_.begin()->first <= now_) {
        auto f = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        f();
    }
}

void FakeHost::processEvents() { runDue(); }

void FakeHost::waitForEvent(std::int64_t deadlineUs)
{
    ++waits_;
    std::int64_t target = std::max(deadlineUs, now_ + 1);
    if (!scheduled_.empty() && scheduled_.begin()->first < target)
        target = std::max(scheduled_.begin()->first, now_);
    now_ = std::max(now_, target);
    runDue();
}

void FakeHost::at(std::int64_t atUs, std::function<void()> f) { scheduled_.emplace(atUs, std::move(f)); }

MessageAnswer FakeHost::messageBox(const std::string& text, const std::string& title,
                                   MessageButtons buttons)
{
    messages.push_back({text, title, buttons});
    if (!messageAnswers.empty()) {
        MessageAnswer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::string FakeHost::inputBox(const std::string& prompt, const std::string& title,
                               const std::string&)
{
    inputs.push_back({prompt, title});
    if (inputAnswers.empty())
        return {};
    std::string a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

bool FakeHost::fileDialog(const FileDialogRequest& req, std::string& fileName)
{
    fileDialogs.push_back(req);
    fileDialogOffered.push_back(fileName);
    if (fileAnswers.empty())
        return false;
    std::string a = fileAnswers.front();
    fileAnswers.pop_front();
    if (a.empty())
        return false;
    fileName = a;
    return true;
}

void FakeHost::setBusyPointer(bool busy)
{
    busyPointer = busy;
    busyHistory.push_back(busy);
}

void FakeHost::exitProgram(int status)
{
    ended = true;
    endStatus = status;
    throw ProgramEnded{status};
}

} // namespace ondrix::test
