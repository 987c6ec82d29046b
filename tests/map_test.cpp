// The world record and its map file: what a file puts where, the border the
// world marks around the map, erasing, and which files can be loaded.
#include "rig.h"

#include <zlib.h>

#include <memory>

TEST(MapFile, FieldsLandWhereTheyBelongAndEraseKeepsTheLight)
{
    auto m = std::make_unique<TestMap>(120, 70);
    m->tile[cell(3, 4)] = 17;
    m->tile2[cell(5, 6)] = 23;
    m->tile3[cell(7, 8)] = -4;
    m->light[cell(198, 198)] = 35;
    m->stop[cell(11, 12)] = 5;
    m->tset = 2;
    map.load(writemap(*m, "f.map").c_str());
    EXPECT_EQ(Rig::sizex(), 120);
    EXPECT_EQ(Rig::sizey(), 70);
    EXPECT_EQ(Rig::tile()[cell(3, 4)], 17);
    EXPECT_EQ(Rig::tile2()[cell(5, 6)], 23);
    EXPECT_EQ(Rig::tile3()[cell(7, 8)], -4);
    EXPECT_EQ(light[cell(198, 198)], 35);
    EXPECT_EQ(light[cell(0, 0)], 9);
    EXPECT_EQ(stop[cell(11, 12)], 5);
    EXPECT_EQ(Rig::tset(), 2);
    // A tile set the game does not know leaves both tile-set slots empty.
    EXPECT_EQ(textures[0].texID, 0u);
    EXPECT_EQ(textures[1].texID, 0u);

    // Erasing clears the layers, stop and the name, but not the light.
    Rig::erase();
    EXPECT_EQ(light[cell(198, 198)], 35);
    EXPECT_EQ(Rig::tile()[cell(3, 4)], 0);
    EXPECT_EQ(Rig::tile2()[cell(5, 6)], 0);
    EXPECT_EQ(Rig::tile3()[cell(7, 8)], 0);
    EXPECT_EQ(stop[cell(11, 12)], 0);
    EXPECT_EQ(Rig::name()[0], '\0');
}

TEST(MapFile, ConstructionMarksTheBorderAndLoadDoesNot)
{
    auto m = std::make_unique<TestMap>();
    m->stop[cell(100, 60)] = 7;
    {
        auto world = std::make_unique<Map>(writemap(*m, "b.map").c_str());
        for (int r = 0; r < 60; r++) EXPECT_EQ(stop[cell(100, r)], 1) << "row " << r;
        for (int c = 0; c < 100; c++) EXPECT_EQ(stop[cell(c, 60)], 1) << "column " << c;
        EXPECT_EQ(stop[cell(100, 60)], 7);   // the corner stays as stored
        EXPECT_EQ(stop[cell(101, 0)], 0);

        // A second map read into the world starts from empty layers and
        // keeps its border cells as its file has them.
        Rig::tile2()[cell(2, 2)] = 44;
        map.load(writemap(TestMap(90, 60), "c.map").c_str());
        for (int r = 0; r < 60; r++) EXPECT_EQ(stop[cell(90, r)] + stop[cell(100, r)], 0);
        for (int c = 0; c < 100; c++) EXPECT_EQ(stop[cell(c, 60)], 0) << "column " << c;
        EXPECT_EQ(Rig::tile2()[cell(2, 2)], 0);
    }
}

TEST(MapFile, CheckRefusesWhatCannotBeLoaded)
{
    auto m = std::make_unique<TestMap>();
    // A 6-character file name gives a 19-character path, the longest allowed.
    const std::string longest = writemap(*m, "abcdef");
    ASSERT_EQ(longest.size(), 19u);
    EXPECT_EQ(checkmapfile(longest.c_str()), nullptr);
    EXPECT_NE(checkmapfile(writemap(*m, "abcdefg").c_str()), nullptr);
    EXPECT_NE(checkmapfile((scratchdir() + "/none").c_str()), nullptr);

    const std::vector<unsigned char> bytes = mapbytes(*m);
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(checkmapfile(writefile(file, "raw").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile(file.substr(1), "short").c_str()), nullptr);
    EXPECT_NE(checkmapfile(writefile(file + '\0', "long").c_str()), nullptr);

    // A map that cannot be written says so and where.
    std::string error;
    EXPECT_FALSE(::writemap((scratchdir() + "/none/w.map").c_str(), *m, error));
    EXPECT_NE(error.find("/none/w.map: cannot open for writing"), std::string::npos) << error;
    EXPECT_FALSE(::writemap("/dev/full", *m, error));
    EXPECT_EQ(error, "/dev/full: write failed");

    const int sizes[][2] = {{198, 198}, {0, 60}, {199, 60}, {-1, 60}, {100, 0}, {100, 199}};
    for (const auto& size : sizes) {
        m->sizex = size[0];
        m->sizey = size[1];
        EXPECT_EQ(checkmapfile(writemap(*m, "w").c_str()) == nullptr, size[0] == 198)
            << size[0] << " by " << size[1];
    }
}

// A map's data put into the world directly makes the same world as its file.
TEST(MapFile, DataOpensAsItsFileDoes)
{
    auto m = std::make_unique<TestMap>(90, 50);
    m->tile[cell(3, 4)] = 17;
    m->stop[cell(11, 12)] = 5;
    m->light[cell(7, 7)] = 2;
    map.open(writemap(*m, "d.map").c_str());
    std::vector<int> fromfile(stop, stop + MAPCELLS);
    fromfile.insert(fromfile.end(), light, light + MAPCELLS);
    fromfile.insert(fromfile.end(), Rig::tile(), Rig::tile() + MAPCELLS);

    map.open(*std::make_unique<TestMap>(), "another.map");
    map.open(*m, "a name longer than nineteen");
    std::vector<int> fromdata(stop, stop + MAPCELLS);
    fromdata.insert(fromdata.end(), light, light + MAPCELLS);
    fromdata.insert(fromdata.end(), Rig::tile(), Rig::tile() + MAPCELLS);
    EXPECT_TRUE(fromdata == fromfile);
    EXPECT_EQ(stop[cell(90, 10)], 1);
    EXPECT_EQ(stop[cell(10, 50)], 1);
    EXPECT_EQ(Rig::sizex(), 90);
    EXPECT_STREQ(Rig::name(), "a name longer than ");
}

// The game's CRC-32 is zlib's, whole and folded piece by piece, on lengths
// around the table's byte steps.
TEST(MapFile, CrcIsZlibs)
{
    std::vector<unsigned char> bytes(4099);
    uint32_t v = 12345;
    for (unsigned char& b : bytes) b = (unsigned char)((v = v * 1103515245u + 12345u) >> 24);
    for (size_t size : {(size_t)0, (size_t)1, (size_t)3, (size_t)4, (size_t)255, bytes.size()}) {
        const uint32_t expect = (uint32_t)crc32(0, bytes.data(), (uInt)size);
        EXPECT_EQ(crc32of(0, bytes.data(), size), expect) << size << " bytes";
        const size_t half = size / 2;
        EXPECT_EQ(crc32of(crc32of(0, bytes.data(), half), bytes.data() + half, size - half), expect);
    }
}
