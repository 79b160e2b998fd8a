#pragma once
// A pseudo-terminal with a scripted island on its master side, answering
// each received line from a thread: the real serial layer sees a real tty.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ondrix::test {

class PtyIsland {
public:
    // answer: the reply text for one received line (without its CR LF); empty = silence.
    explicit PtyIsland(std::function<std::string(const std::string&)> answer);
    ~PtyIsland();

    const std::string& slavePath() const { return slave_; }
    std::vector<std::string> lines();
    // Closes the master side: the line is gone.
    void hangUp();

private:
    void run();

    std::function<std::string(const std::string&)> answer_;
    int master_ = -1;
    std::string slave_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

} // namespace ondrix::test
