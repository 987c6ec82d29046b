// Monsters: choosing a target, touching the player, taking the player's
// sword, dying into corpses and scoring.
#include "rig.h"

#include <cmath>

// The player's sword in mid-swing to the right; from the player's start
// (1472, 288) its tip lies at (1496, 310).
static void playercutting()
{
    Rig::player().d = 3;
    swinging(Rig::player(), 180, 0);
}

TEST(Monsters, RetargetingFindsTheLowestSlotAndOnlyEnemiesSeekThePlayer)
{
    resetworld();
    Monster& m = placed(Rig::monster(0), 200, 1500, 1, 1);
    placed(Rig::monster(5), 300, 1500, 1, 0);
    placed(Rig::monster(2), 600, 1500, 1, 0);
    // Stage 2 looks for no monsters, stage 3 takes slot 2 before slot 5.
    stepmonster(0, true);
    EXPECT_EQ(Rig::target(m), 202);
    EXPECT_FLOAT_EQ(Rig::mx(m), 3);
    EXPECT_NEAR(Rig::my(m), 0, 1e-5);

    resetworld();
    Monster& own = placed(Rig::monster(0), 1512, 288, 1, 0);
    stepmonster(0, true);
    EXPECT_EQ(Rig::target(own), 0);
    EXPECT_EQ(Rig::mx(own), 0);
}

TEST(Monsters, TouchingHurtsTheReadyPlayerButNotOnTheEdge)
{
    Player& p = Rig::player();   // centre (1488, 304)
    // On the left edge x + 4, the right x + 28, the bottom y + 32, the top y.
    const float cases[][3] = {{1484, 288, 100}, {1460, 288, 100}, {1480, 272, 100},
                              {1480, 304, 100}, {1483, 288, 92},  {1461, 273, 92}};
    for (const auto& c : cases) {
        resetworld();
        Monster& m = placed(Rig::monster(0), c[0], c[1], 1, 1);
        stepmonster(0, false);
        EXPECT_EQ(p.healt, c[2]) << c[0] << ", " << c[1];
        EXPECT_EQ(Rig::invulnerability(p), c[2] < 100 ? 30 : 0);
        EXPECT_EQ(m.healt, 100);
    }
}

// The short blade's tip is the world's origin: it wounds, without a score,
// a monster whose body holds the origin strictly inside its hit box
// (2 to 30 pixels in from its corner), and the step counts its recovery
// down from 20 at once.
TEST(Monsters, TheShortBladeWoundsAtTheOriginWithoutScoring)
{
    const struct {
        float x, y;
        bool hit;
    } cases[] = {{-16, -16, true}, {-2, -16, false}, {-3, -16, true}, {-29, -16, true}, {-30, -16, false},
                 {-16, -2, false}, {-16, -3, true},  {-16, -29, true}, {-16, -30, false}};
    for (const auto& c : cases) {
        resetworld();
        playercutting();
        Monster& m = placed(Rig::monster(2), c.x, c.y, 1, 1);
        stepmonster(2, false);
        EXPECT_EQ(m.healt, c.hit ? 66 : 100) << c.x << "," << c.y;
        EXPECT_EQ(Rig::invulnerability(m), c.hit ? 19 : 0) << c.x << "," << c.y;
        EXPECT_EQ(score, 0);
    }
}

TEST(Monsters, AReusedSlotKeepsTheOldVelocityAndRecovery)
{
    resetworld();
    Monster& m = Rig::monster(0);
    Rig::mx(m) = 1.5f;
    Rig::my(m) = -2;
    Rig::invulnerability(m) = 7;
    EXPECT_EQ(putenemy(ENEMYMONSTER, 20, 20), 1);
    EXPECT_EQ(Rig::target(m), 1);
    EXPECT_EQ(Rig::invulnerability(m), 7);
    stepmonster(0, false);
    EXPECT_EQ(Rig::nx(m), 641.5f);
    EXPECT_EQ(Rig::ny(m), 638);
}
