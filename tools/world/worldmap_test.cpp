// The map compiler: the committed level compiles into a sound map file, the
// binary layout is the game's, light and blocking come out as the tiles say,
// and broken sources are refused with the file and the place named.
#include "worldmap.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

const std::string ROOT = SOURCE_ROOT;

std::vector<uint8_t> readbytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

void writetext(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// An atlas picture of the given size: 18-byte header, then pixels.
void writeatlas(const fs::path& path, int w, int h, int depth)
{
    std::vector<uint8_t> b(18, 0);
    b[2] = 2;
    b[12] = uint8_t(w & 255);
    b[13] = uint8_t(w >> 8);
    b[14] = uint8_t(h & 255);
    b[15] = uint8_t(h >> 8);
    b[16] = uint8_t(depth);
    b.resize(18 + size_t(w) * h * (depth / 8), 200);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size()));
}

json tileset(const std::string& name, const std::string& image, int slot, const json& tiles)
{
    return {{"name", name}, {"image", image}, {"imagewidth", 512}, {"imageheight", 32},
            {"tilewidth", 32}, {"tileheight", 32}, {"columns", 16}, {"tilecount", 16},
            {"properties", json::array({{{"name", "slot"}, {"type", "int"}, {"value", slot}}})},
            {"tiles", tiles}};
}

json prop(const std::string& name, const std::string& type, const json& value)
{
    return {{"name", name}, {"type", type}, {"value", value}};
}

// A small world on disk: two one-row atlases, an all-grass 92 x 44 map.
// Ground gid 1 + v, layer gid 17 + v; layer tile 2 blocks, tile 3 is a
// light of 30 over 3 tiles; marker gid 33.
class Sources : public ::testing::Test {
protected:
    fs::path dir;
    json map;

    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("worldmap_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        writeatlas(dir / "iso1.tga", 512, 32, 24);
        writeatlas(dir / "iso2.tga", 512, 32, 32);
        writetext(dir / "iso1.tsj", tileset("iso1", "iso1.tga", 0, json::array()).dump());
        json upper = json::array({{{"id", 2}, {"properties", {prop("stop", "bool", true)}}},
                                  {{"id", 3}, {"properties", {prop("light", "int", 30), prop("radius", "int", 3)}}}});
        writetext(dir / "iso2.tsj", tileset("iso2", "iso2.tga", 1, upper).dump());
        writetext(dir / "markers.tsj", tileset("markers", "markers.png", 2, json::array()).dump());
        map = {{"orientation", "orthogonal"}, {"width", 92}, {"height", 44}, {"tilewidth", 32},
               {"tileheight", 32}, {"infinite", false},
               {"properties", {prop("tset", "int", 0)}},
               {"tilesets", {{{"firstgid", 1}, {"source", "iso1.tsj"}}, {{"firstgid", 17}, {"source", "iso2.tsj"}},
                             {{"firstgid", 33}, {"source", "markers.tsj"}}}}};
        json layers = json::array();
        for (const char* name : {"ground", "second", "over", "stop"})
            layers.push_back({{"type", "tilelayer"}, {"name", name}, {"width", 92}, {"height", 44},
                              {"data", std::vector<int>(92 * 44, std::string(name) == "ground" ? 1 : 0)}});
        layers.push_back({{"type", "objectgroup"}, {"name", "light"}, {"objects", json::array()}});
        map["layers"] = layers;
    }
    void TearDown() override { fs::remove_all(dir); }

    json& layer(int i) { return map["layers"][size_t(i)]; }
    void setcell(int i, int c, int r, int gid) { layer(i)["data"][size_t(r * 92 + c)] = gid; }

    // Compiles the current map; returns the error, empty on success.
    std::string compile(WorldMap* out = nullptr)
    {
        writetext(dir / "level.json", map.dump());
        WorldMap m;
        std::string error;
        if (!compilemap((dir / "level.json").string(), &m, &error)) return error.empty() ? "?" : error;
        if (out) *out = m;
        return "";
    }
};

}  // namespace

