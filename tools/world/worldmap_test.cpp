// The map compiler: light and blocking as the tiles say, broken sources
// refused naming file and place, map files read back as written, the
// committed level's edges walled (checkregen.sh checks its compilation).
#include "worldmap.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

void writetext(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// An atlas picture of the given size: 18-byte header, then pixels.
void writeatlas(const fs::path& path, int w, int h, int depth)
{
    std::string b(18 + size_t(w) * h * (depth / 8), char(200));
    const char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(w), char(w >> 8), char(h), char(h >> 8),
                             char(depth), 0};
    writetext(path, b.replace(0, 18, header, 18));
}

json prop(const std::string& name, const std::string& type, const json& value)
{
    return {{"name", name}, {"type", type}, {"value", value}};
}

json tileset(const std::string& name, int slot, const json& tiles)
{
    return {{"name", name}, {"image", name + (slot == 2 ? ".png" : ".tga")}, {"imagewidth", 512},
            {"imageheight", 32}, {"tilewidth", 32}, {"tileheight", 32}, {"columns", 16}, {"tilecount", 16},
            {"properties", {prop("slot", "int", slot)}}, {"tiles", tiles}};
}

// A small world on disk: two one-row atlases, an all-grass 92 x 44 map.
// Ground gid 1 + v, layer gid 17 + v; layer tile 2 blocks, tile 3 is a
// light of 30 over 3 tiles; marker gid 33.
class Sources : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() /
                   ("worldmap_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    json map;

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        writeatlas(dir / "iso1.tga", 512, 32, 24);
        writeatlas(dir / "iso2.tga", 512, 32, 32);
        writetext(dir / "iso1.tsj", tileset("iso1", 0, json::array()).dump());
        writetext(dir / "iso2.tsj", tileset("iso2", 1, {{{"id", 2}, {"properties", {prop("stop", "bool", true)}}},
            {{"id", 3}, {"properties", {prop("light", "int", 30), prop("radius", "int", 3)}}}}).dump());
        writetext(dir / "markers.tsj", tileset("markers", 2, json::array()).dump());
        map = {{"orientation", "orthogonal"}, {"width", 92}, {"height", 44}, {"tilewidth", 32},
               {"tileheight", 32}, {"infinite", false}, {"properties", {prop("tset", "int", 0)}},
               {"tilesets", {{{"firstgid", 1}, {"source", "iso1.tsj"}}, {{"firstgid", 17}, {"source", "iso2.tsj"}},
                             {{"firstgid", 33}, {"source", "markers.tsj"}}}}};
        for (const char* name : {"ground", "second", "over", "stop"})
            map["layers"].push_back({{"type", "tilelayer"}, {"name", name}, {"width", 92}, {"height", 44},
                                     {"data", std::vector<int>(92 * 44, std::string(name) == "ground" ? 1 : 0)}});
        map["layers"].push_back({{"type", "objectgroup"}, {"name", "light"}, {"objects", json::array()}});
    }
    void TearDown() override { fs::remove_all(dir); }

    json& layer(int i) { return map["layers"][size_t(i)]; }
    void setcell(int i, int c, int r, uint32_t gid) { layer(i)["data"][size_t(r * 92 + c)] = gid; }

    // Compiles the current map; returns the error, empty on success.
    std::string compile(WorldMap* out)
    {
        writetext(dir / "level.json", map.dump());
        std::string error = "?";
        return compilemap((dir / "level.json").string(), out, &error) ? "" : error;
    }
};

}  // namespace

// The level walls its own top and left edges, as the map file does below and right.
TEST(CommittedLevel, CompilesWithItsTopAndLeftEdgesWalled)
{
    WorldMap map;
    std::string error;
    ASSERT_TRUE(compilemap(SOURCE_ROOT "/maps/kuurakarpalo.json", &map, &error)) << error;
    for (int c = 0; c < map.sizex; c++) EXPECT_NE(map.at(map.stop, c, 0), 0) << "top edge column " << c;
    for (int r = 0; r < map.sizey; r++) EXPECT_NE(map.at(map.stop, 0, r), 0) << "left edge row " << r;
}

