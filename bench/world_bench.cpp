// How long one world update and one drawn frame take, with the world as the
// game starts it and with every character slot filled. Run from the
// project's root with an X display; bench/run runs it with the others.
#include "scene.h"

#include <benchmark/benchmark.h>

static void updates(benchmark::State& state)
{
    if (state.range(0))
        fullscene();
    else
        startscene();
    int f = 0;
    for (auto _ : state) {
        keepgoing();
        walkkeys(f++);
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
    if (state.range(0))
        fullscene();
    else
        startscene();
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
