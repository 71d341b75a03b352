#include "sim/ServerThread.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velmaris::sim {
namespace {

// A loop that waits without a timeout, or ends itself after `turns` turns.
class CountingLoop : public ServerThread {
public:
    explicit CountingLoop(int turns = 0)
        : turns_(turns)
    { }
    ~CountingLoop() override { StopThread(); }

    bool Start(std::string* error) { return Launch(error); }
    bool Stop() { return StopThread(); }
    bool IsRunning() const { return Running(); }

    std::atomic<int> begun {0}, prepared {0}, ended {0};

private:
    void Begin() override { ++begun; }
    int Prepare(std::vector<pollfd>& fds) override
    {
        fds.push_back({-1, 0, 0}); // ignored by poll
        const int turn = ++prepared;
        if (turns_ > 0)
            return turn >= turns_ ? kEndLoop : 0;
        return -1; // only the wake-up pipe ends the wait
    }
    void End() override { ++ended; }

    int turns_;
};

TEST(ServerThread, StopWakesABlockedLoopAndJoinsOnce)
{
    CountingLoop loop;
    EXPECT_FALSE(loop.Stop()); // nothing running yet
    ASSERT_TRUE(loop.Start(nullptr));
    EXPECT_TRUE(loop.IsRunning());
    while (loop.prepared == 0)
        std::this_thread::yield();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(loop.Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_FALSE(loop.IsRunning());
    EXPECT_FALSE(loop.Stop());
    EXPECT_EQ(loop.begun, 1);
    EXPECT_EQ(loop.ended, 1);

    ASSERT_TRUE(loop.Start(nullptr)); // a stopped loop starts again
    EXPECT_TRUE(loop.Stop());
    EXPECT_EQ(loop.begun, 2);
    EXPECT_EQ(loop.ended, 2);
}

TEST(ServerThread, PrepareEndsTheLoopItself)
{
    CountingLoop loop(3);
    ASSERT_TRUE(loop.Start(nullptr));
    while (loop.ended == 0)
        std::this_thread::yield();
    EXPECT_EQ(loop.prepared, 3);
    EXPECT_EQ(loop.begun, 1);
    EXPECT_TRUE(loop.Stop()); // the finished thread is still joined
    EXPECT_EQ(loop.ended, 1);
}

} // namespace
} // namespace velmaris::sim
