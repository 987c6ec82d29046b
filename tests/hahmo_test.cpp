// The character body: knockback, the collision probes, the easing towards
// the target, the walking animation and facing, and damage.
#include "rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

static const float PI = 3.14159265f;

static void block(int c, int r)
{
    stop[r * MAPW + c] = 1;
}

TEST(Hahmo, BuiltOnATileAndPlacedInPixels)
{
    Hahmo h(46, 9, 1);
    EXPECT_EQ(Rig::x(h), 1472.0f);
    EXPECT_EQ(Rig::ny(h), 288.0f);
    EXPECT_EQ(h.mapx, 46);
    EXPECT_EQ(h.mapy, 9);
    EXPECT_EQ(h.healt, 100.0f);
    EXPECT_EQ(Rig::invcolor(h), 1);
    EXPECT_EQ(h.getd(), 1);

    h.setposition(0, 0);
    Rig::x(h) = 31.9f;
    EXPECT_EQ(h.getx(), 31);
    h.setposition(15, 17);
    EXPECT_EQ(Rig::staticx(h), 31);
    EXPECT_EQ(Rig::staticy(h), 33);
    EXPECT_EQ(h.mapx, 0);
    EXPECT_EQ(h.mapy, 1);
}

// Moves a body pushed with amount on an open map until the push has died
// out; returns the frames in which it still moved.
static int pushframes(Hahmo& h, float angle, float amount)
{
    Rig::addforce(h, angle, amount);
    int frames = 0;
    for (int i = 0; i < 40; i++) {
        const float y = Rig::y(h);
        h.move();
        if (Rig::y(h) != y) frames = i + 1;
    }
    return frames;
}

TEST(Hahmo, KnockbackTravelsAndDiesOut)
{
    resetworld();
    Hahmo h(50, 30, 1);
    // Angle 0 points down at the origin of the push: the body goes up.
    EXPECT_EQ(pushframes(h, 0, 12.5f), 16);
    EXPECT_NEAR(Rig::y(h), 960 - 35.42f, 0.01f);
    EXPECT_EQ(Rig::x(h), 1600.0f);
    EXPECT_EQ(Rig::forcey(h), 0.0f);
    EXPECT_EQ(Rig::ny(h), Rig::y(h));   // the target went along
    EXPECT_FALSE(h.moving());

    Hahmo k(50, 30, 1);
    EXPECT_EQ(pushframes(k, PI, 17.5f), 17);
    EXPECT_NEAR(Rig::y(k), 960 + 49.70f, 0.01f);

    // Straight into a wall on one axis: that axis is cancelled whole, the
    // other carries on.
    for (int r = 0; r < 60; r++) block(51, r);
    Hahmo w(50, 30, 1);
    Rig::addforce(w, -3 * PI / 4, 12.5f);   // pushed right and down
    w.move();
    const float firstx = Rig::x(w);
    EXPECT_NEAR(firstx, 1600 + 12.5f * 0.70711f / 1.35f, 0.01f);
    w.move();   // the probe at x + 22 + 4.85 reaches column 51
    EXPECT_EQ(Rig::forcex(w), 0.0f);
    EXPECT_EQ(Rig::x(w), firstx);
    EXPECT_GT(Rig::forcey(w), 0.0f);
    Hahmo open(30, 30, 1);
    Rig::addforce(open, -3 * PI / 4, 12.5f);
    open.move();
    open.move();
    for (int i = 0; i < 30; i++) {
        w.move();
        open.move();
    }
    EXPECT_EQ(Rig::x(w), firstx);
    EXPECT_EQ(Rig::y(w), Rig::y(open));
    EXPECT_GT(Rig::y(w), 960 + 20.0f);
    resetworld();
}

