#include <gtest/gtest.h>

#include <cerrno>
#include <sys/select.h>
#include <thread>
#include <unistd.h>

#include "core/ShutdownNudge.h"

// A thread blocked in a long select, the way Allegro's X and joystick threads wait, is woken
// by the nudge; the thread that started it is never signalled, so its sleep runs whole.
TEST(ShutdownNudgeTest, WakesBlockedThreadsButNotTheCaller)
{
    int tResult = 0;
    int tError = 0;
    std::thread tWaiter([&]() {
        struct timeval tTimeout = {30, 0};
        tResult = select(0, nullptr, nullptr, nullptr, &tTimeout);
        tError = errno;
    });

    ASSERT_TRUE(StartShutdownNudge());
    EXPECT_TRUE(StartShutdownNudge());
    int tSleep = usleep(20000);
    tWaiter.join();
    StopShutdownNudge();

    EXPECT_EQ(-1, tResult);
    EXPECT_EQ(EINTR, tError);
    EXPECT_EQ(0, tSleep);
}