TEST(CommittedLevel, CompilesToASoundMapFile)
{
    WorldMap map;
    std::string error;
    ASSERT_TRUE(compilemap(ROOT + "/maps/kuurakarpalo.json", &map, &error)) << error;
    EXPECT_GE(map.sizex, 80);
    EXPECT_GE(map.sizey, 37);
    EXPECT_LE(map.sizex, 198);
    EXPECT_EQ(map.tset, 0);
    // The committed binary is this compilation, byte for byte in layout.
    WorldMap file;
    ASSERT_TRUE(readmapfile(ROOT + "/kuurakarpalo.map", &file, &error)) << error;
    EXPECT_EQ(file.sizex, map.sizex);
    EXPECT_EQ(file.sizey, map.sizey);
    EXPECT_EQ(file.stop, map.stop);
    EXPECT_EQ(file.light, map.light);
    EXPECT_EQ(file.tile2, map.tile2);
    // Every story tile stands on open ground, with the cell below it.
    for (const StoryTile* s : STORYTILES) {
        EXPECT_EQ(map.at(map.stop, s->c, s->r), 0) << s->what;
        EXPECT_EQ(map.at(map.stop, s->c, s->r + 1), 0) << s->what;
    }
    // The game blocks only below and right of the map: the top and left edges
    // must be blocked by the map itself.
    for (int c = 0; c < map.sizex; c++) EXPECT_NE(map.at(map.stop, c, 0), 0) << "top edge column " << c;
    for (int r = 0; r < map.sizey; r++) EXPECT_NE(map.at(map.stop, 0, r), 0) << "left edge row " << r;
    // Lights glow above daylight somewhere, nothing is darker than daylight
    // outdoors, and cells outside the map carry no tiles.
    int bright = 0;
    for (int i = 0; i < MAPCELLS; i++) {
        EXPECT_GE(map.light[size_t(i)], DAYLIGHT);
        bright += map.light[size_t(i)] >= 25;
    }
    EXPECT_GT(bright, 20);
    EXPECT_EQ(map.at(map.tile2, map.sizex + 3, 5), 0);
    EXPECT_EQ(map.at(map.tile, 5, map.sizey + 3), 0);
}

TEST(MapFile, LayoutIsLittleEndianGridsInOrder)
{
    WorldMap map;
    map.sizex = 92;
    map.sizey = 44;
    map.tset = 1;
    map.at(map.tile, 3, 2) = 17;
    map.at(map.tile2, 198, 198) = 5;
    map.at(map.tile3, 0, 1) = 300;
    map.at(map.light, 4, 4) = 33;
    map.at(map.stop, 7, 8) = 1;
    const std::string path = (fs::temp_directory_path() / "worldmap_layout.map").string();
    std::string error;
    ASSERT_TRUE(writemapfile(path, map, &error)) << error;
    const std::vector<uint8_t> b = readbytes(path);
    ASSERT_EQ(long(b.size()), 792032L);
    EXPECT_EQ(le32(b, 0), 92);
    EXPECT_EQ(le32(b, 4), 44);
    EXPECT_EQ(le32(b, 8 + 4 * (2 * 199 + 3)), 17);
    EXPECT_EQ(le32(b, 158412 + 4 * (198 * 199 + 198)), 5);
    EXPECT_EQ(le32(b, 316816 + 4 * 199), 300);
    EXPECT_EQ(le32(b, 475220 + 4 * (4 * 199 + 4)), 33);
    EXPECT_EQ(le32(b, 475220), 9);
    EXPECT_EQ(le32(b, 633624 + 4 * (8 * 199 + 7)), 1);
    EXPECT_EQ(le32(b, 792028), 1);
    WorldMap back;
    ASSERT_TRUE(readmapfile(path, &back, &error)) << error;
    EXPECT_EQ(back.tile3, map.tile3);
    EXPECT_EQ(back.tset, 1);
    // A file one byte short, or with a size beyond the grid, is refused.
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size() - 1));
    EXPECT_FALSE(readmapfile(path, &back, &error));
    EXPECT_NE(error.find("792032"), std::string::npos) << error;
    map.sizex = 199;
    ASSERT_TRUE(writemapfile(path, map, &error));
    EXPECT_FALSE(readmapfile(path, &back, &error));
    fs::remove(path);
}

