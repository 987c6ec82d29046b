// The frame stopwatch: its three states and the moves between them.
#include "rig.h"

const int SLACK = 1000;   // milliseconds: the machine may be busy, but not for a second

TEST(Timer, StoppedRunningAndPaused)
{
    Timer t;
    t.pause();   // a stopped timer cannot be paused
    EXPECT_FALSE(t.is_started() || t.is_paused());
    EXPECT_EQ(0, t.get_ticks());

    t.start();
    Rig::startTicks(t) -= 40;   // as if it had run for 40 ms
    t.pause();
    EXPECT_TRUE(t.is_paused() && t.is_started());
    const int frozen = t.get_ticks();
    EXPECT_GE(frozen, 40);
    EXPECT_LT(frozen, 40 + SLACK);
    SDL_Delay(50);
    EXPECT_EQ(frozen, t.get_ticks());

    // A second pause keeps the first frozen count.
    Rig::pausedTicks(t) = 1234;
    t.pause();
    EXPECT_EQ(1234, t.get_ticks());

    t.unpause();
    EXPECT_FALSE(t.is_paused());
    const int resumed = t.get_ticks();
    EXPECT_GE(resumed, 1234);
    EXPECT_LT(resumed, 1234 + SLACK);
    SDL_Delay(30);
    EXPECT_GE(t.get_ticks(), resumed + 30);
    const int startticks = Rig::startTicks(t);
    t.unpause();   // unpausing a running timer changes nothing
    EXPECT_EQ(startticks, Rig::startTicks(t));

    // Starting a paused timer restarts it from zero.
    Rig::startTicks(t) -= 5000;
    t.pause();
    t.start();
    EXPECT_TRUE(t.is_started());
    EXPECT_FALSE(t.is_paused());
    EXPECT_LT(t.get_ticks(), SLACK);

    // Stopping a paused timer leaves it neither running nor paused.
    t.pause();
    t.stop();
    EXPECT_FALSE(t.is_paused() || t.is_started());
    EXPECT_EQ(0, t.get_ticks());
}

// The frame's wait ends on the first tick count of 25, however much of the
// frame is left; a frame already late returns at once.
TEST(Timer, WaitFrameEndsAtTwentyFiveTicks)
{
    for (int spent : {0, 10, 22, 24}) {
        fps.start();
        Rig::startTicks(fps) -= spent;
        waitframe();
        const int ticks = fps.get_ticks();
        EXPECT_GE(ticks, FRAMEMS) << spent;
        EXPECT_LT(ticks, FRAMEMS + SLACK) << spent;
    }
    fps.start();
    Rig::startTicks(fps) -= 3000;
    waitframe();
    EXPECT_LT(fps.get_ticks(), 3000 + SLACK);
}
