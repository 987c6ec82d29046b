// How characters see each other: positions, sword tips, random angles, the
// area tests and placing new characters.
#include "rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Puts a live monster of the given side with its body's top-left at (x, y).
void monsterat(int n, float x, float y, int side)
{
    Monster& m = Rig::monster(n);
    m.put(0, 0, 1, 1, side);
    Rig::x(m) = Rig::nx(m) = x;
    Rig::y(m) = Rig::ny(m) = y;
}

void neutralat(int n, float x, float y, int type, int side)
{
    Neutral& m = Rig::neutral(n);
    m.put(0, 0, 1, type, side);
    Rig::x(m) = Rig::nx(m) = x;
    Rig::y(m) = Rig::ny(m) = y;
}

// A sword in mid-swing: cutting, at the given angle and extension.
void swinging(Weapon& w, int hit, float angle, float extension)
{
    Rig::swordhit(w) = hit;
    Rig::swordfade(w) = 1;
    Rig::sworda(w) = angle;
    Rig::swordb(w) = extension;
}

}  // namespace

TEST(Queries, PositionsAreTruncatedToWholePixels)
{
    resetworld();
    Player& p = Rig::player();
    Rig::x(p) = 1023.9f;
    Rig::y(p) = 479.2f;
    EXPECT_EQ(playerx(), 1023);
    EXPECT_EQ(playery(), 479);
    Rig::x(p) = -0.5f;
    EXPECT_EQ(playerx(), 0);

    monsterat(4, 100.75f, 7.99f, 1);
    EXPECT_EQ(monsterx(4), 100.0f);
    EXPECT_EQ(monstery(4), 7.0f);
    neutralat(6, 63.5f, 31.999f, 2, 0);
    EXPECT_EQ(neutralx(6), 63.0f);
    EXPECT_EQ(neutraly(6), 31.0f);
    EXPECT_EQ(playerside(), 0);
}

TEST(Queries, SwordTipsOnlyWhileCutting)
{
    resetworld();
    Player& p = Rig::player();
    Rig::x(p) = 1500.6f;
    Rig::y(p) = 300.4f;
    p.d = 3;
    // Fading out: not cutting, so every query answers 0 wherever the tip is.
    Rig::swordfade(p) = 0.85f;
    Rig::sworda(p) = 182;
    Rig::swordb(p) = 1;
    EXPECT_EQ(playerlongswordx(), 0.0f);
    EXPECT_EQ(playerlongswordy(), 0.0f);
    EXPECT_EQ(playerswordangle(1600, 300), 0.0f);

    // Cutting: the tip of the truncated position; the short tip stays 0.
    swinging(p, 3, 180, 1);
    EXPECT_EQ(playerlongswordx(), 1500 + 24 + 15);
    EXPECT_FLOAT_EQ(playerlongswordy(), 300 + 22);
    EXPECT_EQ(playershortswordx(), 0.0f);
    EXPECT_EQ(playershortswordy(), 0.0f);
    EXPECT_FLOAT_EQ(playerswordangle(1600, 316), (float)std::atan2(1516.0 - 1600, 312.0 - 316));

    neutralat(2, 200.7f, 100.2f, 1, 1);
    Neutral& n = Rig::neutral(2);
    n.d = 0;
    EXPECT_EQ(neutralswordangle(2, 216, 116), 0.0f);
    swinging(n, 1, 5, 0);
    EXPECT_FLOAT_EQ(neutralswordangle(2, 216, 116), (float)std::atan2(220.0 - 216, 116.0 - 116));
}

TEST(Queries, RandomAnglesAreWholeDegreesUpTo69)
{
    srand(12345);
    float widest = 0;
    for (int i = 0; i < 5000; i++) {
        const float a = rnd();
        const double degrees = a / 0.017453292519943295;
        EXPECT_LE(std::fabs(degrees), 69.0001);
        EXPECT_NEAR(degrees, std::round(degrees), 1e-4);
        widest = std::max(widest, std::fabs(a));
    }
    EXPECT_GT(widest, 1.1f);

    // Two equal remainders give exactly 0.
    unsigned seed = 1;
    for (;; seed++) {
        srand(seed);
        const int a = rand() % 70;
        if (a == rand() % 70) break;
    }
    srand(seed);
    EXPECT_EQ(rnd(), 0.0f);
}

TEST(Queries, HurtPlayerPassesItsArgumentsInOrder)
{
    resetworld();
    Player& p = Rig::player();
    hurtplayer(0.5f, 10, 7);
    EXPECT_FLOAT_EQ(p.healt, 93);
    EXPECT_EQ(Rig::invulnerability(p), 30);
    EXPECT_FLOAT_EQ(Rig::forcex(p), (float)(-std::sin(0.5) * 10));
    EXPECT_FLOAT_EQ(Rig::forcey(p), (float)(-std::cos(0.5) * 10));
    EXPECT_FALSE(playervulnerable());
}

