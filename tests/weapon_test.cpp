// The sword: the swing frame by frame, when a new strike is taken, and the
// tip the hit tests use.
#include "rig.h"

#include <cmath>

// The wielder's order each frame: advance the sword, then strike if asked.
static void frame(Weapon& w, bool strike, int d)
{
    Rig::swordcontrol(w);
    if (strike) Rig::swordstrike(w, d);
}

TEST(Sword, SwingFrameByFrame)
{
    const float start[4] = {5, 185, 95, 95};
    const float extension[6] = {0.334f, 0.668f, 1, 1, 1, 1};
    const float fade[7] = {0.85f, 0.70f, 0.55f, 0.40f, 0.25f, 0.10f, 0};
    for (int d = 0; d < 4; d++) {
        SCOPED_TRACE(d);
        Weapon w;
        frame(w, true, d);
        EXPECT_EQ(Rig::swordhit(w), 1);
        EXPECT_EQ(Rig::sworda(w), start[d]);
        EXPECT_EQ(Rig::swordb(w), 0.0f);
        EXPECT_TRUE(w.cutting());
        for (int k = 1; k <= 6; k++) {
            frame(w, true, 0);   // no new strike while swinging
            EXPECT_EQ(Rig::swordhit(w), k < 6 ? k + 1 : 0) << k;
            EXPECT_EQ(Rig::sworda(w), start[d] + 14.5f * k) << k;
            EXPECT_EQ(Rig::swordb(w), extension[k - 1]) << k;
            EXPECT_TRUE(w.cutting()) << k;   // seven cutting frames in all
        }
        for (int k = 0; k < 6; k++) {
            frame(w, true, 0);   // nor while fading, down to 0.10
            EXPECT_NEAR(Rig::swordfade(w), fade[k], 1e-6f) << k;
            EXPECT_FALSE(w.cutting()) << k;
            EXPECT_EQ(Rig::swordhit(w), 0) << k;
        }
        EXPECT_EQ(Rig::swordd(w), d);
        // The frame in which the fade reaches 0 takes the strike.
        frame(w, true, 0);
        EXPECT_EQ(Rig::swordhit(w), 1);
        EXPECT_EQ(Rig::swordd(w), 0);
        EXPECT_EQ(Rig::sworda(w), 5.0f);
    }
}

TEST(Sword, TipsForEveryFacingAndNoShortTip)
{
    Weapon w;
    Rig::sworda(w) = 60;
    Rig::swordb(w) = 1;
    const float s = (float)(18 * std::sin(-60 * 0.017453292519943295));
    const float tips[4][2] = {{123, 193}, {127, 239}, {93, 222 + s}, {139, 222 + s}};
    for (int d = 0; d < 4; d++) {
        EXPECT_FLOAT_EQ(w.getlongswordx(d, 100, 200), tips[d][0]) << d;
        EXPECT_FLOAT_EQ(w.getlongswordy(d, 100, 200), tips[d][1]) << d;
        EXPECT_TRUE(w.getshortswordx(d, 100, 200) == 0 && w.getshortswordy(d, -5, 3) == 0) << d;
    }
    EXPECT_EQ(w.getlongswordx(4, 100, 200), 0.0f);
}

// The tip the area tests ask for is kept between asks: it must follow every
// change of swing, facing and position.
TEST(Sword, KeptTipFollowsEveryChange)
{
    Weapon w;
    swinging(w, 5, 0.334f);
    float tx, ty;
    const auto same = [&](int d, float x, float y) {
        w.longswordtip(d, x, y, tx, ty);
        return tx == w.getlongswordx(d, x, y) && ty == w.getlongswordy(d, x, y);
    };
    EXPECT_TRUE(same(0, 100, 200));
    EXPECT_TRUE(same(0, 100, 200));
    Rig::sworda(w) += 14.5f;
    EXPECT_TRUE(same(0, 100, 200));
    Rig::swordb(w) = 0.668f;
    EXPECT_TRUE(same(0, 100, 200));
    EXPECT_TRUE(same(2, 100, 200));
    EXPECT_TRUE(same(2, 101, 200));
    EXPECT_TRUE(same(2, 101, 199));
}
