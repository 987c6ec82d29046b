// The story where the golden games do not go: which triggers draw a random
// number where the player stands, the dark end from any moment, and warps.
#include "rig.h"
#include "input.h"
#include "messagebox.h"
#include "world.h"

// How many random numbers one script step draws with the player at (x, y).
static int drawsat(int x, int y, float darkness)
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

// Each trigger draws only when its other conditions hold, and draws the
// same when the tables are full and nothing can be placed.
TEST_F(World, TriggersDrawOnlyWhenTheirOtherConditionsHold)
{
    const struct { int x, y; float night; int draws; } cases[] = {
        {1500, 300, 0.8f, 4},    // 2, 4, 8, 9
        {1500, 500, 0.1f, 2},    // 2, 4; between the friend rows
        {1000, 600, 0.1f, 3},    // 3, 4, 6
        {1920, 100, 0.1f, 2},    // 2, 7
        {1500, 700, 0.25f, 2},   // 2, 4: 0.25 is not below 0.25
    };
    for (const auto& c : cases) EXPECT_EQ(drawsat(c.x, c.y, c.night), c.draws) << c.x << ", " << c.y;
    for (int n = 0; n < PLACESLOTS; n++) {
        putfriend(1, 1);
        putenemy(ENEMYMONSTER, 1, 1);
    }
    EXPECT_EQ(drawsat(1500, 300, 0.8f), 4);
    EXPECT_TRUE(Rig::neutral(97).gettype() == 0 && Rig::monster(97).gettype() == 0);
}

// After the hero's death the world darkens until the night passes 100, the
// clock stopped and the score held: from deep night, and from a death at the
// instant of full daylight, which shows its box first.
static int boxes;   // box frames answered with a space

TEST_F(World, TheDarkEndComesFromAnyMoment)
{
    const struct {
        int time;
        float healt, night;
        int least, most;   // world frames to the end
    } cases[] = {{500, -100, 1, 463, 463}, {6283, 0, 0, 2001, 2200}};
    for (const auto& c : cases) {
        resetworld();
        Rig::time() = c.time - 1;
        Rig::world().control();
        night = c.night;
        Rig::player().healt = c.healt;
        finalscore = 70;
        score = 76;   // points after death do not count
        boxes = 0;
        inputfeeder = [](bool boxframe) {
            if (boxframe) pushkey(SDLK_SPACE), boxes++;
        };
        int frames = 0;
        for (; !(night > 100) && frames < 5000; frames++) Rig::world().control();
        inputfeeder = nullptr;
        EXPECT_GE(frames, c.least) << c.time;
        EXPECT_LE(frames, c.most) << c.time;
        EXPECT_EQ(boxes, c.healt == 0 ? 2 : 0) << c.time;
        EXPECT_TRUE(score == 70 && Rig::time() == c.time) << score << " " << Rig::time();
        EXPECT_TRUE(c.healt != 0 || Rig::type(Rig::corpse(0)) == VILLAGERCORPSE);
    }
}

TEST_F(World, WarpingKeepsTheCameraOnTheMap)
{
    key[0] = key[3] = true;
    Rig::world().warpto(10, 5, 1, writemap(TestMap(40, 30), "w.map").c_str());
    EXPECT_TRUE(Camera.x == 0 && Camera.y == 0 && Camera.nx == 0 && Camera.ny == 0 && !key[0] && !key[3]);
    EXPECT_TRUE(Rig::player().getx() == 320 && Rig::player().gety() == 160 && Rig::player().d == 1);
    Rig::world().warpto(50, 30, 0, writemap(TestMap(), "b.map").c_str());
    EXPECT_TRUE(Camera.x == 50 * 32 - 480 && Camera.y == 30 * 32 - 384);
    // Near the far corner of a 100 by 60 map the camera stops at its edge.
    Rig::world().warpto(95, 58, 0, writemap(TestMap(), "b.map").c_str());
    EXPECT_TRUE(Camera.x == 100 * 32 - 1024 && Camera.y == 60 * 32 - 768 && Camera.nx == Camera.x &&
                Camera.ny == Camera.y);
}