TEST(Hahmo, RefusedStepsSnapTheTargetBack)
{
    resetworld();
    for (int c = 0; c < 100; c++) block(c, 31);   // pixel rows 992..1023

    // Either bottom probe in the wall refuses the whole vertical step.
    Hahmo h(50, 28, 1);
    Rig::ny(h) = 896 + 70;
    Rig::nx(h) = 1600 + 8;
    EXPECT_EQ(h.move(), 0);   // a key step has no drift
    EXPECT_EQ(Rig::ny(h), 896.0f);
    EXPECT_EQ(Rig::y(h), 896.0f);
    EXPECT_EQ(Rig::nx(h), 1608.0f);
    EXPECT_EQ(Rig::x(h), 1602.0f);

    // Only a drift above a pixel a frame reports the wall.
    Rig::y(h) = Rig::ny(h) = 959.5f;
    Rig::my(h) = 1;
    EXPECT_EQ(h.move(), 0);
    EXPECT_EQ(Rig::ny(h), 959.5f);
    Rig::my(h) = 1.5f;
    EXPECT_EQ(h.move(), 1);
    Rig::my(h) = 0;

    // A body on a tile edge probes the row below with its bottom probe, so
    // resting on the wall row it cannot even step sideways.
    Hahmo e(50, 30, 1);
    Rig::nx(e) += 4;
    e.move();
    EXPECT_EQ(Rig::nx(e), 1600.0f);
    EXPECT_EQ(Rig::x(e), 1600.0f);
    Rig::y(e) = Rig::ny(e) = 959;
    Rig::nx(e) += 4;
    e.move();
    EXPECT_EQ(Rig::x(e), 1601.0f);

    // Drift sideways into a wall column is reported as well.
    block(60, 20);
    block(60, 21);
    Hahmo s(59, 20, 1);
    Rig::x(s) = Rig::nx(s) = 1888 + 8;
    Rig::mx(s) = 3;
    EXPECT_EQ(s.move(), 1);
    EXPECT_EQ(Rig::nx(s), Rig::x(s));
    resetworld();
}

TEST(Hahmo, DiagonalStepsAreTestedAxisByAxis)
{
    resetworld();
    block(51, 29);   // only the cell the combined corner would reach
    Hahmo h(50, 0, 1);
    Rig::y(h) = Rig::ny(h) = 880;
    Rig::nx(h) = 1620;
    Rig::ny(h) = 900;
    h.move();
    EXPECT_EQ(Rig::nx(h), 1620.0f);
    EXPECT_EQ(Rig::ny(h), 900.0f);
    EXPECT_EQ(Rig::x(h), 1605.0f);
    EXPECT_EQ(Rig::y(h), 885.0f);
    resetworld();
}

TEST(Hahmo, TheGridEdgesHoldEveryBody)
{
    resetworld();
    Hahmo h(0, 0, 1);
    Rig::x(h) = Rig::nx(h) = 2;
    Rig::nx(h) = -10;
    Rig::ny(h) = -10;
    h.move();
    EXPECT_EQ(Rig::nx(h), 0.0f);
    EXPECT_EQ(Rig::ny(h), 0.0f);
    EXPECT_EQ(Rig::x(h), 1.5f);
    for (int i = 0; i < 100; i++) h.move();
    EXPECT_NEAR(Rig::x(h), 0, 0.001f);

    // A 198 by 198 map read after the first keeps its open border: outside
    // the grid everything counts as blocked.
    auto m = std::make_unique<TestMap>();
    m->sizex = 198;
    m->sizey = 198;
    map.load(writemap(*m, "e.map").c_str());
    clearslots();
    ASSERT_EQ(stop[198], 0);
    Hahmo b(197, 197, 1);
    for (int i = 0; i < 100; i++) {
        Rig::nx(b) += 4;
        Rig::ny(b) += 4;
        b.move();
    }
    EXPECT_LT(Rig::x(b) + 22, 199 * 32.0f);
    EXPECT_LT(Rig::y(b) + 32, 199 * 32.0f);
    EXPECT_GT(Rig::x(b) + 22, 199 * 32.0f - 5);
    Rig::addforce(b, -PI / 2, 40);   // a hard push right
    b.move();
    EXPECT_LT(Rig::x(b) + 22, 199 * 32.0f);
    EXPECT_LE(b.mapx, 198);
    EXPECT_LE(b.mapy, 198);
    resetworld();
}

