// The camera's glide, its target and the scroll window around the player,
// and which world points count as on screen.
#include "rig.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Camera, GlidesAFifthOfTheWayInWholePixels)
{
    Camera.set(0, 0);
    EXPECT_EQ(Camera.nx, 0.0f);
    Camera.nx = 100;
    Camera.ny = 0;
    Camera.move();
    EXPECT_EQ(Camera.x, 20);
    Camera.move();
    EXPECT_EQ(Camera.x, 36);
    for (int i = 0; i < 50; i++) Camera.move();
    EXPECT_EQ(Camera.x, 96);   // 4 short: trunc(4 / 5) is 0
    EXPECT_EQ(Camera.y, 0);

    Camera.set(100, 100);
    Camera.nx = 0;
    Camera.ny = 0;
    Camera.move();
    EXPECT_EQ(Camera.x, 80);
    EXPECT_EQ(Camera.y, 80);
    for (int i = 0; i < 50; i++) Camera.move();
    EXPECT_EQ(Camera.x, 4);
    Camera.set(0, 0);
}

// One world update with nobody but the player and a script clock past its
// first message.
static void stepworld()
{
    Rig::time() = 100;
    map.control();
}

TEST(Camera, TargetAndScrollWindowStayOnTheMap)
{
    resetworld();
    Hahmo& p = Rig::player();
    p.setposition(100, 288);
    stepworld();
    EXPECT_EQ(Camera.nx, 0.0f);
    EXPECT_EQ(Rig::rollx(), 0);
    EXPECT_EQ(Camera.ny, 0.0f);
    EXPECT_EQ(Rig::rolly(), 0);

    // Against the blocked column 100 the player does not move.
    resetworld();
    p.setposition(3190, 1800);
    stepworld();
    ASSERT_EQ(p.getx(), 3190);
    EXPECT_EQ(Camera.nx, 2176.0f);
    EXPECT_EQ(Rig::rollx(), 68);
    EXPECT_EQ(Camera.ny, 1152.0f);   // 60 * 32 - 768
    EXPECT_EQ(Rig::rolly(), 36);
    EXPECT_EQ(Camera.x, 435);        // a fifth of the way from 0
    EXPECT_EQ(Camera.y, 230);

    // Between the clamps the target keeps the player at (480, 384).
    resetworld();
    p.setposition(1600, 900);
    stepworld();
    EXPECT_EQ(Camera.nx, 1120.0f);
    EXPECT_EQ(Camera.ny, 516.0f);
    EXPECT_EQ(Rig::rollx(), 35);
    EXPECT_EQ(Rig::rolly(), 16);
    resetworld();
}

TEST(Camera, OnAMapNarrowerThanTheScreenTheUpperClampWins)
{
    resetworld();
    auto m = std::make_unique<TestMap>();
    m->sizex = 20;
    m->sizey = 15;
    map.load(writemap(*m, "n.map").c_str());
    clearslots();
    Rig::player().setposition(100, 100);
    stepworld();
    EXPECT_EQ(Camera.nx, -384.0f);
    EXPECT_EQ(Rig::rollx(), -12);
    EXPECT_EQ(Camera.ny, -288.0f);
    EXPECT_EQ(Rig::rolly(), -9);
    resetworld();
}

TEST(Camera, InscreenIsTheScreenWidenedLeftAndUp)
{
    Camera.set(0, 0);
    EXPECT_TRUE(inscreen(-47, 0));
    EXPECT_TRUE(inscreen(0, -47));
    EXPECT_TRUE(inscreen(1023, 767));
    EXPECT_FALSE(inscreen(-48, 0));
    EXPECT_FALSE(inscreen(0, -48));
    EXPECT_FALSE(inscreen(1024, 0));
    EXPECT_FALSE(inscreen(0, 768));

    Camera.set(500, -100);
    EXPECT_TRUE(inscreen(453, -147));
    EXPECT_FALSE(inscreen(452, 0));
    EXPECT_TRUE(inscreen(1523, 667));
    EXPECT_FALSE(inscreen(1524, 0));
    EXPECT_FALSE(inscreen(600, 668));
    Camera.set(0, 0);
}
