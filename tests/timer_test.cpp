// The frame stopwatch: its three states and the moves between them.
#include "rig.h"

#include <gtest/gtest.h>

// Generous: the machine may be busy, but not for a second.
const int SLACK = 1000;   // milliseconds

TEST(Timer, StoppedReportsZero)
{
    Timer t;
    EXPECT_FALSE(t.is_started());
    EXPECT_FALSE(t.is_paused());
    EXPECT_EQ(0, t.get_ticks());

    t.start();
    Rig::startTicks(t) -= 500;
    EXPECT_GE(t.get_ticks(), 500);
    t.stop();
    EXPECT_FALSE(t.is_started());
    EXPECT_EQ(0, t.get_ticks());

    // A stopped timer cannot be paused.
    t.pause();
    EXPECT_FALSE(t.is_paused());
    EXPECT_EQ(0, Rig::pausedTicks(t));
    EXPECT_EQ(0, t.get_ticks());
}

TEST(Timer, PauseFreezesAndUnpauseResumes)
{
    Timer t;
    t.start();
    // As if it had run for 40 ms.
    Rig::startTicks(t) -= 40;
    t.pause();
    EXPECT_TRUE(t.is_paused());
    EXPECT_TRUE(t.is_started());
    const int frozen = Rig::pausedTicks(t);
    EXPECT_GE(frozen, 40);
    EXPECT_LT(frozen, 40 + SLACK);

    SDL_Delay(100);
    EXPECT_EQ(frozen, t.get_ticks());

    // A second pause keeps the first frozen count.
    Rig::pausedTicks(t) = 1234;
    t.pause();
    EXPECT_EQ(1234, Rig::pausedTicks(t));
    EXPECT_EQ(1234, t.get_ticks());

    t.unpause();
    EXPECT_FALSE(t.is_paused());
    EXPECT_EQ(0, Rig::pausedTicks(t));
    const int resumed = t.get_ticks();
    EXPECT_GE(resumed, 1234);
    EXPECT_LT(resumed, 1234 + SLACK);

    // The count goes on from there.
    SDL_Delay(30);
    EXPECT_GE(t.get_ticks(), resumed + 30);

    // Unpausing a running timer changes nothing.
    const int startticks = Rig::startTicks(t);
    t.unpause();
    EXPECT_EQ(startticks, Rig::startTicks(t));
}

TEST(Timer, StartOnPausedTimerRestarts)
{
    Timer t;
    t.start();
    Rig::startTicks(t) -= 5000;
    t.pause();
    const int old = Rig::pausedTicks(t);
    ASSERT_GE(old, 5000);

    t.start();
    EXPECT_TRUE(t.is_started());
    EXPECT_FALSE(t.is_paused());
    EXPECT_LT(t.get_ticks(), SLACK);
    // The old frozen count stays stored but is not reported.
    EXPECT_EQ(old, Rig::pausedTicks(t));

    // Stopping a paused timer leaves it neither running nor paused.
    t.pause();
    t.stop();
    EXPECT_FALSE(t.is_paused());
    EXPECT_FALSE(t.is_started());
    EXPECT_EQ(0, t.get_ticks());
}
