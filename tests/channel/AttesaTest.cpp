// The waits of the real host on Qt's event loop: settling pauses and reply
// waits, hundreds in a row, each ends. A wait that misses its wake-up sleeps
// until some unrelated event comes, which without a window is never; the
// watchdog turns that into a failure instead of a hung suite.

#include "channel/Channel.h"
#include "channel/CoreHost.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace ondrix {
namespace {

class Watchdog {
public:
    Watchdog(std::chrono::seconds limite, const char* cosa)
        : thread_([this, limite, cosa] {
              std::unique_lock<std::mutex> lock(m_);
              if (!cv_.wait_for(lock, limite, [this] { return finito_; })) {
                  std::fprintf(stderr, "%s: still waiting after %lld s\n", cosa,
                               static_cast<long long>(limite.count()));
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            finito_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool finito_ = false;
    std::thread thread_;
};

// The program's event loop, for one test.
struct Applicazione {
    int argc = 1;
    char nome[13] = "test_channel";
    char* argv[2] = {nome, nullptr};
    QCoreApplication app{argc, argv};
};

TEST(Attesa, PausesAndReplyWaitsOnTheRealHostAllEnd)
{
    Applicazione a;
    CoreHost host;

    {
        Watchdog cane(std::chrono::seconds(60), "settling pauses");
        for (int i = 0; i < 400; ++i) {
            const std::int64_t t0 = host.nowUs();
            Channel::settle(host, 0.003f);
            ASSERT_GT(host.nowUs() - t0, 3000) << "pause " << i;
        }
    }

    // Replies that come a few milliseconds after their line, each followed
    // by its settling pause: the wake-ups of both kinds of wait, interleaved.
    sim::Scenario s = sim::defaultScenario();
    s.faults.latencyUs = 4000;
    sim::SimulatedIsland island(s);
    sim::SimulatedPort port(island, host);
    ParametriFissi parametri;
    parametri.pausa = 0.002f;
    Channel ch(port, host, parametri);
    ASSERT_TRUE(port.open());
    ch.InviaComando("ENTER SV", "OK");
    Watchdog cane(std::chrono::seconds(60), "reply waits");
    for (int i = 0; i < 300; ++i)
        ASSERT_NE(ch.InviaComando("GET SLAVE ADDRESS", "OK").find("OK"), std::string::npos) << i;
}

// An event posted before a wait ends it at once: as Windows' serial port
// posts a completed write from its own thread while the write that a timer
// started is still being handled (under Wine the wait slept to its deadline).
TEST(Attesa, AnEventPostedBeforeTheWaitEndsIt)
{
    Applicazione a;
    CoreHost host;
    for (int i = 0; i < 20; ++i) {
        bool consegnato = false;
        QTimer::singleShot(0, &a.app, [&] {
            std::thread([&] {
                QMetaObject::invokeMethod(&a.app, [&] { consegnato = true; }, Qt::QueuedConnection);
            }).join();
        });
        host.processEvents();
        const std::int64_t limite = host.nowUs() + 5'000'000;
        while (!consegnato && host.nowUs() < limite)
            host.waitForEvent(limite);
        ASSERT_TRUE(consegnato) << i;
        ASSERT_LT(host.nowUs(), limite) << "wait " << i << " slept to its deadline";
    }
}

} // namespace
} // namespace ondrix
