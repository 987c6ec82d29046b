// Corpses: where they are placed, the full table, and the fade that frees
// the slot.
#include "rig.h"

TEST(Corpse, PlacedInTheFirstFreeSlotUntilTheTableIsFull)
{
    resetworld();
    EXPECT_EQ(putcorpse(3, 1472, 384), 1);
    EXPECT_EQ(Rig::mapx(Rig::corpse(0)), 46);
    EXPECT_EQ(Rig::mapy(Rig::corpse(0)), 12);
    EXPECT_EQ(putcorpse(1, 47, 15), 1);
    EXPECT_EQ(Rig::mapx(Rig::corpse(1)), 1);
    EXPECT_EQ(Rig::mapy(Rig::corpse(1)), 0);

    for (int n = 2; n < PLACESLOTS; n++) ASSERT_EQ(putcorpse(1 + n % 16, n, 2 * n), 1);
    EXPECT_EQ(putcorpse(2, 999, 999), 0);
    EXPECT_EQ(Rig::corpse(96).gettype(), 1 + 96 % 16);
    EXPECT_EQ(Rig::x(Rig::corpse(96)), 96);
    EXPECT_EQ(Rig::corpse(97).gettype(), 0);
}

TEST(Corpse, FadesOnlyOnScreenAndFreesItsSlotAfter2000Drawings)
{
    resetworld();
    solidtexture(6, 32, 512, 255, 255, 255);
    putcorpse(2, 2000, 100);   // off screen
    for (int i = 0; i < 3000; i++) drawalone(Rig::corpse(0));
    EXPECT_EQ(Rig::decay(Rig::corpse(0)), 1.0f);

    Corpse& c = Rig::corpse(1);
    putcorpse(2, 200, 100);
    clearscreen();
    drawalone(c);
    EXPECT_TRUE(colourof(readpixel(216, 116), 255, 255, 255));   // alpha 1
    for (int i = 2; i < 2000; i++) drawalone(c);
    EXPECT_EQ(c.gettype(), 2);
    EXPECT_GT(Rig::decay(c), 0.0f);
    clearscreen();
    drawalone(c);   // the 2,000th
    EXPECT_EQ(c.gettype(), 0);
    EXPECT_TRUE(colourof(readpixel(216, 116), 0, 0, 0));
    EXPECT_EQ(putcorpse(1, 5, 5), 1);   // the slot is taken again
    EXPECT_EQ(c.gettype(), 1);
}
