// The entry function: find the data, open everything, run frames until the
// game ends, close.
#include "main.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    bool quit = false;

    // --data DIR names the data directory; other arguments are left alone.
    const char* datadir = nullptr;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--data") != 0) continue;
        if (i + 1 == argc) {
            std::fprintf(stderr, "kuurakarpalo: --data needs a directory\n");
            return 2;
        }
        datadir = argv[++i];
    }
    if (!enterdatadir(datadir)) return 1;
    // A map file that cannot be read ends the program here, before any window.
    map.open(MAPFILE);

    if (!init()) return 1;
    startup();
    while (!quit) quit = runframe();
    clean_up();
    return 0;
}
