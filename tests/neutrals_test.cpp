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
