// Monsters: choosing a target, touching the player, taking the player's
// sword, dying into corpses and scoring.
#include "rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Restarts the random sequence so that its next draw leaves value as the
// remainder of mod: value 2 of 20 makes the next step a retarget frame.
void seednext(int mod, int value)
{
    for (unsigned s = 1;; s++) {
        srand(s);
        if (rand() % mod == value) {
            srand(s);
            return;
        }
    }
}

Monster& monsterat(int n, float x, float y, int side)
{
    Monster& m = Rig::monster(n);
    m.put(0, 0, 1, 1, side);
    Rig::x(m) = Rig::nx(m) = x;
    Rig::y(m) = Rig::ny(m) = y;
    return m;
}

// One behaviour step of monster slot n, as the world's frame runs it.
void step(int n, bool retarget)
{
    seednext(20, retarget ? 2 : 0);
    lastmonster = n;
    Rig::monster(n).input();
    lastmonster = -1;
}

// The player's sword in mid-swing to the right; from the player's start
// (1472, 288) its tip lies at (1496, 310).
void playercutting()
{
    Player& p = Rig::player();
    p.d = 3;
    Rig::swordhit(p) = 2;
    Rig::swordfade(p) = 1;
    Rig::sworda(p) = 180;
    Rig::swordb(p) = 0;
}

}  // namespace

TEST(Monsters, RetargetPrefersNearMonstersThenTheLowestSlotFarOut)
{
    resetworld();
    Monster& m = monsterat(0, 200, 1500, 1);
    monsterat(5, 300, 1500, 0);
    monsterat(2, 600, 1500, 0);
    // Stage 2 looks for no monsters, stage 3 takes slot 2 before slot 5.
    step(0, true);
    EXPECT_EQ(Rig::target(m), 202);
    EXPECT_FLOAT_EQ(Rig::mx(m), 3);
    EXPECT_NEAR(Rig::my(m), 0, 1e-5);

    // Within 50 pixels a monster beats a neutral, which beats the player.
    Rig::x(m) = Rig::nx(m) = 200;
    Rig::y(m) = Rig::ny(m) = 1500;
    Rig::forcex(m) = Rig::forcey(m) = 0;
    Rig::neutral(3).put(0, 0, 1, 2, 0);
    Rig::x(Rig::neutral(3)) = 230;
    Rig::y(Rig::neutral(3)) = 1470;
    Rig::x(Rig::monster(5)) = 160;
    step(0, true);
    EXPECT_EQ(Rig::target(m), 205);
    Rig::type(Rig::monster(5)) = 0;
    step(0, true);
    EXPECT_EQ(Rig::target(m), 103);
}

TEST(Monsters, OnlyEnemyMonstersLookForThePlayer)
{
    resetworld();
    Monster& own = monsterat(0, 1512, 288, 0);
    step(0, true);
    EXPECT_EQ(Rig::target(own), 0);
    EXPECT_EQ(Rig::mx(own), 0);
    EXPECT_EQ(Rig::my(own), 0);

    Monster& enemy = monsterat(1, 1512, 288, 1);
    Rig::target(enemy) = 0;
    Rig::type(own) = 0;
    step(1, true);
    EXPECT_EQ(Rig::target(enemy), 1);
    EXPECT_NEAR(std::hypot(Rig::mx(enemy), Rig::my(enemy)), 3, 1e-5);
    // Heading left towards the player, turned by at most 69 degrees.
    EXPECT_LT(Rig::mx(enemy), -3 * std::cos(69.5 * M_PI / 180));
}

