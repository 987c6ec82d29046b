// Compiles the Tiled level into the game's map file.
//
// Usage: worldmapc <map.json> <output.map>
// Exit code 0 on success, 1 with a message naming the file and place when the
// sources are broken, 2 on a usage error.
#include "worldmap.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <map.json> <output.map>\n", argv[0]);
        return 2;
    }
    WorldMap map;
    std::string error;
    if (!compilemap(argv[1], &map, &error) || !writemapfile(argv[2], map, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
