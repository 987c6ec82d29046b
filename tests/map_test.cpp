// The world record and its map file: what a file puts where, the border the
// world marks around the map, erasing, tile-set choice and file checks.
#include "rig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

static int cell(int c, int r)
{
    return r * MAPW + c;
}

TEST(MapFile, FieldsLandWhereTheyBelong)
{
    resetworld();
    auto m = std::make_unique<TestMap>();
    m->sizex = 120;
    m->sizey = 70;
    m->tile[cell(3, 4)] = 17;
    m->tile2[cell(5, 6)] = 23;
    m->tile3[cell(7, 8)] = -4;
    m->light[cell(9, 10)] = 35;
    m->light[cell(198, 198)] = 2;
    m->stop[cell(11, 12)] = 5;
    m->stop[cell(198, 0)] = 1;
    m->tset = 7;
    map.load(writemap(*m, "f.map").c_str());

    EXPECT_EQ(Rig::sizex(), 120);
    EXPECT_EQ(Rig::sizey(), 70);
    EXPECT_EQ(Rig::tile()[cell(3, 4)], 17);
    EXPECT_EQ(Rig::tile()[cell(4, 4)], 0);
    EXPECT_EQ(Rig::tile2()[cell(5, 6)], 23);
    EXPECT_EQ(Rig::tile3()[cell(7, 8)], -4);
    EXPECT_EQ(light[cell(9, 10)], 35);
    EXPECT_EQ(light[cell(198, 198)], 2);
    EXPECT_EQ(light[cell(0, 0)], 9);
    EXPECT_EQ(stop[cell(11, 12)], 5);
    EXPECT_EQ(stop[cell(198, 0)], 1);
    EXPECT_EQ(Rig::tset(), 7);
    EXPECT_EQ(std::strcmp(Rig::name(), (scratchdir() + "/f.map").c_str()), 0);
    // A tile set the game does not know leaves both tile-set slots empty.
    EXPECT_EQ(textures[0].texID, 0u);
    EXPECT_EQ(textures[1].texID, 0u);
    EXPECT_EQ(textures[0].imageData, nullptr);
    EXPECT_EQ(textures[1].width, 0u);
    resetworld();
}

TEST(MapFile, ConstructionMarksTheBorderAndLoadDoesNot)
{
    resetworld();
    auto m = std::make_unique<TestMap>();
    m->stop[cell(100, 60)] = 7;   // the corner below-right is left as stored
    m->stop[cell(101, 0)] = 0;
    const std::string first = writemap(*m, "b.map");

    {
        auto world = std::make_unique<Map>(first.c_str());
        for (int r = 0; r < 60; r++) EXPECT_EQ(stop[cell(100, r)], 1) << "row " << r;
        for (int c = 0; c < 100; c++) EXPECT_EQ(stop[cell(c, 60)], 1) << "column " << c;
        EXPECT_EQ(stop[cell(100, 60)], 7);
        EXPECT_EQ(stop[cell(101, 0)], 0);
        EXPECT_EQ(stop[cell(0, 61)], 0);
        EXPECT_EQ(stop[cell(99, 59)], 0);

        // A second map read into the same world starts from empty layers and
        // keeps its own border cells as its file has them.
        auto next = std::make_unique<TestMap>();
        next->sizex = 90;
        next->sizey = 50;
        next->stop[cell(100, 5)] = 0;
        next->stop[cell(3, 3)] = 1;
        next->tile2[cell(1, 1)] = 9;
        Rig::tile2()[cell(2, 2)] = 44;
        map.load(writemap(*next, "c.map").c_str());
        for (int r = 0; r < 60; r++) EXPECT_EQ(stop[cell(100, r)], 0) << "row " << r;
        for (int r = 0; r < 50; r++) EXPECT_EQ(stop[cell(90, r)], 0) << "row " << r;
        for (int c = 0; c < 100; c++) EXPECT_EQ(stop[cell(c, 60)], 0) << "column " << c;
        EXPECT_EQ(stop[cell(100, 60)], 0);
        EXPECT_EQ(stop[cell(3, 3)], 1);
        EXPECT_EQ(Rig::tile2()[cell(2, 2)], 0);
        EXPECT_EQ(Rig::tile2()[cell(1, 1)], 9);
    }
    resetworld();
}

TEST(MapFile, EraseClearsLayersStopAndNameButKeepsLight)
{
    resetworld();
    light[cell(20, 20)] = 31;
    Rig::tile()[cell(1, 2)] = 5;
    Rig::tile3()[cell(3, 4)] = 6;
    Rig::time() = 77;
    ASSERT_EQ(stop[cell(100, 0)], 1);
    Rig::erase();
    EXPECT_EQ(light[cell(20, 20)], 31);
    EXPECT_EQ(light[cell(0, 0)], 9);
    EXPECT_EQ(Rig::tile()[cell(1, 2)], 0);
    EXPECT_EQ(Rig::tile3()[cell(3, 4)], 0);
    EXPECT_EQ(stop[cell(100, 0)], 0);
    EXPECT_EQ(Rig::name()[0], '\0');
    EXPECT_EQ(Rig::sizex(), 100);
    EXPECT_EQ(Rig::time(), 77);
    resetworld();
}

TEST(MapFile, CheckRefusesWhatCannotBeLoaded)
{
    auto m = std::make_unique<TestMap>();
    EXPECT_EQ(checkmapfile(writemap(*m, "good").c_str()), nullptr);
    // A 6-character file name gives a 19-character path, the longest allowed.
    const std::string longest = writemap(*m, "abcdef");
    ASSERT_EQ(longest.size(), 19u);
    EXPECT_EQ(checkmapfile(longest.c_str()), nullptr);
    const std::string toolong = writemap(*m, "abcdefg");
    ASSERT_EQ(toolong.size(), 20u);
    EXPECT_NE(checkmapfile(toolong.c_str()), nullptr);

    EXPECT_NE(checkmapfile((scratchdir() + "/none").c_str()), nullptr);
    EXPECT_NE(checkmapfile(scratchdir().c_str()), nullptr);   // a directory

    std::string bytes(MAPFILESIZE, '\0');
    bytes[0] = 100;
    bytes[4] = 60;
    EXPECT_EQ(checkmapfile(writefile(bytes, "raw").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile(bytes.substr(0, MAPFILESIZE - 1), "short").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile(bytes + '\0', "long").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile("", "empty").c_str()), nullptr);

    for (int w : {0, 199, -1}) {
        m->sizex = w;
        EXPECT_NE(checkmapfile(writemap(*m, "w").c_str()), nullptr) << "width " << w;
    }
    m->sizex = 198;
    m->sizey = 198;
    EXPECT_EQ(checkmapfile(writemap(*m, "w").c_str()), nullptr);
    m->sizey = 0;
    EXPECT_NE(checkmapfile(writemap(*m, "w").c_str()), nullptr);
    m->sizey = 199;
    EXPECT_NE(checkmapfile(writemap(*m, "w").c_str()), nullptr);
}
