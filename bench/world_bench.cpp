// How long one world update and one drawn frame take, with the world as the
// game starts it and with every character slot filled. Run from the
// project's root (it reads kuurakarpalo.map and DATA/) with an X display:
//   build/bench/kuurakarpalo_bench
#include "main.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

// The benchmark's own view of the script clock, to keep the script's
// messages, which wait for a key, out of the measured frames.
struct Rig {
    static int& time() { return map.time; }
    static float& healt() { return map.player.healt; }
};

static bool openwindow()
{
    static bool open = false;
    if (open) return true;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, SDL_OPENGL)) return false;
    init_GL();
    LoadTextures();
    map.loadtextures();
    BuildFont();
    open = true;
    return true;
}

// The start of the game, or every placeable slot filled with fighters
// around the start village.
static void populate(bool full)
{
    static bool opened = false;
    if (!opened) map.open(MAPFILE);
    opened = true;
    srand(1);
    map.initscript();
    if (full) {
        for (int n = 0; n < PLACESLOTS; n++) {
            putenemy(2, 40 + n % 12, 8 + n % 5);
            putenemy(1, 42 + n % 10, 6 + n % 6);
        }
    }
    Rig::time() = 100;
}

static void updates(benchmark::State& state)
{
    populate(state.range(0) != 0);
    for (auto _ : state) {
        Rig::healt() = 100;            // the hero never dies here
        if (Rig::time() > 1300) Rig::time() = 100;
        map.control();
    }
    state.SetLabel(state.range(0) ? "every slot filled" : "as the game starts");
}
BENCHMARK(updates)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

static void drawing(benchmark::State& state)
{
    if (!openwindow()) {
        state.SkipWithError("no OpenGL window (is DISPLAY set?)");
        return;
    }
    populate(state.range(0) != 0);
    Camera.set(992, 0);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        map.show();
        glPrint(760, 700, "Pisteet:", 0, 0);
        glFinish();
    }
    state.SetLabel(state.range(0) ? "every slot filled" : "as the game starts");
}
BENCHMARK(drawing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
