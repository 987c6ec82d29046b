// The world's pieces where the golden games seldom reach, at their edges.
#include "rig.h"
#include "textures.h"
#include "world.h"

#include <cmath>
#include <memory>

static const float PI = 3.14159265f;

TEST(MapFile, FieldsLandWhereTheyBelongAndTheBorderIsMarked)
{
    auto m = std::make_unique<TestMap>(120, 70);
    m->tile[cell(3, 4)] = 17;
    m->tile2[cell(5, 6)] = 23;
    m->tile3[cell(7, 8)] = -4;
    m->light[cell(198, 198)] = 35;
    m->stop[cell(11, 12)] = 5;
    m->stop[cell(120, 70)] = 7;
    m->tset = 2 + (1 << 24);   // the file's last byte counts too
    map.open(writemap(*m, "f.map").c_str());
    EXPECT_TRUE(Rig::sizex() == 120 && Rig::sizey() == 70 && Rig::tset() == m->tset);
    EXPECT_TRUE(Rig::tile()[cell(3, 4)] == 17 && Rig::tile2()[cell(5, 6)] == 23 && Rig::tile3()[cell(7, 8)] == -4);
    EXPECT_TRUE(stop[cell(11, 12)] == 5 && light[cell(198, 198)] == 35 && light[cell(0, 0)] == 9);
    EXPECT_EQ(lightat(300, 199), 35);   // past the grid's far corner, in either direction
    for (int r = 0; r < 70; r++) EXPECT_EQ(stop[cell(120, r)], 1) << "row " << r;
    for (int c = 0; c < 120; c++) EXPECT_EQ(stop[cell(c, 70)], 1) << "column " << c;
    EXPECT_EQ(stop[cell(120, 70)], 7);   // the corner stays as stored
    EXPECT_EQ(stop[cell(121, 0)], 0);
    // A tile set the game does not know leaves both tile-set slots empty.
    EXPECT_TRUE(textures[0].texID == 0 && textures[1].texID == 0);

    // Loaded, not opened: empty layers, the border cells as the file has them.
    map.load(writemap(TestMap(90, 60), "c.map").c_str());
    EXPECT_EQ(stop[cell(90, 10)] + stop[cell(10, 60)] + stop[cell(120, 10)] + Rig::tile()[cell(3, 4)], 0);

    // Its data opened directly makes the same world as its file.
    map.open(writemap(*m, "f.map").c_str());
    std::vector<int> fromfile(stop, stop + MAPCELLS);
    fromfile.insert(fromfile.end(), Rig::tile(), Rig::tile() + MAPCELLS);
    map.open(*m, "a name longer than nineteen");
    std::vector<int> fromdata(stop, stop + MAPCELLS);
    fromdata.insert(fromdata.end(), Rig::tile(), Rig::tile() + MAPCELLS);
    EXPECT_TRUE(fromdata == fromfile);
    EXPECT_STREQ(Rig::name(), "a name longer than ");

    // Erasing clears the layers, stop and the name, but not the light.
    Rig::erase();
    EXPECT_TRUE(Rig::tile()[cell(3, 4)] == 0 && Rig::tile2()[cell(5, 6)] == 0 && Rig::tile3()[cell(7, 8)] == 0);
    EXPECT_TRUE(stop[cell(11, 12)] == 0 && Rig::name()[0] == '\0' && light[cell(198, 198)] == 35);
    resetworld();
}

TEST(MapFile, CheckRefusesWhatCannotBeLoaded)
{
    auto m = std::make_unique<TestMap>();
    // A 6-character file name gives a 19-character path, the longest allowed.
    EXPECT_EQ(checkmapfile(writemap(*m, "abcdef").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writemap(*m, "abcdefg").c_str()), nullptr);
    EXPECT_NE(checkmapfile((scratchdir() + "/none").c_str()), nullptr);
    const std::vector<unsigned char> bytes = mapbytes(*m);
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_NE(checkmapfile(writefile(file.substr(1), "short").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile(file + '\0', "long").c_str()), nullptr);

    std::string error;
    EXPECT_FALSE(::writemap((scratchdir() + "/none/w.map").c_str(), *m, error));
    EXPECT_NE(error.find("/none/w.map: cannot open for writing"), std::string::npos) << error;
    EXPECT_FALSE(::writemap("/dev/full", *m, error));
    EXPECT_EQ(error, "/dev/full: write failed");
    const int sizes[][2] = {{198, 198}, {0, 60}, {199, 60}, {-1, 60}, {100, 0}, {100, 199}};
    for (const auto& size : sizes) {
        m->sizex = size[0];
        m->sizey = size[1];
        const char* why = checkmapfile(writemap(*m, "w").c_str());
        EXPECT_TRUE(size[0] == 198 ? !why : why && strstr(why, "; each side must be 1 to 198")) << size[0] << "x" << size[1];
    }
}

