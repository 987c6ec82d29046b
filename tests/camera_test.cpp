// The camera's glide, its target and the scroll window around the player,
// and which world points count as on screen.
#include "rig.h"

TEST(Camera, GlidesAFifthOfTheWayInWholePixels)
{
    Camera.set(0, 100);
    Camera.nx = 100, Camera.ny = 0;
    Camera.move();
    EXPECT_EQ(Camera.x, 20);
    EXPECT_EQ(Camera.y, 80);
    Camera.move();
    EXPECT_EQ(Camera.x, 36);
    for (int i = 0; i < 50; i++) Camera.move();
    EXPECT_EQ(Camera.x, 96);   // trunc(4 / 5) is 0: it rests 4 short
    EXPECT_EQ(Camera.y, 4);

    // On screen: the screen widened 47 pixels left and up.
    Camera.set(0, 0);
    EXPECT_TRUE(inscreen(-47, 0));
    EXPECT_TRUE(inscreen(1023, 767));
    EXPECT_FALSE(inscreen(-48, 0));
    EXPECT_FALSE(inscreen(1024, 0));
    EXPECT_FALSE(inscreen(0, 768));
}

// One world update with nobody but the player, the script past its first
// message.
static void stepworld(int x, int y)
{
    clearslots();
    Rig::player().setposition(x, y);
    Rig::time() = 100;
    map.control();
}

TEST(Camera, TargetAndScrollWindowStayOnTheMap)
{
    resetworld();
    stepworld(100, 288);
    EXPECT_EQ(Camera.nx, 0.0f);
    EXPECT_EQ(Rig::rollx(), 0);
    EXPECT_EQ(Camera.ny, 0.0f);
    EXPECT_EQ(Rig::rolly(), 0);

    resetworld();
    stepworld(3190, 1800);   // against the blocked column 100: no step
    ASSERT_EQ(Rig::player().getx(), 3190);
    EXPECT_EQ(Camera.nx, 2176.0f);
    EXPECT_EQ(Rig::rollx(), 68);
    EXPECT_EQ(Camera.ny, 1152.0f);
    EXPECT_EQ(Rig::rolly(), 36);
    EXPECT_EQ(Camera.x, 435);

    // On a map narrower than the screen the upper clamp comes last and wins.
    loadworld(writemap(TestMap(20, 15), "n.map"));
    stepworld(100, 100);
    EXPECT_EQ(Camera.nx, -384.0f);
    EXPECT_EQ(Rig::rollx(), -12);
    EXPECT_EQ(Camera.ny, -288.0f);
    EXPECT_EQ(Rig::rolly(), -9);
}
