// How characters find each other: the area tests, and placing new
// characters.
#include "rig.h"

#include <cmath>

TEST(AreaTests, StrictEdgesLowestSlotAndNoStaleSlots)
{
    resetworld();
    placed(Rig::monster(7), 150, 150, 1, 1);
    placed(Rig::monster(3), 120, 130, 1, 1);
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 1), 4);
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 0), 0);
    EXPECT_EQ(monsterinarea(150, 140, 160, 160, 1), 0);
    EXPECT_EQ(monsterinarea(140, 140, 150, 160, 1), 0);
    EXPECT_EQ(monsterinarea(140, 140, 160, 150, 1), 0);
    Rig::x(Rig::monster(7)) = 150.9f;   // stands on 150
    EXPECT_EQ(monsterinarea(150, 140, 160, 160, 1), 0);
    EXPECT_EQ(monsterinarea(149.9f, 149.9f, 150.1f, 150.1f, 1), 8);

    // The asker is skipped while its own step runs.
    lastmonster = 3;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 1), 8);
    lastmonster = -1;

    // An emptied slot keeps its position but is never found.
    Rig::type(Rig::monster(3)) = 0;
    Rig::type(Rig::monster(7)) = 0;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, -1), 0);

    placed(Rig::neutral(5), 300, 300, 1, 1);
    placed(Rig::neutral(1), 305, 305, 2, 0);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, -1), 2);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 6);
    lastneutral = 5;
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 0);
    lastneutral = -1;
}

TEST(AreaTests, ThePlayerIsOnSideZeroAliveOrDead)
{
    resetworld();   // the player at (1472, 288)
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 1), 0);
    EXPECT_EQ(playerinarea(1472, 200, 1500, 300, 0), 0);
    EXPECT_EQ(playerinarea(1400, 288, 1500, 300, -1), 0);
    Rig::player().healt = -100;
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);
}

TEST(AreaTests, SwordTipsOfCuttingNeutralsOfExactlyThatSide)
{
    resetworld();
    Neutral& n = placed(Rig::neutral(4), 500, 500, 1, 1);
    n.d = 3;
    swinging(n, 180, 1);   // tip at (539, 522)
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 5);
    EXPECT_EQ(swordinarea(530, 510, 550, 530, -1), 0);
    EXPECT_EQ(swordinarea(539, 510, 550, 530, 1), 0);
    EXPECT_EQ(swordinarea(530, 522, 550, 530, 1), 0);
    lastneutral = 4;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
    lastneutral = -1;
    Rig::type(n) = 0;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
}

TEST(Spawning, FirstFreeSlotOfTheFirst97)
{
    resetworld();
    for (int n = 0; n < 5; n++) putenemy(ENEMYRAIDER, 10, 10);
    EXPECT_EQ(putfriend(53, 3), 1);
    Neutral& f = Rig::neutral(5);
    EXPECT_EQ(f.gettype(), 2);
    EXPECT_EQ(f.getx(), 1696);
    EXPECT_EQ(f.gety(), 96);
    EXPECT_EQ(Rig::target(Rig::neutral(4)), 1);

    for (int n = 0; n < PLACESLOTS; n++) putfriend(1, 1);
    EXPECT_EQ(putfriend(53, 3), 0);
    EXPECT_EQ(putenemy(ENEMYRAIDER, 53, 3), 0);
    EXPECT_EQ(Rig::neutral(96).gettype(), 2);
    EXPECT_EQ(Rig::neutral(97).gettype(), 0);
    for (int kind : {0, 3, -1}) EXPECT_EQ(putenemy(kind, 11, 29), 0);
    EXPECT_EQ(Rig::monster(2).gettype(), 0);
}

// The area tests compare whole-pixel positions with float bounds through
// whole-number bounds: they must find exactly what inside() finds, for
// bounds on, just off and between whole pixels, negative ones included.
TEST(AreaTests, WholePixelBoundsAgreeWithInside)
{
    resetworld();
    const float px = 40, py = -3;   // a monster standing on (40, -3)
    placed(Rig::monster(0), px, py, 1, 1);
    const float edges[] = {-1e9f, -4.5f, -3.0f, -2.999f, 0, 39, 39.5f, 40, std::nextafter(40.0f, 41.0f), 41, 1e9f};
    for (float x1 : edges)
        for (float x2 : edges)
            for (float y1 : edges)
                for (float y2 : edges)
                    ASSERT_EQ(monsterinarea(x1, y1, x2, y2, -1), inside(x1, y1, x2, y2, px, py) ? 1 : 0)
                        << x1 << " " << y1 << " " << x2 << " " << y2;
    EXPECT_EQ(monsterinarea(NAN, -10, 100, 100, -1), 0);
}

// The player's sword, as the others ask for it: nothing unless he is
// cutting, and then the tip of his blade where he stands.
TEST(AreaTests, ThePlayersSwordIsFoundOnlyWhileCutting)
{
    resetworld();
    Player& p = Rig::player();
    p.setposition(600, 400);
    p.d = 1;
    swinging(p, 40, 1);
    Rig::swordfade(p) = 0.9f;   // the sword put away, fading
    ASSERT_FALSE(p.cutting());
    EXPECT_EQ(playerlongswordx(), 0.0f);
    EXPECT_EQ(playerlongswordy(), 0.0f);
    EXPECT_EQ(playershortswordx(), 0.0f);
    EXPECT_EQ(playershortswordy(), 0.0f);

    swinging(p, 40, 1);
    ASSERT_TRUE(p.cutting());
    EXPECT_FLOAT_EQ(playerlongswordx(), p.getlongswordx(1, (float)p.getx(), (float)p.gety()));
    EXPECT_FLOAT_EQ(playerlongswordy(), p.getlongswordy(1, (float)p.getx(), (float)p.gety()));
    EXPECT_NE(playerlongswordx(), 0.0f);
    EXPECT_EQ(playershortswordx(), 0.0f);
    EXPECT_EQ(playershortswordy(), 0.0f);
}

// The world's generator draws what the GNU C library's rand() draws, for the
// seeds the tests use, for 0 (taken as 1) and for seeds past 2^31.
TEST(WorldRandom, DrawsTheSequenceOfTheGnuCLibrary)
{
    for (unsigned seed : {1u, 0u, 2u, 77u, 12345u, 2147483647u, 3000000000u}) {
        worldsrand(seed);
        srand(seed);
        int differ = 0;
        for (int i = 0; i < 100000; i++) differ += worldrand() != rand();
        EXPECT_EQ(differ, 0) << "seed " << seed;
    }
    worldsrand(1);
}
