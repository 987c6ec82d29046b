// The world's per-frame updates apart from its drawing: corpses placed and
// decaying, bodies flashing, the hero healing, with or without a picture.
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

// A corpse decays only on screen and frees its slot on its 2,000th frame.
TEST(Corpse, DecaysOnlyOnScreenAndFreesItsSlotAfter2000Frames)
{
    resetworld();
    putcorpse(2, 2000, 100);   // off screen
    putcorpse(2, 200, 100);
    Corpse& c = Rig::corpse(1);
    for (int i = 1; i < 2000; i++) Rig::world().showframe(false);
    EXPECT_EQ(Rig::decay(Rig::corpse(0)), 1.0f);
    EXPECT_EQ(c.gettype(), 2);
    EXPECT_GT(Rig::decay(c), 0.0f);
    Rig::world().showframe(false);   // the 2,000th
    EXPECT_EQ(c.gettype(), 0);
    EXPECT_EQ(putcorpse(1, 5, 5), 1);   // the slot is taken again
    EXPECT_EQ(c.gettype(), 1);
}

// Bodies on screen flash every third frame while recovering; those off it
// do not; the hero flashes and heals wherever he is while alive, and the
// dead hero neither heals nor flashes.
TEST(Frameupdates, FlashesOnScreenAndTheLivingHeroHeals)
{
    resetworld();
    Neutral& far = Rig::neutral(0);
    far.put(40, 5, 1, 2, 0);   // pixel column 1280: right of the screen
    Monster& beast = Rig::monster(0);
    beast.put(10, 30, 1, 1, 1);   // pixel row 960: below it
    Player& p = Rig::player();
    p.setposition(5000, 5000);
    p.healt = 50;
    Rig::invulnerability(far) = Rig::invulnerability(beast) = Rig::invulnerability(p) = 10;
    const int colour = Rig::invcolor(p);
    for (int i = 0; i < 3; i++) Rig::world().showframe(false);
    EXPECT_EQ(Rig::invcounter(far), 0);
    EXPECT_EQ(Rig::invcounter(beast), 0);
    EXPECT_EQ(Rig::invcounter(p), 0);
    EXPECT_EQ(Rig::invcolor(p), -colour);
    EXPECT_FLOAT_EQ(p.healt, 50.06f);
    EXPECT_EQ(Rig::healtfade(p), 1.0f);

    Camera.set(1280 - 1023, 960 - 767);
    Rig::world().showframe(false);
    EXPECT_EQ(Rig::invcounter(far), 1);
    EXPECT_EQ(Rig::invcounter(beast), 1);

    p.healt = 0;
    Rig::world().showframe(false);
    EXPECT_EQ(p.healt, 0.0f);
    EXPECT_EQ(Rig::invcounter(p), 1);
    Camera.set(0, 0);
}

// Drawing moves nothing: frames with and without the picture leave the
// same world, and show() alone changes none of it.
TEST(Frameupdates, TheWorldMovesAlikeWithAndWithoutThePicture)
{
    auto run = [](bool picture) {
        resetworld();
        Rig::player().healt = 40;
        Rig::invulnerability(Rig::player()) = 9;
        Rig::healtfade(placed(Rig::neutral(0), 300, 200, 2, 0)) = 1;
        Rig::invulnerability(placed(Rig::monster(3), 500, 300, 1, 1)) = 7;
        putcorpse(3, 290, 190);
        for (int f = 0; f < 5; f++) {
            Rig::world().showframe(picture);
            if (picture) Rig::world().show();
        }
        Digest d;
        takedigest(d);
        return std::vector<uint32_t>(d.value, d.value + d.count);
    };
    EXPECT_EQ(run(true), run(false));
}