TEST(AreaTests, EdgesAreOutsideAndTheLowestSlotWins)
{
    resetworld();
    monsterat(7, 150, 150, 1);
    monsterat(3, 120, 130, 1);
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 1), 4);
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, -1), 4);
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 0), 0);
    // On the left, right, top and bottom edges.
    EXPECT_EQ(monsterinarea(150, 140, 160, 160, 1), 0);
    EXPECT_EQ(monsterinarea(140, 140, 150, 160, 1), 0);
    EXPECT_EQ(monsterinarea(140, 150, 160, 160, 1), 0);
    EXPECT_EQ(monsterinarea(140, 140, 160, 150, 1), 0);
    EXPECT_EQ(monsterinarea(149.9f, 149.9f, 150.1f, 150.1f, 1), 8);

    // A monster at 150.9 counts as standing on 150.
    Rig::x(Rig::monster(7)) = 150.9f;
    EXPECT_EQ(monsterinarea(150, 140, 160, 160, 1), 0);

    // An emptied slot with its old position is never found.
    Rig::type(Rig::monster(3)) = 0;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, -1), 8);
    Rig::type(Rig::monster(7)) = 0;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, -1), 0);
}

TEST(AreaTests, TheAskerIsSkippedOnlyWhileItsStepRuns)
{
    resetworld();
    monsterat(5, 300, 300, 1);
    neutralat(5, 300, 300, 1, 1);
    lastmonster = 5;
    lastneutral = 2;
    EXPECT_EQ(monsterinarea(290, 290, 310, 310, 1), 0);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 6);
    lastmonster = -1;
    lastneutral = 5;
    EXPECT_EQ(monsterinarea(290, 290, 310, 310, 1), 6);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 0);
    lastneutral = -1;
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 6);

    // A friend's type 2 and an enemy's type 1 both count as live.
    neutralat(1, 305, 305, 2, 0);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, -1), 2);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 6);
}

TEST(AreaTests, PlayerByPositionAndSide)
{
    resetworld();   // the player at (1472, 288)
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, -1), 1);
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 1), 0);
    EXPECT_EQ(playerinarea(1472, 200, 1500, 300, 0), 0);
    EXPECT_EQ(playerinarea(1400, 288, 1500, 300, -1), 0);
    // A dead player still stands where he fell.
    Rig::player().healt = -100;
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);
}

TEST(AreaTests, SwordTipsOfCuttingNeutralsOfExactlyThatSide)
{
    resetworld();
    neutralat(4, 500, 500, 1, 1);
    Neutral& n = Rig::neutral(4);
    n.d = 3;
    swinging(n, 2, 180, 1);   // tip at (539, 522)
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 5);
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 0), 0);
    EXPECT_EQ(swordinarea(530, 510, 550, 530, -1), 0);
    EXPECT_EQ(swordinarea(539, 510, 550, 530, 1), 0);
    EXPECT_EQ(swordinarea(530, 522, 550, 530, 1), 0);

    lastneutral = 4;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
    lastneutral = -1;

    // Fading is not cutting, and an empty slot has no sword.
    Rig::swordfade(n) = 0.99f;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
    Rig::swordfade(n) = 1;
    Rig::type(n) = 0;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
}

TEST(Spawning, FirstFreeSlotOfTheFirst97)
{
    resetworld();
    for (int n = 0; n < 5; n++) putenemy(1, 10, 10);
    EXPECT_EQ(putfriend(53, 3), 1);
    Neutral& f = Rig::neutral(5);
    EXPECT_EQ(f.gettype(), 2);
    EXPECT_EQ(f.getside(), 0);
    EXPECT_EQ(f.getx(), 1696);
    EXPECT_EQ(f.gety(), 96);
    EXPECT_EQ(f.getd(), 1);
    EXPECT_EQ(f.healt, 100);
    EXPECT_EQ(Rig::hostile(f), 1);
    EXPECT_EQ(Rig::neutral(4).getside(), 1);
    EXPECT_EQ(Rig::target(Rig::neutral(4)), 1);

    // Monsters fill their own table; two on one tile stand on one pixel.
    EXPECT_EQ(putenemy(2, 11, 29), 1);
    EXPECT_EQ(putenemy(2, 11, 29), 1);
    EXPECT_EQ(Rig::monster(0).gettype(), 1);
    EXPECT_EQ(Rig::monster(1).getx(), 352);
    EXPECT_EQ(Rig::monster(1).gety(), 928);
    EXPECT_EQ(Rig::monster(0).getx(), Rig::monster(1).getx());
    EXPECT_EQ(Rig::monster(1).getside(), 1);
    EXPECT_EQ(Rig::neutral(6).gettype(), 0);

    // Slot 2 freed: the next neutral of either kind goes there.
    Rig::type(Rig::neutral(2)) = 0;
    EXPECT_EQ(putenemy(1, 20, 20), 1);
    EXPECT_EQ(Rig::neutral(2).getx(), 640);
}

TEST(Spawning, FullTablesAndUnknownKindsPlaceNothing)
{
    resetworld();
    for (int n = 0; n < PLACESLOTS; n++) {
        EXPECT_EQ(putfriend(1, 1), 1);
        EXPECT_EQ(putenemy(2, 1, 1), 1);
    }
    EXPECT_EQ(putfriend(53, 3), 0);
    EXPECT_EQ(putenemy(1, 53, 3), 0);
    EXPECT_EQ(putenemy(2, 53, 3), 0);
    EXPECT_EQ(Rig::neutral(97).gettype(), 0);
    EXPECT_EQ(Rig::neutral(98).gettype(), 0);
    EXPECT_EQ(Rig::monster(97).gettype(), 0);
    EXPECT_EQ(Rig::monster(98).gettype(), 0);

    resetworld();
    for (int kind : {0, 3, -1}) EXPECT_EQ(putenemy(kind, 11, 29), 0);
    for (int n = 0; n < SLOTS; n++) {
        EXPECT_EQ(Rig::neutral(n).gettype(), 0);
        EXPECT_EQ(Rig::monster(n).gettype(), 0);
    }
}
