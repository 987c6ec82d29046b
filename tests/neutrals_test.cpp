// Neutrals: friends following the player, enemies striking at him, sword
// fights between the sides, healing, shoving and scoring.
#include "rig.h"

#include <cmath>

TEST(Neutrals, AFriendWithNothingToFightWalksBackAndWaits)
{
    resetworld();   // the player at (1472, 288)
    Neutral& f = placed(Rig::neutral(0), 300, 1500, 2, 0);
    stepneutral(0, true);
    EXPECT_EQ(Rig::target(f), -1);
    const double heading = std::atan2(1472.0 - 300, 288.0 - 1500);
    EXPECT_NEAR(Rig::mx(f), 2 * std::sin(heading), 1e-5);
    EXPECT_NEAR(Rig::my(f), 2 * std::cos(heading), 1e-5);

    // Arrived: it walks on until a retarget frame finds the player near.
    placeat(f, 1400, 380);
    const float mx = Rig::mx(f);
    stepneutral(0, false);
    EXPECT_EQ(Rig::mx(f), mx);
    stepneutral(0, true);
    EXPECT_EQ(Rig::target(f), -1);
    EXPECT_TRUE(Rig::mx(f) == 0 && Rig::my(f) == 0);

    // An enemy never follows: it keeps hunting the player, at speed 2.
    Neutral& e = placed(Rig::neutral(1), 300, 1500, 1, 1);
    stepneutral(1, true);
    EXPECT_EQ(Rig::target(e), 1);
    EXPECT_NEAR(Rig::mx(e), 2 * std::sin(heading), 1e-5);
    EXPECT_NEAR(Rig::my(e), 2 * std::cos(heading), 1e-5);
}

// A friend with nothing to fight turns back to the player once he is 150
// pixels away, to any side, and walks to him at once; at 149 it stays on
// its way.
TEST(Neutrals, AFriendTurnsBackAtAHundredAndFiftyPixels)
{
    for (const auto& [dx, dy] : {std::pair{150, 0}, {-150, 0}, {0, 150}, {0, -150}}) {
        for (int less : {0, 1}) {
            resetworld();   // the player at (1472, 288)
            const int ox = dx - less * (dx > 0) + less * (dx < 0), oy = dy - less * (dy > 0) + less * (dy < 0);
            Neutral& f = placed(Rig::neutral(0), 1472.0f - ox, 288.0f - oy, 2, 0);
            Rig::target(f) = TARGETNONE;
            stepneutral(0, true);
            EXPECT_EQ(Rig::target(f), less ? TARGETNONE : TARGETFOLLOW) << ox << "," << oy;
            if (!less) {
                EXPECT_NEAR(std::hypot(Rig::mx(f), Rig::my(f)), 2.0, 1e-5) << ox << "," << oy;
            }
        }
    }
}

// The neutral stands above the player facing down, the player inside its
// strike box and the tip of a fresh swing inside the player's body. Even a
// recovering enemy strikes.
TEST(Neutrals, AnEnemyStrikesAndWoundsInOneFrameAFriendNever)
{
    resetworld();
    Player& p = Rig::player();
    Neutral& e = placed(Rig::neutral(0), 1482, 268, 1, 1);
    Rig::invulnerability(e) = 10;
    stepneutral(0, false);
    EXPECT_EQ(Rig::swordhit(e), 1);
    EXPECT_EQ(p.healt, 86);
    EXPECT_EQ(Rig::invulnerability(p), 30);
    EXPECT_FLOAT_EQ(std::hypot(Rig::forcex(p), Rig::forcey(p)), 17.5f);

    // The short blade's tip is the world's origin: a cutting enemy anywhere
    // wounds a player whose body covers it.
    resetworld();
    p.setposition(-16, -16);
    Neutral& far = placed(Rig::neutral(0), 600, 600, 1, 1);
    swinging(far, 170.5f, 0, 1);
    stepneutral(0, false);
    EXPECT_EQ(p.healt, 86);
    EXPECT_FLOAT_EQ(std::hypot(Rig::forcex(p), Rig::forcey(p)), 17.5f);

    resetworld();
    Neutral& f = placed(Rig::neutral(0), 1482, 268, 2, 0);
    stepneutral(0, false);
    EXPECT_EQ(Rig::swordhit(f), 0);
    EXPECT_EQ(Rig::swordfade(f), 0);
    // Even a cutting sword of a friend with its tip in the player leaves him.
    swinging(f, 170.5f, 0, 1);
    stepneutral(0, false);
    EXPECT_TRUE(f.cutting());
    EXPECT_EQ(p.healt, 100);
    EXPECT_FLOAT_EQ(Rig::forcex(p), 0);
}