// A map read back holds every grid, the sizes and the tile set as written;
// a damaged file is refused with its path named.
TEST(MapFile, ReadsBackWhatWasWrittenAndNamesABrokenFile)
{
    WorldMap map, back;
    map.sizex = 92;
    map.sizey = 44;
    map.tset = 1;
    std::vector<int32_t>* grids[] = {&map.tile, &map.tile2, &map.tile3, &map.light, &map.stop};
    for (int g = 0; g < 5; g++) map.at(*grids[g], 3 + g, 198 - g) = 17 + g;
    const std::string path = (fs::temp_directory_path() / "worldmap_layout.map").string();
    std::string error;
    ASSERT_TRUE(writemapfile(path, map, &error) && readmapfile(path, &back, &error)) << error;
    EXPECT_TRUE(back.sizex == 92 && back.sizey == 44 && back.tset == 1);
    EXPECT_TRUE(back.tile == map.tile && back.tile2 == map.tile2 && back.tile3 == map.tile3);
    EXPECT_TRUE(back.light == map.light && back.stop == map.stop);
    fs::resize_file(path, fs::file_size(path) - 1);
    EXPECT_FALSE(readmapfile(path, &back, &error));
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
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
    EXPECT_TRUE(m.at(m.stop, 20, 20) == 1 && m.at(m.stop, 25, 20) == 1 && m.at(m.stop, 21, 20) == 1);
    EXPECT_EQ(m.at(m.stop, 22, 20), 0);
    EXPECT_TRUE(m.at(m.tile2, 20, 20) == 2 && m.at(m.tile, 20, 20) == 0);
    // The lamp tile's four corners, each 0.7 tiles from its centre: 30 - 21 * 11 / 48 = 26;
    // daylight beyond the radius.
    const int light[][3] = {{30, 30, 26}, {31, 30, 26}, {30, 31, 26}, {31, 31, 26},
                            {32, 30, 30 - 21 * 25 / 48},  // 1.58 tiles: isqrt(640) = 25
                            {34, 30, DAYLIGHT}, {30, 26, DAYLIGHT}, {60, 30, 40 - 31 * 11 / 64}, {66, 30, DAYLIGHT}};
    for (const auto& l : light) EXPECT_EQ(m.at(m.light, l[0], l[1]), l[2]) << "at " << l[0] << ", " << l[1];
}

TEST_F(Sources, BrokenSourcesAreRefusedWithTheirPlace)
{
    const struct {
        std::function<void()> spoil;
        std::string error;   // after the path of the file at fault
    } cases[] = {
        {[&] { setcell(0, 3, 4, 99); }, "level.json: layer \"ground\" cell (3, 4): tile 99 is outside every tileset"},
        {[&] { setcell(0, 5, 6, 0); }, "level.json: layer \"ground\" cell (5, 6): the ground layer has no empty cells"},
        {[&] { setcell(1, 7, 8, 5); }, "level.json: layer \"second\" cell (7, 8): tile 5 comes from tileset \"iso1\""},
        {[&] { setcell(1, 7, 8, 0x80000000u | 18u); }, "level.json: layer \"second\" cell (7, 8): flipped or rotated"},
        {[&] { map["width"] = 199; }, "level.json: map size 199x44 is outside 1..198"},
        {[&] { map["height"] = 0; }, "level.json: map size 92x0"},
        {[&] { setcell(1, 46, 10, 17 + 2); }, "level.json: story tile (46, 9) (player start) is blocked"},
        {[&] {   // the west gate walled in
             for (int r = 27; r <= 31; r++)
                 for (int c = 10; c <= 12; c++)
                     if (r == 27 || r == 31 || c != 11) setcell(3, c, r, 33);
         }, "level.json: story tile (11, 29) (west enemy gate) cannot be reached"},
        {[&] { layer(4)["objects"].push_back({{"id", 7}, {"x", 10}, {"y", 10}}); },
         "level.json: layer \"light\" object 7: needs an integer property \"light\""},
        {[&] { layer(1)["data"].erase(0); }, "level.json: layer \"second\": needs 92x44 tiles"},
        {[&] { layer(2)["encoding"] = "base64"; }, "level.json: layer \"over\": save tile layers in the CSV format"},
        {[&] { map["properties"][0]["value"] = 1; },
         "level.json: tileset \"iso1\" uses iso1.tga, tile set 1 loads luola1.tga"},
        {[&] { writeatlas(dir / "iso1.tga", 500, 32, 24); },
         "iso1.tsj: atlas picture iso1.tga is 500x32, it must be 512 wide"},
        {[&] { writeatlas(dir / "iso2.tga", 512, 32, 24); }, "iso2.tsj: layer atlas iso2.tga needs an alpha channel"},
        {[&] { writetext(dir / "iso2.tsj", "{\"name\": "); }, "iso2.tsj: not valid JSON"},
    };
    for (const auto& c : cases) {
        c.spoil();
        WorldMap m;
        const std::string error = compile(&m);
        EXPECT_EQ(error.rfind((dir / c.error).string(), 0), 0u) << "want: " << c.error << "\ngot: " << error;
        SetUp();
    }
    EXPECT_EQ(std::set<const StoryTile*>(std::begin(STORYTILES), std::end(STORYTILES)).size(), std::size(STORYTILES))
        << "each story tile is checked, and once";
}

TEST_F(Sources, CompilerProgramExitsWithOneAndNamesTheFile)
{
    setcell(0, 3, 4, 99);
    WorldMap m;
    ASSERT_NE(compile(&m), "");
    const std::string out = (dir / "out.map").string(), err = (dir / "err.txt").string();
    const int status = std::system((WORLDMAPC " " + (dir / "level.json").string() + " " + out + " 2>" + err).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(err);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("level.json: layer \"ground\" cell (3, 4)"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(out));
}
