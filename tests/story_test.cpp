// The story: the starting population, the messages, day and night, random
// arrivals, the end after the player's death, and warps.
#include "rig.h"

#include <cstdlib>
#include <vector>

namespace {

// Answers every message box with a space in each of its frames, so a box
// takes two presses, the first showing it whole; counts the presses taken.
int spacestaken;

class Spaces {
public:
    Spaces()
    {
        spacestaken = 0;
        inputfeeder = [](bool boxframe) {
            if (!boxframe) return;
            pushkey(SDLK_SPACE);
            spacestaken++;
        };
    }
    ~Spaces()
    {
        inputfeeder = nullptr;
        drainevents();
    }
    int taken() { return spacestaken; }
};

// How many random numbers one script step draws with the player at (x, y).
int drawsat(int x, int y, float darkness)
{
    placeat(Rig::player(), (float)x, (float)y);
    Rig::time() = 100;
    night = darkness;
    worldsrand(77);
    Rig::world().runscript();
    const int next = worldrand();
    worldsrand(77);
    for (int k = 0; k < 40; k++)
        if (worldrand() == next) return k;
    return -1;
}

}  // namespace

TEST(Story, TheMessagesComeOnceAtTheirFrames)
{
    resetworld();
    Spaces spaces;
    std::vector<std::pair<int, int>> presses;   // (time, presses taken)
    const int end = WARNINGFRAME + 10;
    for (int frame = 0, before = 0; frame < end; frame++, before = spaces.taken()) {
        const int time = Rig::time();
        Rig::world().control();
        if (spaces.taken() > before) presses.push_back({time, spaces.taken() - before});
    }
    EXPECT_EQ(presses, (std::vector<std::pair<int, int>>{{OPENINGFRAME, 4}, {WARNINGFRAME, 2}}));
    EXPECT_EQ(Rig::time(), end);
}

TEST(Story, TheStartingPopulationOfTwoRuns)
{
    resetworld();
    putenemy(ENEMYRAIDER, 5, 5);
    Rig::world().initscript();
    Rig::world().initscript();
    int friends = 0, west = 0, east = 0, corpses = 0;
    for (int n = 0; n < SLOTS; n++) {
        friends += Rig::neutral(n).gettype() == FRIEND;
        Monster& m = Rig::monster(n);
        west += m.gettype() == MONSTER && m.getx() == 352 && m.gety() == 288 && m.getside() == ENEMYSIDE;
        east += m.gettype() == MONSTER && m.getx() == 2528 && m.gety() == 288 && m.getside() == ENEMYSIDE;
        Corpse& c = Rig::corpse(n);
        corpses += Rig::type(c) == VILLAGERCORPSE && Rig::x(c) == 1472 && Rig::y(c) == 384;
    }
    EXPECT_EQ(friends, 10);
    EXPECT_EQ(Rig::neutral(9).getx(), 49 * 32);   // the last of them on (49, 10)
    EXPECT_EQ(west, 4);
    EXPECT_EQ(east, 4);
    EXPECT_EQ(corpses, 2);
}

TEST(Story, TriggersDrawOnlyWhenTheirOtherConditionsHold)
{
    resetworld();
    EXPECT_EQ(drawsat(1500, 300, 0.8f), 4);    // 2, 4, 8, 9
    EXPECT_EQ(drawsat(1500, 500, 0.1f), 2);    // 2, 4; between the friend rows
    EXPECT_EQ(drawsat(1000, 600, 0.1f), 3);    // 3, 4, 6
    EXPECT_EQ(drawsat(1920, 100, 0.1f), 2);    // 2, 7
    EXPECT_EQ(drawsat(1500, 700, 0.25f), 2);   // 2, 4: 0.25 is not below 0.25

    // Full tables: the same draws, nothing placed.
    for (int n = 0; n < PLACESLOTS; n++) {
        putfriend(1, 1);
        putenemy(ENEMYMONSTER, 1, 1);
    }
    EXPECT_EQ(drawsat(1500, 300, 0.8f), 4);
    EXPECT_EQ(Rig::neutral(97).gettype(), 0);
    EXPECT_EQ(Rig::monster(97).gettype(), 0);
}

TEST(Story, DayAndNight)
{
    resetworld();
    // The script's night is the clock's darkness, and the living player's
    // score is kept.
    for (int t : {1, 1445, duskframe(0), nightframe(0), 3142, dawnframe(0), 6283, nightframe(2)}) {
        Rig::time() = t - 1;
        score = t;
        Rig::world().runscript();
        EXPECT_EQ(night, darkness(t)) << t;
        EXPECT_EQ(finalscore, score) << t;
    }
    EXPECT_NEAR(darkness(1445), 0.25, 0.001);
    EXPECT_NEAR(darkness(3142), 1, 0.001);
    EXPECT_EQ(darkness(6283), 0.0f);
}

// World frames until the night passes 100, at most limit.
static int framestoend(int limit)
{
    int frames = 0;
    for (; !(night > 100) && frames < limit; frames++) Rig::world().control();
    return frames;
}

TEST(Story, FromDeepNightTheEndComes463DeadFramesLater)
{
    resetworld();
    Rig::player().healt = -100;   // a death already handled
    Rig::time() = 500;
    night = 1;
    finalscore = 70;
    score = 76;   // points after death do not count
    EXPECT_EQ(framestoend(1000), 463);
    EXPECT_EQ(score, 70);
    EXPECT_EQ(Rig::time(), 500);
}

TEST(Story, ADeathInFullDaylightStillEnds)
{
    resetworld();
    Rig::time() = 6282;
    Rig::world().control();
    ASSERT_EQ(night, 0.0f);

    // The real death: the player's step shows its box, then the night starts.
    Rig::player().healt = 0;
    {
        Spaces spaces;
        Rig::world().control();
        EXPECT_EQ(spaces.taken(), 2);
    }
    EXPECT_EQ(Rig::player().healt, -100);
    EXPECT_EQ(Rig::type(Rig::corpse(0)), VILLAGERCORPSE);
    EXPECT_GT(night, 0);
    const int frames = 1 + framestoend(5000);
    EXPECT_GT(frames, 2000);
    EXPECT_LE(frames, 2200);
    EXPECT_EQ(Rig::time(), 6283);
}

TEST(Story, WarpingKeepsTheCameraOnTheMap)
{
    resetworld();
    key[0] = key[3] = true;
    Rig::world().warpto(10, 5, 1, writemap(TestMap(40, 30), "w.map").c_str());
    EXPECT_TRUE(Camera.x == 0 && Camera.y == 0 && Camera.nx == 0 && Camera.ny == 0);
    EXPECT_EQ(Rig::player().getx(), 320);
    EXPECT_EQ(Rig::player().gety(), 160);
    EXPECT_FALSE(key[0] || key[3]);

    // Near the far corner of a 100 by 60 map the camera stops at its edge.
    Rig::world().warpto(95, 58, 0, writemap(TestMap(), "b.map").c_str());
    EXPECT_EQ(Camera.x, 100 * 32 - 1024);
    EXPECT_EQ(Camera.y, 60 * 32 - 768);
}
