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

// The blade as drawn at rest on its axis: from 12 pixels past the pivot in
// the hand to 64 more at full reach, 16 wide; mirrored for the right facing.
TEST(Sword, BladeDrawnFromThePivotOut)
{
    resetworld();
    solidtexture(TEXSWORD, 64, 16, 255, 255, 255);
    Player& p = Rig::player();
    p.setposition(400, 300);
    const struct {
        int d;
        int left, top, right, bottom;   // the blade's pixels
    } cases[] = {{1, 432, 304, 495, 319},    // pivot (20, 12)
                 {0, 424, 312, 487, 327},    // pivot (12, 20)
                 {3, 336, 316, 399, 331}};   // pivot (12, 24), drawn leftwards
    for (const auto& c : cases) {
        p.d = c.d;
        swinging(p, 0, 1);
        Rig::swordd(p) = c.d;
        clearscreen();
        {
            Layer l;
            p.showfinal(l);
        }
        for (const auto& in : {std::pair{c.left, c.top}, {c.right, c.bottom}})
            EXPECT_TRUE(colourof(readpixel(in.first, in.second), 255, 255, 255)) << c.d;
        for (const auto& out : {std::pair{c.left - 1, c.top + 4}, {c.right + 1, c.top + 4},
                                {c.left + 4, c.top - 1}, {c.left + 4, c.bottom + 1}})
            EXPECT_TRUE(colourof(readpixel(out.first, out.second), 0, 0, 0)) << c.d << ": " << out.first << "," << out.second;
    }

    // Each corner of the blade takes the light of the cell corner its
    // holder stands by: here the cell right of and below the hero's is dark,
    // so only the blade's lower outer corner is.
    p.d = 1;
    Rig::swordd(p) = 1;
    for (int c = 12; c <= 15; c++)
        for (int r = 8; r <= 11; r++) light[cell(c, r)] = DAYLIGHT;
    light[cell(14, 10)] = 0;
    clearscreen();
    {
        Layer l;
        p.showfinal(l);
    }
    EXPECT_LT(readpixel(495, 319).r, 40);
    for (const auto& lit : {std::pair{432, 304}, {495, 304}, {432, 319}})
        EXPECT_GT(readpixel(lit.first, lit.second).r, 200) << lit.first << "," << lit.second;
    resetworld();
}