// A push into a wall on one axis cancels that axis alone; outside the grid
// on every side, negative positions included, everything counts as blocked.
TEST_F(World, BodiesAgainstWallsAndTheGridsEdges)
{
    for (int r = 0; r < 60; r++) stop[cell(51, r)] = 1;
    Hahmo w(50, 30, 1), open(30, 30, 1);
    for (Hahmo* h : {&w, &open}) Rig::addforce(*h, -3 * PI / 4, 12.5f);   // right and down
    w.move();
    const float firstx = Rig::x(w);
    w.move();   // the probe at x + 22 + 4.85 reaches column 51
    EXPECT_EQ(Rig::forcex(w), 0.0f);
    for (int i = 0; i < 30; i++) w.move();
    for (int i = 0; i < 32; i++) open.move();
    EXPECT_TRUE(Rig::x(w) == firstx && Rig::y(w) == Rig::y(open) && Rig::y(w) > 980) << Rig::y(w);

    Hahmo o(0, 0, 1);
    Rig::x(o) = 2;
    Rig::nx(o) = Rig::ny(o) = -10;
    o.move();
    EXPECT_TRUE(Rig::nx(o) == 0 && Rig::ny(o) == 0 && Rig::x(o) == 1.5f);
    Rig::nx(o) = Rig::ny(o) = 0.5f;   // inside the grid, left as they are
    o.move();
    EXPECT_TRUE(Rig::nx(o) == 0.5f && Rig::ny(o) == 0.5f);

    map.load(writemap(TestMap(198, 198), "e.map").c_str());
    Hahmo b(197, 197, 1);
    for (int i = 0; i < 100; i++) {
        Rig::nx(b) += 4;
        Rig::ny(b) += 4;
        b.move();
    }
    Rig::addforce(b, -PI / 2, 40);   // a hard push right
    b.move();
    EXPECT_TRUE(Rig::x(b) + 22 < 199 * 32.0f && Rig::x(b) + 22 > 199 * 32.0f - 5) << Rig::x(b);
    EXPECT_LT(Rig::y(b) + 32, 199 * 32.0f);
    EXPECT_EQ(b.mapx, 198);
}

// The area tests find the lowest slot plus one, strictly inside, never the
// asker itself or an emptied slot; the player is side 0, alive or dead.
TEST_F(World, AreaTestsAtTheirEdges)
{
    placed(Rig::monster(7), 150, 150, 1, 1);
    placed(Rig::monster(3), 120, 130, 1, 1);
    const struct {
        float x1, y1, x2, y2;
        int side, found;
    } monsters[] = {{100, 100, 200, 200, 1, 4}, {100, 100, 200, 200, 0, 0}, {150, 140, 160, 160, 1, 0},
                    {140, 140, 150, 160, 1, 0}, {140, 140, 160, 150, 1, 0}};
    for (const auto& c : monsters)
        EXPECT_EQ(monsterinarea(c.x1, c.y1, c.x2, c.y2, c.side), c.found) << c.x1 << " " << c.y1 << " " << c.x2;
    lastmonster = 3;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, 1), 8);
    lastmonster = -1;
    Rig::type(Rig::monster(3)) = Rig::type(Rig::monster(7)) = 0;
    EXPECT_EQ(monsterinarea(100, 100, 200, 200, -1), 0);

    placed(Rig::neutral(5), 300, 300, 1, 1);
    placed(Rig::neutral(1), 305, 305, 2, 0);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, -1), 2);
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 6);
    lastneutral = 5;
    EXPECT_EQ(neutralinarea(290, 290, 310, 310, 1), 0);
    lastneutral = -1;

    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 1) + playerinarea(1472, 200, 1500, 300, 0) +
                  playerinarea(1400, 288, 1500, 300, -1), 0);
    Rig::player().healt = -100;
    EXPECT_EQ(playerinarea(1400, 200, 1500, 300, 0), 1);

    Neutral& n = placed(Rig::neutral(4), 500, 500, 1, 1);
    n.d = 3;
    swinging(n, 180, 1);   // tip at (539, 522)
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 5);
    EXPECT_EQ(swordinarea(530, 510, 550, 530, -1) + swordinarea(539, 510, 550, 530, 1) +
                  swordinarea(530, 522, 550, 530, 1), 0);
    lastneutral = 4;
    EXPECT_EQ(swordinarea(530, 510, 550, 530, 1), 0);
    lastneutral = -1;

    // Whole-pixel positions against float bounds: exactly what inside()
    // finds, for bounds on, just off and between whole pixels.
    clearslots();
    placed(Rig::monster(0), 40, -3, 1, 1);
    const float edges[] = {-1e9f, -4.5f, -3.0f, -2.999f, 0, 39, 39.5f, 40, std::nextafter(40.0f, 41.0f), 41, 1e9f};
    for (float x1 : edges)
        for (float x2 : edges)
            for (float y1 : edges)
                for (float y2 : edges)
                    ASSERT_EQ(monsterinarea(x1, y1, x2, y2, -1), inside(x1, y1, x2, y2, 40, -3) ? 1 : 0)
                        << x1 << " " << y1 << " " << x2 << " " << y2;
    EXPECT_EQ(monsterinarea(NAN, -10, 100, 100, -1), 0);
}