TEST(Hahmo, AnimationFramesAndFacing)
{
    Hahmo h(10, 10, 1);
    EXPECT_EQ(h.animate(), 1);   // standing keeps the facing
    Rig::nx(h) = Rig::x(h) + 10;
    int frames[25];
    for (int& f : frames) {
        h.animate();
        f = Rig::frame(h);
    }
    for (int i = 0; i < 5; i++) EXPECT_EQ(frames[i], 0) << i;
    for (int i = 5; i < 11; i++) EXPECT_EQ(frames[i], 1) << i;
    for (int i = 11; i < 17; i++) EXPECT_EQ(frames[i], 2) << i;
    for (int i = 17; i < 23; i++) EXPECT_EQ(frames[i], 3) << i;
    EXPECT_EQ(frames[23], 0);

    // Stopping shows the standing frame at once and keeps the clock.
    h.animate();
    ASSERT_NE(Rig::counter(h), 0);
    const int counter = Rig::counter(h);
    Rig::nx(h) = Rig::x(h) + 2;   // the 2-pixel margin is strict
    EXPECT_FALSE(h.moving());
    h.animate();
    EXPECT_EQ(Rig::frame(h), 0);
    EXPECT_EQ(Rig::counter(h), counter);

    const float x = Rig::x(h);
    const float y = Rig::y(h);
    auto facing = [&](float dx, float dy) {
        Rig::nx(h) = x + dx;
        Rig::ny(h) = y + dy;
        return h.animate();
    };
    EXPECT_EQ(facing(12, -12), 3);   // an equal diagonal faces sideways
    EXPECT_EQ(facing(-12, 12), 2);
    EXPECT_EQ(facing(3, -12), 0);    // 4 up and 1 right a frame
    EXPECT_EQ(facing(-3, 12), 1);
    EXPECT_EQ(facing(0, 3), 1);
    EXPECT_EQ(facing(-3, 0), 2);

    // Knockback alone advances the frames but keeps the facing.
    Rig::nx(h) = x;
    Rig::ny(h) = y;
    h.d = 0;
    Rig::forcex(h) = 5;
    EXPECT_TRUE(h.moving());
    EXPECT_EQ(h.animate(), 0);
    // The horizontal knockback is taken out of the diagonal comparison.
    Rig::forcex(h) = 8;
    EXPECT_EQ(facing(10, -5), 0);
}

TEST(Hahmo, HurtPushesAndDamages)
{
    Hahmo h(10, 10, 1);
    h.hurt(0, 10, 0);
    EXPECT_EQ(Rig::forcey(h), -10.0f);
    EXPECT_EQ(h.healt, 100.0f);
    EXPECT_EQ(Rig::invulnerability(h), 0);
    EXPECT_EQ(Rig::healtfade(h), 0.0f);
    EXPECT_TRUE(h.vulnerable());

    h.hurt(PI / 2, 10, 34);
    EXPECT_NEAR(Rig::forcex(h), -10, 0.0001f);
    EXPECT_EQ(h.healt, 66.0f);
    EXPECT_EQ(Rig::invulnerability(h), 30);
    EXPECT_EQ(Rig::healtfade(h), 1.0f);
    EXPECT_FALSE(h.vulnerable());
    for (int i = 0; i < 29; i++) h.move();
    EXPECT_FALSE(h.vulnerable());
    h.move();
    EXPECT_TRUE(h.vulnerable());

    Hahmo k(10, 10, 1);
    k.hurt(0, 0, 150);
    EXPECT_EQ(k.healt, 0.0f);
}
