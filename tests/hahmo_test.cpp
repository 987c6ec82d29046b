// The character body: knockback, the collision probes, the easing towards
// the target, the walking animation and facing, and damage.
#include "rig.h"

static const float PI = 3.14159265f;

// Pushes a body and moves it until the push has died out; returns the
// number of frames in which it still moved.
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
    EXPECT_EQ(pushframes(h, 0, 12.5f), 16);   // angle 0 aims down: pushed up
    EXPECT_NEAR(Rig::y(h), 960 - 35.42f, 0.01f);
    EXPECT_EQ(Rig::ny(h), Rig::y(h));   // the target went along
    Hahmo k(50, 30, 1);
    EXPECT_EQ(pushframes(k, PI, 17.5f), 17);
    EXPECT_NEAR(Rig::y(k), 960 + 49.70f, 0.01f);

    // Into a wall on one axis: that axis is cancelled whole, the other goes
    // on exactly as in the open.
    for (int r = 0; r < 60; r++) stop[cell(51, r)] = 1;
    Hahmo w(50, 30, 1);
    Hahmo open(30, 30, 1);
    Rig::addforce(w, -3 * PI / 4, 12.5f);   // right and down
    Rig::addforce(open, -3 * PI / 4, 12.5f);
    w.move();
    const float firstx = Rig::x(w);
    w.move();   // the probe at x + 22 + 4.85 reaches column 51
    EXPECT_EQ(Rig::forcex(w), 0.0f);
    for (int i = 0; i < 30; i++) w.move();
    for (int i = 0; i < 32; i++) open.move();
    EXPECT_EQ(Rig::x(w), firstx);
    EXPECT_EQ(Rig::y(w), Rig::y(open));
    EXPECT_GT(Rig::y(w), 980.0f);
}

TEST(Hahmo, RefusedStepsSnapTheTargetBack)
{
    resetworld();
    for (int c = 0; c < 100; c++) stop[cell(c, 31)] = 1;   // pixel rows 992..1023
    Hahmo h(50, 28, 1);
    Rig::ny(h) = 896 + 70;
    Rig::nx(h) = 1600 + 8;
    EXPECT_EQ(h.move(), 0);   // a key step has no drift
    EXPECT_TRUE(Rig::ny(h) == 896 && Rig::y(h) == 896) << Rig::ny(h) << ", " << Rig::y(h);
    EXPECT_EQ(Rig::x(h), 1602.0f);

    // Only a drift above a pixel a frame reports the wall.
    Rig::y(h) = Rig::ny(h) = 959.5f;
    Rig::my(h) = 1;
    EXPECT_EQ(h.move(), 0);
    EXPECT_EQ(Rig::ny(h), 959.5f);
    Rig::my(h) = 1.5f;
    EXPECT_EQ(h.move(), 1);

    // On a tile edge the bottom probe is in the row below: resting on the
    // wall row, the body cannot even step sideways.
    Hahmo e(50, 30, 1);
    Rig::nx(e) += 4;
    e.move();
    EXPECT_EQ(Rig::x(e), 1600.0f);
    Rig::y(e) = Rig::ny(e) = 959;
    Rig::nx(e) += 4;
    e.move();
    EXPECT_EQ(Rig::x(e), 1601.0f);

    // A diagonal step is tested per axis with the old position: the corner
    // cell that only the combined step would reach does not stop it.
    stop[cell(51, 29)] = 1;
    Hahmo d(50, 0, 1);
    placeat(d, 1600, 880);
    Rig::nx(d) = 1620, Rig::ny(d) = 900;
    d.move();
    EXPECT_EQ(Rig::x(d), 1605.0f);
    EXPECT_EQ(Rig::y(d), 885.0f);
}

TEST(Hahmo, TheGridEdgesHoldEveryBody)
{
    resetworld();
    Hahmo h(0, 0, 1);
    Rig::x(h) = 2;
    Rig::nx(h) = Rig::ny(h) = -10;
    h.move();
    EXPECT_TRUE(Rig::nx(h) == 0 && Rig::ny(h) == 0);
    EXPECT_EQ(Rig::x(h), 1.5f);

    // A 198 by 198 map read after the first keeps its open border: outside
    // the grid everything counts as blocked.
    map.load(writemap(TestMap(198, 198), "e.map").c_str());
    Hahmo b(197, 197, 1);
    for (int i = 0; i < 100; i++) {
        Rig::nx(b) += 4;
        Rig::ny(b) += 4;
        b.move();
    }
    Rig::addforce(b, -PI / 2, 40);   // a hard push right
    b.move();
    EXPECT_LT(Rig::x(b) + 22, 199 * 32.0f);
    EXPECT_GT(Rig::x(b) + 22, 199 * 32.0f - 5);
    EXPECT_LT(Rig::y(b) + 32, 199 * 32.0f);
    EXPECT_EQ(b.mapx, 198);
}

TEST(Hahmo, AnimationFramesAndFacing)
{
    Hahmo h(10, 10, 1);
    Rig::nx(h) = Rig::x(h) + 10;
    // From a standing start: 0 for five calls, then each frame for six.
    for (int i = 0; i < 24; i++) {
        h.animate();
        EXPECT_EQ(Rig::frame(h), (i + 1) / 6 % 4) << i;
    }

    h.animate();
    const int counter = Rig::counter(h);
    ASSERT_NE(counter, 0);
    Rig::nx(h) = Rig::x(h) + 2;   // the 2-pixel margin is strict
    h.animate();
    EXPECT_EQ(Rig::frame(h), 0);
    EXPECT_EQ(Rig::counter(h), counter);

    auto facing = [&h](float dx, float dy) {
        Rig::nx(h) = Rig::x(h) + dx;
        Rig::ny(h) = Rig::y(h) + dy;
        return h.animate();
    };
    EXPECT_EQ(facing(12, -12), 3);   // an equal diagonal faces sideways
    EXPECT_EQ(facing(3, -12), 0);    // 4 up and 1 right a frame
    EXPECT_EQ(facing(-3, 12), 1);
    Rig::forcex(h) = 8;   // the push is taken out of the comparison
    EXPECT_EQ(facing(10, -5), 0);
}