// Touching shoves both apart without damage, recovering or not.
TEST(Neutrals, TouchingShoves)
{
    resetworld();
    Player& p = Rig::player();
    Neutral& f = placed(Rig::neutral(0), 1476, 290, 2, 0);
    Rig::invulnerability(p) = 10;
    Rig::invulnerability(f) = 10;
    stepneutral(0, false);
    EXPECT_EQ(p.healt, 100);
    EXPECT_EQ(f.healt, 100);
    EXPECT_EQ(Rig::invulnerability(p), 10);
    EXPECT_TRUE(Rig::forcex(p) < 0 && Rig::forcey(p) < 0);
    EXPECT_TRUE(Rig::forcex(f) > 0 && Rig::forcey(f) > 0);
    EXPECT_FLOAT_EQ(std::hypot(Rig::forcex(p), Rig::forcey(p)), 0.5f);
}

TEST(Neutrals, FriendsHealAndMayEndJustAboveAHundred)
{
    resetworld();
    Neutral& f = placed(Rig::neutral(0), 300, 1500, 2, 0);
    Neutral& e = placed(Rig::neutral(1), 600, 1500, 1, 1);
    f.healt = 99.995f;
    e.healt = 50;
    stepneutral(0, false);
    stepneutral(1, false);
    stepneutral(0, false);   // above 100 no more
    EXPECT_FLOAT_EQ(f.healt, 100.005f);
    EXPECT_EQ(e.healt, 50);   // enemies do not heal
}

TEST(Neutrals, OppositeSidesWoundEachOtherInOneFrame)
{
    resetworld();
    Neutral& a = placed(Rig::neutral(0), 500, 500, 2, 0);
    Neutral& b = placed(Rig::neutral(1), 515, 500, 1, 1);
    a.d = 3;
    b.d = 2;
    swinging(a, 165.5f, 1);
    swinging(b, 165.5f, 1);
    Rig::world().control();
    EXPECT_EQ(a.healt, 66);
    EXPECT_EQ(b.healt, 66);
    EXPECT_EQ(Rig::invulnerability(a), 29);
    EXPECT_EQ(Rig::invulnerability(b), 29);
    // Each pushed away from the other.
    EXPECT_LT(Rig::x(a), 500);
    EXPECT_GT(Rig::x(b), 515);
    EXPECT_EQ(score, 0);
}

TEST(Neutrals, ThePlayersSwordScoresOnEnemiesOnly)
{
    resetworld();
    Player& p = Rig::player();
    p.d = 3;
    swinging(p, 180, 0);   // tip at (1496, 310)
    Neutral& e = placed(Rig::neutral(4), 1490, 295, 1, 1);
    const float healts[] = {73, 46, 19, 0};
    const int scores[] = {10, 20, 30, 49};
    for (int hit = 0; hit < 4; hit++) {
        placeat(e, 1490, 295);
        Rig::forcex(e) = Rig::forcey(e) = 0;
        Rig::invulnerability(e) = 0;
        stepneutral(4, false);
        EXPECT_EQ(e.healt, healts[hit]);
        EXPECT_EQ(Rig::invulnerability(e), 19);
        EXPECT_EQ(score, scores[hit]);
    }
    EXPECT_EQ(e.gettype(), 0);
    EXPECT_EQ(Rig::type(Rig::corpse(0)), RAIDERCORPSE);
    EXPECT_EQ(Rig::x(Rig::corpse(0)), (int)Rig::x(e));

    // A friend in the same place takes neither damage nor score.
    Neutral& f = placed(Rig::neutral(4), 1490, 295, 2, 0);
    Rig::invulnerability(f) = 0;   // left over from the slot's last occupant
    stepneutral(4, false);
    EXPECT_EQ(f.healt, 100);
    EXPECT_EQ(score, 49);
}

// A friend brought down by a monster lies as a villager, as the hero does;
// he brings the enemy side no points.
TEST(Neutral, AFallenFriendLiesAsAVillager)
{
    resetworld();
    Neutral& f = placed(Rig::neutral(2), 1000, 300, FRIEND, PLAYERSIDE);
    f.healt = 5;
    placed(Rig::monster(0), 1000, 300, MONSTER, ENEMYSIDE);
    stepneutral(2, false);
    EXPECT_EQ(f.gettype(), 0);
    EXPECT_EQ(Rig::type(Rig::corpse(0)), VILLAGERCORPSE);
    EXPECT_EQ(score, 0);
}
