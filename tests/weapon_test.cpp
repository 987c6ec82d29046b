// The sword: the swing frame by frame, when a new strike is taken, the tip
// the hit tests use and the direction of the knockback it gives.
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

TEST(Sword, TipsAndKnockbackDirection)
{
    Weapon w;
    Rig::sworda(w) = 60;
    Rig::swordb(w) = 1;
    const float s = (float)(18 * std::sin(-60 * 0.017453292519943295));
    EXPECT_FLOAT_EQ(w.getlongswordx(0, 100, 200), 123);
    EXPECT_FLOAT_EQ(w.getlongswordy(0, 100, 200), 193);
    EXPECT_FLOAT_EQ(w.getlongswordx(1, 100, 200), 127);
    EXPECT_FLOAT_EQ(w.getlongswordy(1, 100, 200), 239);
    EXPECT_FLOAT_EQ(w.getlongswordx(2, 100, 200), 93);
    EXPECT_FLOAT_EQ(w.getlongswordy(2, 100, 200), 222 + s);
    EXPECT_FLOAT_EQ(w.getlongswordx(3, 100, 200), 139);
    EXPECT_FLOAT_EQ(w.getlongswordy(3, 100, 200), 222 + s);
    EXPECT_EQ(w.getlongswordx(4, 100, 200), 0.0f);
    for (int d = 0; d < 4; d++) {
        EXPECT_EQ(w.getshortswordx(d, 100, 200), 0.0f);
        EXPECT_EQ(w.getshortswordy(d, -5000, 3), 0.0f);
    }

    // Seen from the victim, the pivot lies at atan2(3, 4) when the victim
    // stands 3 left of and 4 above it.
    const float pivot[4][2] = {{20, 16}, {12, 16}, {16, 12}, {16, 12}};
    for (int d = 0; d < 4; d++) {
        const float px = 100 + pivot[d][0];
        const float py = 200 + pivot[d][1];
        EXPECT_FLOAT_EQ(w.getswordangle(d, 100, 200, px - 3, py - 4), std::atan2(3.0f, 4.0f)) << d;
    }
}
