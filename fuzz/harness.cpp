// The fuzz targets' world: no window, boxes answered, one known state before
// each input so that an input always plays alike.
#include "harness.h"
#include "display.h"
#include "input.h"
#include "messagebox.h"
#include "world.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

// Space in every box frame: the first shows the whole box, the next closes it.
static void answer(bool boxframe)
{
    if (boxframe) pushkey(SDLK_SPACE);
}

const std::string& scratch()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/kuurakarpalo-fuzz-XXXXXX";
        expect(mkdtemp(pattern) != nullptr, "cannot make a scratch directory");
        dir = std::string(pattern) + "/";
        std::atexit([] { std::filesystem::remove_all(dir); });
    }
    return dir;
}

void freshworld()
{
    static bool opened = false;
    if (!opened) {
        opened = true;
        if (access("DATA", F_OK) == 0) {
            std::fprintf(stderr, "fuzz: run from a directory without DATA/, or every map read keeps its pictures\n");
            std::exit(1);
        }
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, 0)) {
            std::fprintf(stderr, "fuzz: cannot start SDL's dummy video: %s\n", SDL_GetError());
            std::exit(1);
        }
        options = Options{};
        options.sound = false;
        fastframes = true;
        inputfeeder = answer;
    }
    emptyworld();
    SDL_Event e;
    while (SDL_PollEvent(&e)) continue;
}

const char* playmap(const unsigned char* bytes, size_t size, const MapData** taken)
{
    static auto parsed = std::make_unique<MapData>();
    if (const char* wrong = parsemap(bytes, size, *parsed)) return wrong;
    freshworld();
    map.open(*parsed, "fuzz.map");
    // Sixteen frames each way: right, down, left, up; a swing in the ninth.
    static const int round[4] = {KEYRIGHT, KEYDOWN, KEYLEFT, KEYUP};
    for (int f = 0; f < 100; f++) {
        for (int i = KEYUP; i <= KEYRIGHT; i++) key[i] = i == round[f / 16 % 4];
        key[KEYSPACE] = f % 16 == 8;
        map.control();
    }
    if (taken) *taken = parsed.get();
    return nullptr;
}
