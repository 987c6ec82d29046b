// Corpses: where they are placed, the full table, the picture and its
// mirroring, the light, and the fade that frees the slot.
#include "rig.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Corpse, PlacedInTheFirstFreeSlotWithTheCellUnderItsCentre)
{
    resetworld();
    EXPECT_EQ(putcorpse(3, 1472, 384), 1);
    Corpse& a = Rig::corpse(0);
    EXPECT_EQ(a.gettype(), 3);
    EXPECT_EQ(Rig::mapx(a), 46);
    EXPECT_EQ(Rig::mapy(a), 12);
    EXPECT_EQ(Rig::decay(a), 1.0f);
    EXPECT_TRUE(Rig::d(a) == 1 || Rig::d(a) == -1);

    EXPECT_EQ(putcorpse(1, 47, 15), 1);
    EXPECT_EQ(Rig::mapx(Rig::corpse(1)), 1);
    EXPECT_EQ(Rig::mapy(Rig::corpse(1)), 0);

    Rig::corpse(0) = Corpse();
    EXPECT_EQ(putcorpse(2, 10, 20), 1);
    EXPECT_EQ(Rig::x(Rig::corpse(0)), 10);
    EXPECT_EQ(Rig::y(Rig::corpse(0)), 20);
    EXPECT_EQ(Rig::corpse(2).gettype(), 0);
    resetworld();
}

TEST(Corpse, FullTableLeavesEverythingAsItWas)
{
    resetworld();
    for (int n = 0; n < PLACESLOTS; n++) ASSERT_EQ(putcorpse(1 + n % 16, n, 2 * n), 1);
    EXPECT_EQ(putcorpse(2, 999, 999), 0);
    EXPECT_EQ(putcorpse(2, 999, 999), 0);
    for (int n = 0; n < PLACESLOTS; n++) {
        EXPECT_EQ(Rig::corpse(n).gettype(), 1 + n % 16);
        EXPECT_EQ(Rig::x(Rig::corpse(n)), n);
        EXPECT_EQ(Rig::y(Rig::corpse(n)), 2 * n);
    }
    EXPECT_EQ(Rig::corpse(97).gettype(), 0);
    EXPECT_EQ(Rig::corpse(98).gettype(), 0);
    resetworld();
}

// The corpse sheet: two columns of 16 bands, so a pixel tells both the band
// and which side of the picture it came from.
TEST(Corpse, DrawsItsBandMirroredOrAsStored)
{
    resetworld();
    celltexture(6, 2, 16, 16, 32);
    putcorpse(3, 100, 200);
    putcorpse(3, 300, 200);
    Rig::d(Rig::corpse(0)) = -1;
    Rig::d(Rig::corpse(1)) = 1;
    clearscreen();
    Rig::corpse(0).show();
    Rig::corpse(1).show();
    const Pixel left = cellcolor(0, 2);
    const Pixel right = cellcolor(1, 2);
    EXPECT_TRUE(colourof(readpixel(104, 216), left.r, left.g, left.b));
    EXPECT_TRUE(colourof(readpixel(127, 216), right.r, right.g, right.b));
    EXPECT_TRUE(colourof(readpixel(304, 216), right.r, right.g, right.b));
    EXPECT_TRUE(colourof(readpixel(327, 216), left.r, left.g, left.b));
    EXPECT_TRUE(colourof(readpixel(104, 200), left.r, left.g, left.b));
    EXPECT_TRUE(colourof(readpixel(104, 231), left.r, left.g, left.b));
    EXPECT_TRUE(colourof(readpixel(99, 216), 0, 0, 0));
    EXPECT_TRUE(colourof(readpixel(104, 232), 0, 0, 0));

    // The camera moves the picture; night tints it towards blue.
    Camera.set(50, 100);
    night = 1;
    clearscreen();
    Rig::corpse(0).show();
    EXPECT_TRUE(colourof(readpixel(54, 116), (int)(left.r / 3.5 + 0.5),
                         (int)(left.g / 3.5 + 0.5), left.b / 2, 1));
    resetworld();
}

TEST(Corpse, FadesOnlyOnScreenAndFreesItsSlotAfter2000Drawings)
{
    resetworld();
    solidtexture(6, 32, 512, 255, 255, 255);
    putcorpse(2, 2000, 100);   // off screen with the camera at (0, 0)
    for (int i = 0; i < 3000; i++) Rig::corpse(0).show();
    EXPECT_EQ(Rig::decay(Rig::corpse(0)), 1.0f);
    EXPECT_EQ(Rig::corpse(0).gettype(), 2);

    Corpse& c = Rig::corpse(1);
    putcorpse(2, 200, 100);
    clearscreen();
    c.show();
    EXPECT_TRUE(colourof(readpixel(216, 116), 255, 255, 255));   // alpha 1
    for (int i = 1; i < 1998; i++) c.show();
    EXPECT_EQ(c.gettype(), 2);
    ASSERT_GT(Rig::decay(c), 0.0f);
    clearscreen();
    c.show();   // the 1,999th
    EXPECT_EQ(c.gettype(), 2);
    EXPECT_LT(Rig::decay(c), 0.0005f);
    clearscreen();
    c.show();   // the 2,000th
    EXPECT_EQ(c.gettype(), 0);
    EXPECT_LE(Rig::decay(c), 0.0f);
    EXPECT_TRUE(colourof(readpixel(216, 116), 0, 0, 0));   // alpha under 0.0005

    // The world stops drawing it and the slot is taken again.
    EXPECT_EQ(putcorpse(1, 5, 5), 1);
    EXPECT_EQ(c.gettype(), 1);
    resetworld();
}

TEST(Corpse, InTheLastGridCellItsFarCornersUseTheNearestLight)
{
    resetworld();
    auto m = std::make_unique<TestMap>();
    m->sizex = 198;
    m->sizey = 198;
    map.load(writemap(*m, "k.map").c_str());
    clearslots();
    solidtexture(6, 32, 512, 200, 100, 50);
    putcorpse(1, 198 * 32, 198 * 32);
    Corpse& c = Rig::corpse(0);
    ASSERT_EQ(Rig::mapx(c), 198);
    ASSERT_EQ(Rig::mapy(c), 198);
    Camera.set(198 * 32 - 500, 198 * 32 - 500);
    clearscreen();
    c.show();
    EXPECT_TRUE(colourof(readpixel(530, 530), 200, 100, 50));
    EXPECT_TRUE(colourof(readpixel(501, 501), 200, 100, 50));
    resetworld();
}
