// The tile layers as they reach the screen: atlas cells, corner light, the
// night tint, empty upper cells and the last row and column of the grid.
#include "rig.h"

#include <memory>

// Draws the tile layers once onto a black screen.
static void drawtiles()
{
    clearscreen();
    Rig::showtiles();
    Rig::showovertiles();
}

TEST(Tiles, LightAndNightTintTheGround)
{
    resetworld();
    solidtexture(0, 32, 32, 200, 100, 50);
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 200, 100, 50));
    EXPECT_TRUE(colourof(readpixel(1023, 767), 200, 100, 50));

    night = 1;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 57, 29, 25, 1));   // 1/3.5, 1/3.5, 1/2

    // Light 35 at the corners of tile (2, 2) is clamped to full at night.
    for (int c = 2; c <= 3; c++)
        for (int r = 2; r <= 3; r++) light[cell(c, r)] = 35;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(80, 80), 200, 100, 50));
}

TEST(Tiles, ValuesPickAtlasCellsAndEmptyUpperCellsShowTheGround)
{
    resetworld();
    celltexture(0, 16, 16);
    celltexture(1, 16, 16);
    const int ground[4] = {17, 0, 255, 31};
    for (int c = 0; c < 4; c++) Rig::tile()[cell(c, 0)] = ground[c];
    Rig::tile2()[cell(1, 1)] = 5;
    Rig::tile2()[cell(2, 1)] = -3;
    Rig::tile3()[cell(3, 1)] = 32;
    drawtiles();
    EXPECT_TRUE(showscell(0, 0, 1, 1));   // 17: s and t from 1/16 to 2/16
    EXPECT_TRUE(showscell(31, 31, 1, 1));
    EXPECT_TRUE(showscell(48, 16, 0, 0));
    EXPECT_TRUE(showscell(80, 16, 15, 15));
    EXPECT_TRUE(showscell(112, 16, 15, 1));
    EXPECT_TRUE(showscell(16, 48, 0, 0));   // tile2 0: nothing drawn
    EXPECT_TRUE(showscell(48, 48, 5, 0));
    EXPECT_TRUE(showscell(80, 48, 0, 0));   // negative: nothing drawn
    EXPECT_TRUE(showscell(112, 48, 0, 2));
}

// A ground value past the atlas's rows, or below 0, is worked out as it
// comes: its column and row as for any value, the texture repeating, so
// 1025 (row 64) draws as 1 does and -1 (column -1) as 15.
TEST(Tiles, GroundValuesPastTheAtlasWrapRoundIt)
{
    resetworld();
    celltexture(0, 16, 16);
    Rig::tile()[cell(0, 2)] = 1025;
    Rig::tile()[cell(1, 2)] = -1;
    drawtiles();
    EXPECT_TRUE(showscell(16, 80, 1, 0));
    EXPECT_TRUE(showscell(48, 80, 15, 0));
}

// In the last row and column of the grid, the far corners of tiles and
// corpses take the light of the nearest cell the grid has.
TEST(Tiles, FullSizeMapReadsItsLastLightRowAndColumn)
{
    resetworld();
    auto m = std::make_unique<TestMap>(198, 198);
    for (int i = 0; i < MAPW; i++) m->light[cell(198, i)] = m->light[cell(i, 198)] = 0;
    map.load(writemap(*m, "l.map").c_str());
    solidtexture(0, 32, 32, 200, 100, 50);
    Rig::rollx() = 198 - 32;
    Rig::rolly() = 198 - 24;
    Camera.set(198 * 32 - 1024, 198 * 32 - 768);
    drawtiles();
    // Tile (197, 197) fades towards its dark right and bottom corners.
    EXPECT_TRUE(colourof(readpixel(1023 - 31, 767 - 31), 200, 100, 50, 8));
    EXPECT_LT(readpixel(1023, 767).r, 20);
    EXPECT_TRUE(colourof(readpixel(1023 - 64, 767 - 64), 200, 100, 50));

    m->light[cell(198, 198)] = 9;
    map.load(writemap(*m, "k.map").c_str());
    clearslots();
    solidtexture(6, 32, 512, 200, 100, 50);
    putcorpse(1, 198 * 32, 198 * 32);
    ASSERT_EQ(Rig::mapx(Rig::corpse(0)), 198);
    Camera.set(198 * 32 - 500, 198 * 32 - 500);
    clearscreen();
    drawalone(Rig::corpse(0));
    EXPECT_TRUE(colourof(readpixel(530, 530), 200, 100, 50));
}

// A light lookup outside the grid takes the nearest cell inside it, on
// every side, corners included; inside, the cell itself.
TEST(Tiles, LightOutsideTheGridIsTheNearestCellsLight)
{
    resetworld();
    for (int i = 0; i < MAPCELLS; i++) light[i] = 1000 + i;
    const struct {
        int c, r;         // asked for
        int inc, inr;     // the cell that answers
    } cases[] = {
        {-1, 5, 0, 5},     {-40, 5, 0, 5},     {199, 5, 198, 5},   {250, 5, 198, 5},
        {5, -1, 5, 0},     {5, -7, 5, 0},      {5, 199, 5, 198},   {5, 300, 5, 198},
        {-1, -1, 0, 0},    {199, 199, 198, 198}, {-3, 201, 0, 198}, {201, -3, 198, 0},
        {0, 0, 0, 0},      {198, 198, 198, 198}, {197, 198, 197, 198}, {198, 197, 198, 197},
    };
    for (const auto& k : cases)
        EXPECT_EQ(lightat(k.c, k.r), 1000 + k.inr * MAPW + k.inc) << k.c << ", " << k.r;
}

// Corner colours come from a table remade when the night changes; light
// values outside it are worked out directly. Each must give the colour that
// the light and the tint give.
TEST(Tiles, CornerColoursFollowTheNightAndAnyLight)
{
    resetworld();
    for (float darkness : {0.0f, 0.3f, 1.0f, 0.3f}) {
        night = darkness;
        const Tint t = nighttint();
        for (int v : {-5, 0, 9, 35, 63, 64, 1000}) {
            light[cell(3, 4)] = v;
            lightcolor(t, 3, 4, 0.5f);
            GLfloat c[4];
            glGetFloatv(GL_CURRENT_COLOR, c);
            const float l = (float)(v / 9.0);
            EXPECT_EQ(c[0], l / t.r) << darkness << " " << v;
            EXPECT_EQ(c[1], l / t.g) << darkness << " " << v;
            EXPECT_EQ(c[2], l / t.b) << darkness << " " << v;
            EXPECT_EQ(c[3], 0.5f);
        }
    }
}
