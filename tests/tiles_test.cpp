// The tile layers as they reach the screen: atlas cells, corner light, the
// night tint, empty upper cells and the edges of the grid.
#include "rig.h"

#include <gtest/gtest.h>

#include <memory>

static int cell(int c, int r)
{
    return r * MAPW + c;
}

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
    solidtexture(1, 32, 32, 0, 0, 0, 0);

    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 200, 100, 50));
    EXPECT_TRUE(colourof(readpixel(1023, 767), 200, 100, 50));

    night = 1;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 57, 29, 25, 1));   // 1/3.5, 1/3.5, 1/2

    // Light 35 at all four corners of tile (2, 2): brighter than full at
    // night, clamped to the texture's own colour.
    for (int c = 2; c <= 3; c++)
        for (int r = 2; r <= 3; r++) light[cell(c, r)] = 35;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(80, 80), 200, 100, 50));
    // Its neighbour shares two bright corners: brighter than the dark tiles.
    EXPECT_GT(readpixel(112, 80).r, 57);

    // Darkness beyond 1 takes the ground further towards black.
    night = 100;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 1, 0, 0, 1));

    night = 0;
    for (int c = 0; c < 10; c++) light[cell(c, 0)] = 0;
    drawtiles();
    EXPECT_LT(readpixel(16, 0).r, 8);   // top edge: its own corners are dark
    EXPECT_GT(readpixel(16, 31).r, 190);
    resetworld();
}

TEST(Tiles, ValuesPickAtlasCells)
{
    resetworld();
    celltexture(0, 16, 16);
    celltexture(1, 16, 16);
    Rig::tile()[cell(0, 0)] = 17;
    Rig::tile()[cell(1, 0)] = 0;
    Rig::tile()[cell(2, 0)] = 255;
    Rig::tile()[cell(3, 0)] = 31;
    Rig::tile2()[cell(0, 1)] = 0;     // empty: the ground shows
    Rig::tile2()[cell(1, 1)] = 5;
    Rig::tile2()[cell(2, 1)] = -3;    // empty as well
    Rig::tile3()[cell(3, 1)] = 32;
    Rig::tile3()[cell(4, 1)] = 0;
    drawtiles();

    auto seen = [](int c, int r, int ac, int ar) {
        const Pixel e = cellcolor(ac, ar);
        return colourof(readpixel(32 * c + 16, 32 * r + 16), e.r, e.g, e.b);
    };
    EXPECT_TRUE(seen(0, 0, 1, 1));
    EXPECT_TRUE(seen(1, 0, 0, 0));
    EXPECT_TRUE(seen(2, 0, 15, 15));
    EXPECT_TRUE(seen(3, 0, 15, 1));
    EXPECT_TRUE(seen(0, 1, 0, 0));
    EXPECT_TRUE(seen(1, 1, 5, 0));
    EXPECT_TRUE(seen(2, 1, 0, 0));
    EXPECT_TRUE(seen(3, 1, 0, 2));
    EXPECT_TRUE(seen(4, 1, 0, 0));
    // Cell edges land exactly on the atlas cell edges.
    const Pixel edge = cellcolor(1, 1);
    EXPECT_TRUE(colourof(readpixel(0, 0), edge.r, edge.g, edge.b));
    EXPECT_TRUE(colourof(readpixel(31, 31), edge.r, edge.g, edge.b));
    resetworld();
}

TEST(Tiles, UpperLayersSkipTransparentTexels)
{
    resetworld();
    solidtexture(0, 32, 32, 200, 100, 50);
    solidtexture(1, 32, 32, 0, 255, 0, 127);   // alpha at most 0.5: never drawn
    Rig::tile2()[cell(0, 0)] = 1;
    Rig::tile3()[cell(1, 0)] = 1;
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(16, 16), 200, 100, 50));
    EXPECT_TRUE(colourof(readpixel(48, 16), 200, 100, 50));
    resetworld();
}

TEST(Tiles, WindowFollowsTheScrollAndStopsAtTheMapEdge)
{
    resetworld();
    solidtexture(0, 32, 32, 200, 100, 50);
    // The ground ends at column 100: with the camera past it nothing is
    // drawn there.
    Rig::rollx() = 68;
    Camera.set(2176 + 32, 0);
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(1023 - 32, 16), 200, 100, 50));
    EXPECT_TRUE(colourof(readpixel(1023, 16), 0, 0, 0));

    // The window reaches a tile before the scroll column and two after the
    // screen, covering a camera still gliding.
    Rig::rollx() = 10;
    Rig::rolly() = 10;
    Camera.set(320 - 32, 320 - 32);
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(0, 0), 200, 100, 50));
    Camera.set(320 + 64, 320 + 64);
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(1023, 767), 200, 100, 50));
    Camera.set(320 + 96, 320);
    drawtiles();
    EXPECT_TRUE(colourof(readpixel(1023, 16), 0, 0, 0));
    EXPECT_TRUE(colourof(readpixel(1023 - 32, 16), 200, 100, 50));
    resetworld();
}

TEST(Tiles, FullSizeMapReadsItsLastLightRowAndColumn)
{
    resetworld();
    auto m = std::make_unique<TestMap>();
    m->sizex = 198;
    m->sizey = 198;
    for (int i = 0; i < MAPW; i++) {
        m->light[cell(198, i)] = 0;
        m->light[cell(i, 198)] = 0;
    }
    map.load(writemap(*m, "l.map").c_str());
    clearslots();
    solidtexture(0, 32, 32, 200, 100, 50);
    Rig::rollx() = 198 - 32;
    Rig::rolly() = 198 - 24;
    Camera.set(198 * 32 - 1024, 198 * 32 - 768);
    drawtiles();
    // Tile (197, 197) fades to its dark right and bottom corners.
    EXPECT_TRUE(colourof(readpixel(1023 - 31, 767 - 31), 200, 100, 50, 8));
    const Pixel corner = readpixel(1023, 767);
    EXPECT_LT(corner.r, 20);
    EXPECT_TRUE(colourof(readpixel(1023 - 64, 767 - 64), 200, 100, 50));
    resetworld();
}
