// Writes map files through the game's own writer, so no script spells out the format:
//
//   mapfile new OUT WIDTH HEIGHT [C,R ...]   an open map in full daylight
//                                            with the listed cells blocked
//   mapfile block IN OUT C,R ...             a copy of IN with the cells blocked
//
// Sizes are written as given, even ones the game refuses.
#include "main.h"
#include "mapfile.h"
#include "options.h"

#include <cstdlib>
#include <memory>

// Blocks the cells "C,R" given in args.
static bool block(MapData& data, int count, char* args[])
{
    for (int i = 0; i < count; i++) {
        int c, r;
        char end;
        if (std::sscanf(args[i], "%d,%d%c", &c, &r, &end) != 2 || c < 0 || r < 0 || c >= MAPW || r >= MAPW) {
            std::fprintf(stderr, "mapfile: \"%s\" is not a cell C,R inside the grid\n", args[i]);
            return false;
        }
        data.stop[r * MAPW + c] = 1;
    }
    return true;
}

int main(int argc, char* argv[])
{
    auto data = std::make_unique<MapData>();
    const char* out;
    if (argc >= 5 && std::string(argv[1]) == "new") {
        out = argv[2];
        data->sizex = std::atoi(argv[3]);
        data->sizey = std::atoi(argv[4]);
        for (int& l : data->light) l = DAYLIGHT;
        if (!block(*data, argc - 5, argv + 5)) return 1;
    } else if (argc >= 4 && std::string(argv[1]) == "block") {
        out = argv[3];
        if (const char* wrong = readmap(argv[2], *data, nullptr)) {
            std::fprintf(stderr, "mapfile: %s %s\n", argv[2], wrong);
            return 1;
        }
        if (!block(*data, argc - 4, argv + 4)) return 1;
    } else {
        std::fprintf(stderr, "usage: mapfile new OUT WIDTH HEIGHT [C,R ...]\n"
                             "       mapfile block IN OUT C,R ...\n");
        return 2;
    }
    std::string error;
    if (!writemap(out, *data, error)) {
        std::fprintf(stderr, "mapfile: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