TEST_F(Sources, BlockingAndLightFollowTheTiles)
{
    setcell(1, 20, 20, 17 + 2);  // a blocking second-layer tile
    setcell(2, 25, 20, 17 + 2);  // blocking counts in the over layer too
    setcell(3, 21, 20, 33);      // a painted block in the stop layer
    setcell(1, 30, 30, 17 + 3);  // a lamp: 30 over 3 tiles
    layer(4)["objects"].push_back({{"id", 1}, {"x", 60 * 32 + 5}, {"y", 30 * 32 + 9}, {"point", true},
                                   {"properties", {prop("light", "int", 40), prop("radius", "int", 4)}}});
    WorldMap m;
    ASSERT_EQ(compile(&m), "");
    EXPECT_EQ(m.at(m.stop, 20, 20), 1);
    EXPECT_EQ(m.at(m.stop, 25, 20), 1);
    EXPECT_EQ(m.at(m.stop, 21, 20), 1);
    EXPECT_EQ(m.at(m.stop, 22, 20), 0);
    EXPECT_EQ(m.at(m.tile2, 20, 20), 2);
    EXPECT_EQ(m.at(m.tile, 20, 20), 0);
    // The four corners of the lamp's tile are equally bright, 0.7 tiles from
    // its centre: 30 - 21 * 11 / 48 = 26; beyond the radius it is daylight.
    for (int gy = 30; gy <= 31; gy++)
        for (int gx = 30; gx <= 31; gx++) EXPECT_EQ(m.at(m.light, gx, gy), 26);
    EXPECT_EQ(m.at(m.light, 32, 30), 30 - 21 * 25 / 48);  // 1.58 tiles: isqrt(640) = 25
    EXPECT_EQ(m.at(m.light, 34, 30), DAYLIGHT);
    EXPECT_EQ(m.at(m.light, 30, 26), DAYLIGHT);
    EXPECT_EQ(m.at(m.light, 60, 30), 40 - 31 * 11 / 64);
    EXPECT_EQ(m.at(m.light, 66, 30), DAYLIGHT);
}

TEST_F(Sources, BrokenSourcesAreRefusedWithTheirPlace)
{
    const json pristine = map;
    auto expect = [&](const std::string& needle) {
        const std::string error = compile();
        EXPECT_NE(error.find(needle), std::string::npos) << "got: " << error;
        map = pristine;
    };
    setcell(0, 3, 4, 99);
    expect("layer \"ground\" cell (3, 4): tile 99 is outside every tileset");
    setcell(0, 5, 6, 0);
    expect("cell (5, 6): the ground layer has no empty cells");
    setcell(1, 7, 8, 5);
    expect("cell (7, 8): tile 5 comes from tileset \"iso1\"");
    layer(1)["data"][size_t(8 * 92 + 7)] = 0x80000000u | 18u;
    expect("cell (7, 8): flipped or rotated");
    map["width"] = 199;
    expect("map size 199x44 is outside 1..198");
    map["height"] = 0;
    expect("map size 92x0");
    setcell(1, 46, 10, 17 + 2);  // under the player's start
    expect("story tile (46, 9) (player start) is blocked");
    for (int c = 10; c <= 12; c++) setcell(3, c, 27, 33);  // wall the west gate in
    for (int r = 28; r <= 31; r++) {
        setcell(3, 10, r, 33);
        setcell(3, 12, r, 33);
    }
    setcell(3, 11, 31, 33);
    expect("story tile (11, 29) (west enemy gate) cannot be reached");
    layer(4)["objects"].push_back({{"id", 7}, {"x", 10}, {"y", 10}});
    expect("layer \"light\" object 7: needs an integer property \"light\"");
    layer(1)["data"].erase(0);
    expect("layer \"second\": needs 92x44 tiles");
    layer(2)["encoding"] = "base64";
    expect("layer \"over\": save tile layers in the CSV format");
    map["properties"][0]["value"] = 1;
    expect("uses iso1.tga, tile set 1 loads luola1.tga");

    writeatlas(dir / "iso1.tga", 500, 32, 24);
    expect("atlas picture iso1.tga is 500x32, it must be 512 wide");
    writeatlas(dir / "iso1.tga", 512, 32, 24);
    writeatlas(dir / "iso2.tga", 512, 32, 24);
    expect("layer atlas iso2.tga needs an alpha channel");
    writeatlas(dir / "iso2.tga", 512, 32, 32);
    writetext(dir / "iso2.tsj", "{\"name\": ");
    expect("iso2.tsj: not valid JSON");
}

TEST_F(Sources, CompilerProgramExitsWithOneAndNamesTheFile)
{
    setcell(0, 3, 4, 99);
    writetext(dir / "level.json", map.dump());
    const std::string out = (dir / "out.map").string();
    const std::string cmd = std::string(WORLDMAPC) + " " + (dir / "level.json").string() + " " + out + " 2>" +
                            (dir / "err.txt").string();
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::vector<uint8_t> err = readbytes((dir / "err.txt").string());
    const std::string text(err.begin(), err.end());
    EXPECT_NE(text.find("level.json: layer \"ground\" cell (3, 4)"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(out));
}