// Friends, enemies and corpses take the first free slot of the first 97,
// and nothing once those are full; an unknown kind of enemy none.
TEST_F(World, PlacingFillsTheFirst97Slots)
{
    for (int n = 0; n < 5; n++) putenemy(ENEMYRAIDER, 10, 10);
    EXPECT_EQ(putfriend(53, 3), 1);
    EXPECT_TRUE(Rig::neutral(5).gettype() == 2 && Rig::neutral(5).getx() == 1696 && Rig::neutral(5).gety() == 96);
    EXPECT_EQ(Rig::target(Rig::neutral(4)), 1);
    for (int n = 0; n < PLACESLOTS; n++) putfriend(1, 1);
    EXPECT_EQ(putfriend(53, 3) + putenemy(ENEMYRAIDER, 53, 3), 0);
    EXPECT_TRUE(Rig::neutral(96).gettype() == 2 && Rig::neutral(97).gettype() == 0);
    for (int kind : {0, 3, -1}) EXPECT_EQ(putenemy(kind, 11, 29), 0);
    EXPECT_EQ(Rig::monster(2).gettype(), 0);

    EXPECT_EQ(putcorpse(3, 1472, 384), 1);
    EXPECT_TRUE(Rig::mapx(Rig::corpse(0)) == 46 && Rig::mapy(Rig::corpse(0)) == 12);
    EXPECT_EQ(putcorpse(1, 47, 15), 1);
    EXPECT_TRUE(Rig::mapx(Rig::corpse(1)) == 1 && Rig::mapy(Rig::corpse(1)) == 0);
    for (int n = 2; n < PLACESLOTS; n++) ASSERT_EQ(putcorpse(1 + n % 16, n, 2 * n), 1);
    EXPECT_EQ(putcorpse(2, 999, 999), 0);
    EXPECT_TRUE(Rig::corpse(96).gettype() == 1 && Rig::x(Rig::corpse(96)) == 96 && Rig::corpse(97).gettype() == 0);

    // A reused monster slot keeps its old velocity and recovery.
    clearslots();
    Monster& m = Rig::monster(0);
    Rig::mx(m) = 1.5f;
    Rig::my(m) = -2;
    Rig::invulnerability(m) = 7;
    EXPECT_EQ(putenemy(ENEMYMONSTER, 20, 20), 1);
    EXPECT_TRUE(Rig::target(m) == 1 && Rig::invulnerability(m) == 7);
    stepmonster(0, false);
    EXPECT_TRUE(Rig::nx(m) == 20 * TILE + 1.5f && Rig::ny(m) == 20 * TILE - 2);   // moved by the old velocity
}

// A corpse decays only on screen and frees its slot on its 2,000th frame.
TEST_F(World, CorpsesDecayOnScreenAndGoAfter2000Frames)
{
    putcorpse(2, 2000, 100);   // off screen
    putcorpse(2, 200, 100);
    Corpse& c = Rig::corpse(1);
    for (int i = 1; i < 2000; i++) Rig::world().showframe(false);
    EXPECT_EQ(Rig::decay(Rig::corpse(0)), 1.0f);
    EXPECT_TRUE(c.gettype() == 2 && Rig::decay(c) > 0);
    Rig::world().showframe(false);   // the 2,000th
    EXPECT_EQ(c.gettype(), 0);
    EXPECT_EQ(putcorpse(1, 5, 5), 1);   // the slot is taken again
    EXPECT_EQ(c.gettype(), 1);
}

// A friend with nothing to fight turns back to the player once he is 150
// pixels away, to any side, and walks to him at once; at 149 it goes on.
// Friends heal, and may end just above 100; enemies do not.
TEST_F(World, FriendsTurnBackAtAHundredAndFiftyPixelsAndHeal)
{
    for (const auto& [dx, dy] : {std::pair{150, 0}, {-150, 0}, {0, 150}, {0, -150}}) {
        for (int less : {0, 1}) {
            resetworld();   // the player at (1472, 288)
            const int ox = dx - less * (dx > 0) + less * (dx < 0), oy = dy - less * (dy > 0) + less * (dy < 0);
            Neutral& f = placed(Rig::neutral(0), 1472.0f - ox, 288.0f - oy, 2, 0);
            Rig::target(f) = TARGETNONE;
            stepneutral(0, true);
            EXPECT_EQ(Rig::target(f), less ? TARGETNONE : TARGETFOLLOW) << ox << "," << oy;
            EXPECT_TRUE(less || std::fabs(std::hypot(Rig::mx(f), Rig::my(f)) - 2) < 1e-5) << ox << "," << oy;
        }
    }
    resetworld();
    Neutral& f = placed(Rig::neutral(0), 300, 1500, 2, 0);
    Neutral& e = placed(Rig::neutral(1), 600, 1500, 1, 1);
    f.healt = 99.995f;
    e.healt = 50;
    stepneutral(0, false);
    stepneutral(1, false);
    stepneutral(0, false);   // above 100 no more
    EXPECT_FLOAT_EQ(f.healt, 100.005f);
    EXPECT_EQ(e.healt, 50);
}

// The world's generator draws what the GNU C library's rand() draws, for
// 0 (taken as 1) and for seeds past 2^31.
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