TEST(Monsters, TouchingHurtsTheReadyPlayerButNotOnTheEdge)
{
    resetworld();
    Player& p = Rig::player();   // centre (1488, 304)
    struct Case {
        float x, y;
        float healt;
    } cases[] = {
        {1484, 288, 100},   // centre on the left edge x + 4
        {1460, 288, 100},   // on the right edge x + 28
        {1480, 272, 100},   // on the bottom edge y + 32
        {1480, 304, 100},   // on the top edge y
        {1483, 288, 92},
        {1461, 273, 92},
    };
    for (const Case& c : cases) {
        resetworld();
        Monster& m = monsterat(0, c.x, c.y, 1);
        step(0, false);
        EXPECT_EQ(p.healt, c.healt) << c.x << ", " << c.y;
        EXPECT_EQ(Rig::invulnerability(p), c.healt < 100 ? 30 : 0);
        EXPECT_EQ(m.healt, 100);
    }

    // Neither a recovering monster nor a recovering player is hurt.
    resetworld();
    Monster& m = monsterat(0, 1483, 288, 1);
    Rig::invulnerability(m) = 5;
    step(0, false);
    EXPECT_EQ(p.healt, 100);
    EXPECT_EQ(Rig::invulnerability(m), 4);
    resetworld();
    monsterat(0, 1483, 288, 0);
    Rig::invulnerability(p) = 2;
    step(0, false);
    EXPECT_EQ(p.healt, 100);
}

TEST(Monsters, SwordTipsOnTheBodyEdgesMiss)
{
    const float edges[][2] = {{1494, 290}, {1466, 290}, {1480, 308}, {1480, 280}};
    for (const auto& e : edges) {
        resetworld();
        playercutting();
        Monster& m = monsterat(0, e[0], e[1], 1);
        step(0, false);
        EXPECT_EQ(m.healt, 100) << e[0] << ", " << e[1];
        EXPECT_EQ(score, 0);
    }
    resetworld();
    playercutting();
    Monster& m = monsterat(0, 1493, 280.5f, 1);
    step(0, false);
    EXPECT_EQ(m.healt, 66);
    EXPECT_EQ(Rig::invulnerability(m), 20 - 1);
    EXPECT_EQ(score, 6);
}

TEST(Monsters, EveryLongSwordHitScoresAndTheKillScoresMore)
{
    for (int side : {1, 0}) {
        resetworld();
        playercutting();
        Monster& m = monsterat(7, 1490, 295, side);
        const float healts[] = {66, 32, 0};
        const int scores[] = {6, 12, side == 1 ? 23 : 18};
        for (int hit = 0; hit < 3; hit++) {
            Rig::x(m) = Rig::nx(m) = 1490;
            Rig::y(m) = Rig::ny(m) = 295;
            Rig::forcex(m) = Rig::forcey(m) = 0;
            Rig::invulnerability(m) = 0;
            step(7, false);
            EXPECT_EQ(m.healt, healts[hit]);
            EXPECT_EQ(score, scores[hit]) << "side " << side << " hit " << hit;
        }
        // Removed in the very step of the last hit, with a corpse of kind 3
        // where it then stood.
        EXPECT_EQ(m.gettype(), 0);
        EXPECT_EQ(Rig::type(Rig::corpse(0)), 3);
        EXPECT_EQ(Rig::x(Rig::corpse(0)), (int)Rig::x(m));
        EXPECT_EQ(Rig::y(Rig::corpse(0)), (int)Rig::y(m));
        EXPECT_EQ(Rig::type(Rig::corpse(1)), 0);
        EXPECT_EQ(monsterinarea(0, 0, 4000, 4000, -1), 0);
    }
}

TEST(Monsters, AReusedSlotKeepsTheOldVelocityAndRecovery)
{
    resetworld();
    Monster& m = Rig::monster(0);
    Rig::mx(m) = 1.5f;
    Rig::my(m) = -2;
    Rig::invulnerability(m) = 7;
    EXPECT_EQ(putenemy(2, 20, 20), 1);
    EXPECT_EQ(m.gettype(), 1);
    EXPECT_EQ(Rig::target(m), 1);
    EXPECT_EQ(Rig::mx(m), 1.5f);
    EXPECT_EQ(Rig::my(m), -2);
    EXPECT_EQ(Rig::invulnerability(m), 7);

    step(0, false);
    EXPECT_EQ(Rig::nx(m), 641.5f);
    EXPECT_EQ(Rig::ny(m), 638);
}
