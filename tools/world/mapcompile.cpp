// Compiling a Tiled map (JSON, CSV-style tile layers) and its tilesets into
// the game's map file. Every failure names the file and the place in it.
#include "worldmap.h"

#include <nlohmann/json.hpp>

#include <fstream>

using nlohmann::json;

namespace {

const uint32_t FLIPBITS = 0xf0000000u;  // Tiled's flip and rotation flags

std::string dirof(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string basename(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool loadjson(const std::string& path, json* out, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    try {
        *out = json::parse(in);
    } catch (const json::exception& e) {
        *error = path + ": not valid JSON: " + e.what();
        return false;
    }
    if (!out->is_object()) {
        *error = path + ": the top level is not a JSON object";
        return false;
    }
    return true;
}

// Reads an integer member; `where` names it in the error.
bool getint(const json& obj, const char* key, int* out, const std::string& where, std::string* error)
{
    const auto it = obj.find(key);
    if (it == obj.end() || !it->is_number_integer()) {
        *error = where + ": \"" + key + "\" is missing or not an integer";
        return false;
    }
    const long long v = it->get<long long>();
    if (v < -2147483647LL || v > 2147483647LL) {
        *error = where + ": \"" + key + "\" is out of range";
        return false;
    }
    *out = int(v);
    return true;
}

// Looks up a Tiled custom property; returns nullptr when absent.
const json* property(const json& obj, const std::string& name)
{
    const auto it = obj.find("properties");
    if (it == obj.end() || !it->is_array()) return nullptr;
    for (const json& p : *it)
        if (p.is_object() && p.value("name", "") == name && p.contains("value")) return &p["value"];
    return nullptr;
}

bool intproperty(const json& obj, const std::string& name, int lo, int hi, int* out,
                 const std::string& where, std::string* error)
{
    const json* v = property(obj, name);
    if (!v) return true;
    if (!v->is_number_integer() || v->get<long long>() < lo || v->get<long long>() > hi) {
        *error = where + ": property \"" + name + "\" must be an integer from " + std::to_string(lo) +
                 " to " + std::to_string(hi);
        return false;
    }
    *out = v->get<int>();
    return true;
}

bool parsetileset(const json& j, const std::string& where, const std::string& dir, Tileset* ts,
                  std::string* error)
{
    ts->name = j.value("name", "");
    if (!getint(j, "columns", &ts->columns, where, error) ||
        !getint(j, "tilecount", &ts->tilecount, where, error) ||
        !getint(j, "imagewidth", &ts->imagewidth, where, error) ||
        !getint(j, "imageheight", &ts->imageheight, where, error))
        return false;
    int tw = 0, th = 0;
    if (!getint(j, "tilewidth", &tw, where, error) || !getint(j, "tileheight", &th, where, error)) return false;
    if (tw != 32 || th != 32 || ts->columns != 16 || j.value("margin", 0) != 0 || j.value("spacing", 0) != 0) {
        *error = where + ": tiles must be 32x32 in 16 columns without margin or spacing";
        return false;
    }
    if (!j.contains("image") || !j["image"].is_string()) {
        *error = where + ": \"image\" is missing";
        return false;
    }
    ts->image = j["image"].get<std::string>();
    ts->imagepath = ts->image.empty() || ts->image[0] == '/' ? ts->image : dir + ts->image;
    ts->slot = -1;
    if (!intproperty(j, "slot", 0, 2, &ts->slot, where, error)) return false;
    if (ts->slot < 0) {
        *error = where + ": property \"slot\" (0 ground, 1 layers, 2 markers) is missing";
        return false;
    }
    if (ts->tilecount < 1 || ts->tilecount > 65536) {
        *error = where + ": tilecount " + std::to_string(ts->tilecount) + " is out of range";
        return false;
    }
    ts->stop.assign(size_t(ts->tilecount), false);
    ts->light.assign(size_t(ts->tilecount), 0);
    ts->radius.assign(size_t(ts->tilecount), 0);
    const auto tiles = j.find("tiles");
    if (tiles != j.end()) {
        if (!tiles->is_array()) {
            *error = where + ": \"tiles\" is not an array";
            return false;
        }
        for (const json& t : *tiles) {
            int id = -1;
            if (!t.is_object() || !getint(t, "id", &id, where + ": a tile", error)) return false;
            const std::string at = where + ": tile " + std::to_string(id);
            if (id < 0 || id >= ts->tilecount) {
                *error = at + " is outside the tileset's " + std::to_string(ts->tilecount) + " tiles";
                return false;
            }
            const json* stop = property(t, "stop");
            if (stop) {
                if (!stop->is_boolean()) {
                    *error = at + ": property \"stop\" must be a boolean";
                    return false;
                }
                ts->stop[size_t(id)] = stop->get<bool>();
            }
            if (!intproperty(t, "light", 0, 99, &ts->light[size_t(id)], at, error) ||
                !intproperty(t, "radius", 0, 12, &ts->radius[size_t(id)], at, error))
                return false;
        }
    }
    // The picture must be what the game can use: 512 wide, whole rows of cells.
    if (ts->slot == 2) return true;
    TgaPicture pic;
    if (!loadpicture(ts->imagepath, &pic, error)) {
        *error = where + ": atlas picture: " + *error;
        return false;
    }
    if (pic.width != 512 || pic.height % 32 != 0) {
        *error = where + ": atlas picture " + ts->image + " is " + std::to_string(pic.width) + "x" +
                 std::to_string(pic.height) + ", it must be 512 wide and a multiple of 32 high";
        return false;
    }
    if (pic.width != ts->imagewidth || pic.height != ts->imageheight || ts->tilecount != pic.height / 32 * 16) {
        *error = where + ": imagewidth, imageheight or tilecount do not match " + ts->image;
        return false;
    }
    if (ts->slot == 1 && pic.depth != 32) {
        *error = where + ": layer atlas " + ts->image + " needs an alpha channel (32 bits)";
        return false;
    }
    return true;
}

struct Layers {
    const json* ground = nullptr;
    const json* second = nullptr;
    const json* over = nullptr;
    const json* stop = nullptr;
    const json* light = nullptr;
};

bool readlayer(const json& layer, const std::string& where, const std::vector<Tileset>& sets, int want,
               const WorldMap& map, std::vector<int32_t>* grid, std::vector<LightSource>* lights,
               std::vector<int32_t>* stop, std::string* error)
{
    if (layer.value("type", "") != "tilelayer") {
        *error = where + ": must be a tile layer";
        return false;
    }
    if (layer.contains("encoding") && layer["encoding"] != "csv") {
        *error = where + ": save tile layers in the CSV format (plain integer arrays)";
        return false;
    }
    int w = 0, h = 0;
    if (!getint(layer, "width", &w, where, error) || !getint(layer, "height", &h, where, error)) return false;
    const auto data = layer.find("data");
    if (w != map.sizex || h != map.sizey || data == layer.end() || !data->is_array() ||
        data->size() != size_t(w) * size_t(h)) {
        *error = where + ": needs " + std::to_string(map.sizex) + "x" + std::to_string(map.sizey) +
                 " tiles in \"data\"";
        return false;
    }
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++) {
            const json& v = (*data)[size_t(r * w + c)];
            const std::string at = where + " cell (" + std::to_string(c) + ", " + std::to_string(r) + ")";
            if (!v.is_number_unsigned() || v.get<unsigned long long>() > 0xffffffffULL) {
                *error = at + ": not a tile number";
                return false;
            }
            const uint32_t gid = v.get<uint32_t>();
            if (gid & FLIPBITS) {
                *error = at + ": flipped or rotated tiles cannot be drawn by the game";
                return false;
            }
            if (gid == 0) {
                if (want == 0) {
                    *error = at + ": the ground layer has no empty cells";
                    return false;
                }
                continue;
            }
            const Tileset* ts = nullptr;
            for (const Tileset& s : sets)
                if (int(gid) >= s.firstgid && (!ts || s.firstgid > ts->firstgid)) ts = &s;
            if (!ts || int(gid) - ts->firstgid >= ts->tilecount) {
                *error = at + ": tile " + std::to_string(gid) + " is outside every tileset";
                return false;
            }
            const int id = int(gid) - ts->firstgid;
            if (want >= 0 && ts->slot != want) {
                *error = at + ": tile " + std::to_string(gid) + " comes from tileset \"" + ts->name +
                         "\", which does not belong to this layer";
                return false;
            }
            if (grid) (*grid)[size_t(r * MAPW + c)] = id;
            if (ts->stop[size_t(id)] || !grid) (*stop)[size_t(r * MAPW + c)] = 1;
            if (ts->light[size_t(id)] > 0)
                lights->push_back(LightSource{c, r, ts->light[size_t(id)], ts->radius[size_t(id)]});
        }
    return true;
}

bool readlights(const json& layer, const std::string& where, const WorldMap& map,
                std::vector<LightSource>* lights, std::string* error)
{
    if (layer.value("type", "") != "objectgroup" || !layer.contains("objects") || !layer["objects"].is_array()) {
        *error = where + ": must be an object layer";
        return false;
    }
    for (const json& o : layer["objects"]) {
        int id = 0;
        if (!o.is_object() || !getint(o, "id", &id, where + ": an object", error)) return false;
        const std::string at = where + " object " + std::to_string(id);
        if (!o.contains("x") || !o.contains("y") || !o["x"].is_number() || !o["y"].is_number()) {
            *error = at + ": needs a position";
            return false;
        }
        const double x = o["x"].get<double>(), y = o["y"].get<double>();
        if (!(x >= 0 && y >= 0 && x < map.sizex * 32.0 && y < map.sizey * 32.0)) {
            *error = at + ": lies outside the map";
            return false;
        }
        LightSource s{int(x) / 32, int(y) / 32, 0, 4};
        if (!intproperty(o, "light", 10, 99, &s.peak, at, error) ||
            !intproperty(o, "radius", 1, 12, &s.radius, at, error))
            return false;
        if (s.peak == 0) {
            *error = at + ": needs an integer property \"light\"";
            return false;
        }
        lights->push_back(s);
    }
    return true;
}

}  // namespace

bool readtileset(const std::string& path, Tileset* tileset, std::string* error)
{
    json j;
    return loadjson(path, &j, error) && parsetileset(j, path, dirof(path), tileset, error);
}

bool compilemap(const std::string& path, WorldMap* map, std::string* error)
{
    json j;
    if (!loadjson(path, &j, error)) return false;
    *map = WorldMap();
    int tw = 0, th = 0;
    if (!getint(j, "width", &map->sizex, path, error) || !getint(j, "height", &map->sizey, path, error) ||
        !getint(j, "tilewidth", &tw, path, error) || !getint(j, "tileheight", &th, path, error))
        return false;
    if (j.value("orientation", "") != "orthogonal" || tw != 32 || th != 32 || j.value("infinite", false)) {
        *error = path + ": the map must be orthogonal, finite, with 32x32 tiles";
        return false;
    }
    if (map->sizex < 1 || map->sizex > MAPW - 1 || map->sizey < 1 || map->sizey > MAPW - 1) {
        *error = path + ": map size " + std::to_string(map->sizex) + "x" + std::to_string(map->sizey) +
                 " is outside 1..198";
        return false;
    }
    if (!intproperty(j, "tset", 0, 1, &map->tset, path, error)) return false;

    std::vector<Tileset> sets;
    if (!j.contains("tilesets") || !j["tilesets"].is_array()) {
        *error = path + ": \"tilesets\" is missing";
        return false;
    }
    for (size_t i = 0; i < j["tilesets"].size(); i++) {
        const json& ref = j["tilesets"][i];
        const std::string where = path + ": tileset " + std::to_string(i);
        Tileset ts;
        if (!ref.is_object() || !getint(ref, "firstgid", &ts.firstgid, where, error)) return false;
        if (ts.firstgid < 1) {
            *error = where + ": firstgid must be at least 1";
            return false;
        }
        const int firstgid = ts.firstgid;
        if (ref.contains("source")) {
            if (!ref["source"].is_string()) {
                *error = where + ": \"source\" is not a file name";
                return false;
            }
            if (!readtileset(dirof(path) + ref["source"].get<std::string>(), &ts, error)) return false;
        } else if (!parsetileset(ref, where, dirof(path), &ts, error)) {
            return false;
        }
        ts.firstgid = firstgid;
        sets.push_back(ts);
    }
    // The atlases must be the ones the game loads for this map's tile set.
    static const char* const ATLAS[2][2] = {{"iso1.tga", "iso2.tga"}, {"luola1.tga", "luola2.tga"}};
    for (int slot = 0; slot < 2; slot++) {
        int found = 0;
        for (const Tileset& ts : sets)
            if (ts.slot == slot) {
                found++;
                if (basename(ts.imagepath) != ATLAS[map->tset][slot]) {
                    *error = path + ": tileset \"" + ts.name + "\" uses " + basename(ts.imagepath) +
                             ", tile set " + std::to_string(map->tset) + " loads " + ATLAS[map->tset][slot];
                    return false;
                }
            }
        if (found != 1) {
            *error = path + ": needs exactly one tileset with slot " + std::to_string(slot);
            return false;
        }
    }

    Layers layers;
    if (!j.contains("layers") || !j["layers"].is_array()) {
        *error = path + ": \"layers\" is missing";
        return false;
    }
    for (const json& layer : j["layers"]) {
        const std::string name = layer.is_object() ? layer.value("name", "") : "";
        const json** slot = name == "ground" ? &layers.ground : name == "second" ? &layers.second
                          : name == "over" ? &layers.over : name == "stop" ? &layers.stop
                          : name == "light" ? &layers.light : nullptr;
        if (!slot) {
            *error = path + ": unknown layer \"" + name + "\" (ground, second, over, stop, light)";
            return false;
        }
        if (*slot) {
            *error = path + ": layer \"" + name + "\" appears twice";
            return false;
        }
        *slot = &layer;
    }
    if (!layers.ground || !layers.second || !layers.over) {
        *error = path + ": the layers \"ground\", \"second\" and \"over\" are required";
        return false;
    }
    std::vector<LightSource> lights;
    const std::string lp = path + ": layer \"";
    if (!readlayer(*layers.ground, lp + "ground\"", sets, 0, *map, &map->tile, &lights, &map->stop, error) ||
        !readlayer(*layers.second, lp + "second\"", sets, 1, *map, &map->tile2, &lights, &map->stop, error) ||
        !readlayer(*layers.over, lp + "over\"", sets, 1, *map, &map->tile3, &lights, &map->stop, error))
        return false;
    if (layers.stop &&
        !readlayer(*layers.stop, lp + "stop\"", sets, -1, *map, nullptr, &lights, &map->stop, error))
        return false;
    if (layers.light && !readlights(*layers.light, lp + "light\"", *map, &lights, error)) return false;
    applylights(map->light, lights);
    return checkstory(*map, path, error);
}
