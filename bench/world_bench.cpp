// The world update and the drawing of one frame. Run from the project's
// root with an X display; bench/run runs it with the other measurements and
// prints every figure with its spread.
//   updates/0          one world update as the game starts
//   updates/1          one world update with every slot filled and fighting
//   drawing/D          Map::show and the score line of the full fight, by
//                      day (D 0) or at deepest night (D 1), until glFinish
//   minimal/D          the same quads, gathered once and sent in the
//                      fewest batches: what the drawing cannot go below
//   apart/D            the same quads, each a draw of its own as the game
//                      must send them to keep llvmpipe's pixels: what the
//                      drawing cannot go below without changing a pixel
#include "quads.h"
#include "scene.h"
#include "font.h"
#include "games.h"
#include "language.h"
#include "options.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

static double least(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

static double most(const std::vector<double>& v)
{
    return *std::max_element(v.begin(), v.end());
}

// Frames after which the full fight is set up again: by then a few have
// fallen, and the load stays near full.
const int REFILL = 50;

static void updates(benchmark::State& state)
{
    const bool full = state.range(0) != 0;
    full ? fullscene() : startscene();
    int f = 0;
    for (auto _ : state) {
        if (full && f > 0 && f % REFILL == 0) {
            state.PauseTiming();
            fullscene();
            state.ResumeTiming();
        }
        keepgoing();
        walkkeys(f++);
        map.control();
    }
    state.SetLabel(full ? "99 monsters and 97 neutrals fighting" : "as the game starts");
}

// The full fight 20 frames in: swords in mid-swing, flashes, health bars,
// the first corpses; then frozen at the given darkness.
static bool fightscene(benchmark::State& state)
{
    if (!openwindow()) {
        state.SkipWithError("no OpenGL window (is DISPLAY set?)");
        return false;
    }
    fightfor(20);
    night = state.range(0) ? 1.0f : 0.0f;
    Rig::keep();
    return true;
}

static void drawing(benchmark::State& state)
{
    if (!fightscene(state)) return;
    char fp[SCORETEXT];
    for (auto _ : state) {
        state.PauseTiming();
        Rig::restore();
        state.ResumeTiming();
        glClear(GL_COLOR_BUFFER_BIT);
        map.show();
        scoretext(score, fp);
        glPrint(760, 700, "Pisteet:", 0, 0);
        glPrint(920, 700, fp, 0, 1);
        glFinish();
    }
    state.SetLabel(state.range(0) ? "night" : "day");
}

static void gathered(benchmark::State& state, bool apart)
{
    if (!fightscene(state)) return;
    const std::vector<QuadRun> runs = gatherquads();
    for (auto _ : state) {
        state.PauseTiming();
        Rig::restore();
        state.ResumeTiming();
        glClear(GL_COLOR_BUFFER_BIT);
        sendquads(runs, apart);
        glFinish();
    }
    state.counters["quads"] = countquads(runs);
    state.SetLabel(state.range(0) ? "night" : "day");
}

static void minimal(benchmark::State& state)
{
    gathered(state, false);
}

static void apart(benchmark::State& state)
{
    gathered(state, true);
}

static void figures(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", least)->ComputeStatistics("max", most);
}

BENCHMARK(updates)->Arg(0)->Arg(1)->Apply(figures);
// The drawing's CPU time counts llvmpipe's rasterising threads too.
BENCHMARK(drawing)->Arg(0)->Arg(1)->Apply(figures)->MeasureProcessCPUTime();
BENCHMARK(minimal)->Arg(0)->Arg(1)->Apply(figures)->MeasureProcessCPUTime();
BENCHMARK(apart)->Arg(0)->Arg(1)->Apply(figures)->MeasureProcessCPUTime();

// The frame's length goes into the report's context, for bench/run's share
// of a frame.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::AddCustomContext("frame_ms", std::to_string(FRAMEMS));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
