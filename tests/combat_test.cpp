// Combat in one table: who hits whom, with what, and what the blow leaves,
// at the edges of the bodies and the blades too.
#include "rig.h"
#include "world.h"

#include <cmath>

namespace {

// The player's sword in mid-swing to the right; from the player's start
// (1472, 288) its tip lies at (1496, 310).
void playercutting()
{
    Rig::player().d = 3;
    swinging(Rig::player(), 180, 0);
}

Hahmo& cutmonster(float x, float y, int side)
{
    playercutting();
    placed(Rig::monster(7), x, y, 1, side);
    stepmonster(7, false);
    return Rig::monster(7);
}

Hahmo& cutneutral(int type, int side)
{
    playercutting();
    placed(Rig::neutral(4), 1490, 295, type, side);
    stepneutral(4, false);
    return Rig::neutral(4);
}

// A step of monster 1 at (1000, 300) beside monster 0, of the player's side,
// at (1008, 306), with a seed whose first draw leaves no retarget and whose
// second is draw.
Hahmo& monsterfight(int draw, bool recovering, float dx = 8)
{
    Monster& m = placed(Rig::monster(1), 1000, 300, 1, ENEMYSIDE);
    Rig::invulnerability(placed(Rig::monster(0), 1000 + dx, 306, 1, PLAYERSIDE)) = recovering ? 5 : 0;
    unsigned seed = 1;
    for (;; seed++) {
        worldsrand(seed);
        const int retarget = worldrand() % 20;
        if (retarget != 2 && worldrand() % 10 == draw) break;
    }
    worldsrand(seed);
    lastmonster = 1;
    m.input();
    lastmonster = -1;
    return m;
}

// The neutral stands above the player facing down, the player inside its
// strike box and the tip of a fresh swing inside the player's body.
Hahmo& strikes(int type, int side, bool cutting)
{
    Neutral& n = placed(Rig::neutral(0), 1482, 268, type, side);
    Rig::invulnerability(n) = 10;   // even a recovering enemy strikes
    if (cutting) swinging(n, 170.5f, 0, 1);
    stepneutral(0, false);
    return Rig::player();
}

// An enemy far away swings: the tip of its short blade is the world's
// origin, and the hero stands at (x, y).
Hahmo& shortblade(int x, int y)
{
    Rig::player().setposition(x, y);
    swinging(placed(Rig::neutral(0), 600, 600, 1, 1), 170.5f, 0, 1);
    stepneutral(0, false);
    return Rig::player();
}

// A monster at (x, y) takes a step beside the ready hero.
Hahmo& touching(float x, float y)
{
    placed(Rig::monster(0), x, y, 1, 1);
    stepmonster(0, false);
    return Rig::player();
}

struct Blow {
    const char* what;
    Hahmo& (*act)();
    float healt;
    int recovery, score;
    float push;   // the victim's force after the step
    float towards = NAN;   // its heading: back to where the blow came from
};

// The blow a call deals, as a Blow's act.
#define BY(call) [] () -> Hahmo& { return call; }

const Blow BLOWS[] = {
    {"the long sword on a monster", BY(cutmonster(1490, 295, 1)), 66, 19, 6, 17.5f / 1.35f, heading(-18, -11)},
    {"the long sword on a friendly monster", BY(cutmonster(1490, 295, 0)), 66, 19, 6, 17.5f / 1.35f, heading(-18, -11)},
    {"the tip just inside the top edge", BY(cutmonster(1493, 280.5f, 1)), 66, 19, 6, 17.5f / 1.35f, heading(-21, 3.5f)},
    {"the tip on the left edge", BY(cutmonster(1494, 290, 1)), 100, 0, 0, 0},
    {"the tip on the right edge", BY(cutmonster(1466, 290, 1)), 100, 0, 0, 0},
    {"the tip on the top edge", BY(cutmonster(1480, 308, 1)), 100, 0, 0, 0},
    {"the tip on the bottom edge", BY(cutmonster(1480, 280, 1)), 100, 0, 0, 0},
    {"the long sword on an enemy", BY(cutneutral(1, 1)), 73, 19, 10, 17.5f / 1.35f, heading(-18, -11)},
    {"the long sword on a friend", BY(cutneutral(2, 0)), 100, 0, 0, 0},
    {"an enemy's strike on the hero", BY(strikes(1, 1, false)), 86, 30, 0, 17.5f, heading(6, -20)},
    {"a friend's cutting sword in the hero", BY(strikes(2, 0, true)), 100, 0, 0, 0},
    {"the short blade of an enemy far away", BY(shortblade(-16, -16)), 86, 30, 0, 17.5f, heading(612, 616)},
    {"the short blade on the hero's left edge", BY(shortblade(-2, -16)), 100, 0, 0, 0},
    {"the short blade just inside it", BY(shortblade(-3, -16)), 86, 30, 0, 17.5f, heading(599, 616)},
    {"the short blade on the hero's bottom edge", BY(shortblade(-16, -30)), 100, 0, 0, 0},
    {"a monster touching the hero", BY(touching(1483, 288)), 92, 30, 0, 12.5f, heading(11, 0)},
    {"a monster of the other side on draw 3", BY(monsterfight(3, false)), 95, 29, 0, 14 / 1.35f, heading(8, 6)},
    {"a monster of the other side on draw 4", BY(monsterfight(4, false)), 100, 0, 0, 1.5f / 1.35f, heading(8, 6)},
    {"a recovering monster of the other side", BY(monsterfight(0, true)), 100, 0, 0, 1.5f / 1.35f, heading(8, 6)},
    {"a monster on the right edge of the other's reach", BY(monsterfight(3, false, 12)), 100, 0, 0, 0},
    {"a monster on the left edge of the other's reach", BY(monsterfight(3, false, -12)), 100, 0, 0, 0},
    // A touch hurts, but not on the edge of the monster's body (left x + 4,
    // right x + 28, bottom y + 32, top y; the hero's centre at (1488, 304)).
    {"a touch on the body's left edge", BY(touching(1484, 288)), 100, 0, 0, 0},
    {"a touch on its right edge", BY(touching(1460, 288)), 100, 0, 0, 0},
    {"a touch on its bottom edge", BY(touching(1480, 272)), 100, 0, 0, 0},
    {"a touch on its top edge", BY(touching(1480, 304)), 100, 0, 0, 0},
    {"a touch just inside the corner", BY(touching(1461, 273)), 92, 30, 0, 12.5f, heading(-11, -15)},
    // The hero's short blade, its tip at the world's origin, wounds without a
    // score or a push a monster that holds the origin strictly inside its hit
    // box, 2 to 30 pixels in from its corner.
    {"the hero's short blade", BY(cutmonster(-16, -16, 1)), 66, 19, 0, 0},
    {"the short blade on the box's right edge", BY(cutmonster(-2, -16, 1)), 100, 0, 0, 0},
    {"the short blade just inside it", BY(cutmonster(-3, -16, 1)), 66, 19, 0, 0},
    {"the short blade just inside the left edge", BY(cutmonster(-29, -16, 1)), 66, 19, 0, 0},
    {"the short blade on the left edge", BY(cutmonster(-30, -16, 1)), 100, 0, 0, 0},
    {"the short blade on the bottom edge", BY(cutmonster(-16, -2, 1)), 100, 0, 0, 0},
    {"the short blade just inside it", BY(cutmonster(-16, -3, 1)), 66, 19, 0, 0},
    {"the short blade just inside the top edge", BY(cutmonster(-16, -29, 1)), 66, 19, 0, 0},
    {"the short blade on the top edge", BY(cutmonster(-16, -30, 1)), 100, 0, 0, 0},
};

}  // namespace

TEST(Combat, EveryBlow)
{
    for (const Blow& b : BLOWS) {
        resetworld();
        Hahmo& victim = b.act();
        EXPECT_EQ(victim.healt, b.healt) << b.what;
        EXPECT_EQ(Rig::invulnerability(victim), b.recovery) << b.what;
        EXPECT_EQ(score, b.score) << b.what;
        const float push = std::hypot(Rig::forcex(victim), Rig::forcey(victim));
        EXPECT_NEAR(push, b.push, 1e-4) << b.what;
        if (push > 0) {
            EXPECT_NEAR(std::atan2(-Rig::forcex(victim), -Rig::forcey(victim)), b.towards, 1e-4) << b.what;
        }
    }
}
