// Draws the four tile atlases of the world into DATA/ and writes a Tiled
// tileset description of each into maps/, with a "stop" property on blocking
// tiles and "light"/"radius" on light sources. Also writes the editing
// markers tileset used by the map's optional "stop" layer.
//
// Usage: worldatlas <repository root>
#include "atlas.h"
#include "paint.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>

using nlohmann::json;

namespace {

json tilesetjson(const std::string& name, const std::string& image, int height, int slot,
                 const std::vector<TileInfo>& tiles)
{
    json j;
    j["type"] = "tileset";
    j["version"] = "1.10";
    j["tiledversion"] = "1.10.2";
    j["name"] = name;
    j["image"] = image;
    j["imagewidth"] = 512;
    j["imageheight"] = height;
    j["tilewidth"] = 32;
    j["tileheight"] = 32;
    j["columns"] = 16;
    j["tilecount"] = height / 32 * 16;
    j["margin"] = 0;
    j["spacing"] = 0;
    j["properties"] = json::array({{{"name", "slot"}, {"type", "int"}, {"value", slot}}});
    json list = json::array();
    for (size_t id = 0; id < tiles.size(); id++) {
        const TileInfo& t = tiles[id];
        json props = json::array({{{"name", "name"}, {"type", "string"}, {"value", t.name}}});
        if (t.stop) props.push_back({{"name", "stop"}, {"type", "bool"}, {"value", true}});
        if (t.light > 0) {
            props.push_back({{"name", "light"}, {"type", "int"}, {"value", t.light}});
            props.push_back({{"name", "radius"}, {"type", "int"}, {"value", t.radius}});
        }
        list.push_back({{"id", id}, {"properties", props}});
    }
    j["tiles"] = list;
    return j;
}

bool writetext(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: write failed\n", path.c_str());
        return false;
    }
    return true;
}

bool writeatlas(const std::string& root, const Atlas& atlas, int slot)
{
    const Image pic = atlas.picture();
    std::string err;
    if (!writetga(root + "/DATA/" + atlas.name + ".tga", pic, RowOrder::TopFirst, atlas.alpha, &err)) {
        std::fprintf(stderr, "%s\n", err.c_str());
        return false;
    }
    const json j = tilesetjson(atlas.name, "../DATA/" + atlas.name + ".tga", pic.height, slot, atlas.tiles);
    return writetext(root + "/maps/" + atlas.name + ".tsj", j.dump(1) + "\n");
}

// Editing markers: a red cross that blocks wherever it is painted in the
// "stop" layer. The picture is only for the editor.
bool writemarkers(const std::string& root)
{
    Image pic(512, 32);
    for (int i = 0; i < 32; i++)
        for (int k = -1; k <= 1; k++) {
            set(pic, i + k, i, rgb(0xe02020));
            set(pic, 31 - i + k, i, rgb(0xe02020));
        }
    for (int i = 0; i < 32; i++) {
        set(pic, i, 0, rgb(0xe02020));
        set(pic, i, 31, rgb(0xe02020));
        set(pic, 0, i, rgb(0xe02020));
        set(pic, 31, i, rgb(0xe02020));
    }
    std::string err;
    if (!writepng(root + "/maps/markers.png", pic, &err)) {
        std::fprintf(stderr, "%s\n", err.c_str());
        return false;
    }
    std::vector<TileInfo> tiles = {TileInfo{"block", true, 0, 0}};
    json j = tilesetjson("markers", "markers.png", 32, 2, tiles);
    return writetext(root + "/maps/markers.tsj", j.dump(1) + "\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <repository root>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const OutdoorAtlases world = buildoutdoor();
    const CaveAtlases cave = buildcave();
    const bool ok = writeatlas(root, world.ground, 0) && writeatlas(root, world.upper, 1) &&
                    writeatlas(root, cave.ground, 0) && writeatlas(root, cave.upper, 1) &&
                    writemarkers(root);
    return ok ? 0 : 1;
}
