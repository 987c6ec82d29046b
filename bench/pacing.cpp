// The paced frame loop as the game runs it: init, start-up, then runframe()
// after runframe(), each waiting out its FRAMEMS milliseconds. Prints the
// spread of the intervals between frame ends, the processor time over the wall time
// (llvmpipe's threads included) and the peak memory. The hero walks the
// fixed round of the benchmarks and swings; he cannot die, and the script's
// clock stays clear of its messages, which would wait for a key.
//   pacing [FRAMES]   from the project's root, with an X display
#include "scene.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

static double seconds(const timespec& t)
{
    return t.tv_sec + t.tv_nsec / 1e9;
}

static double cpuseconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

// The fixed walk as the keyboard would send it: an arrow goes down or up
// when the walk changes, space goes down on a swing.
static void pushwalk(int f)
{
    static const SDLKey keys[5] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
    for (int k = 0; k < 5; k++) {
        const bool down = walkkey(f, k);
        if (k < 4 && down == walkkey(f - 1, k)) continue;
        if (k == 4 && !down) continue;
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = keys[k];
        SDL_PushEvent(&e);
    }
}

int main(int argc, char* argv[])
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 400;
    if (frames < 2) {
        std::fprintf(stderr, "usage: pacing [FRAMES of at least 2]\n");
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!openworld()) return 1;
    if (!init()) {
        std::fprintf(stderr, "pacing: cannot open the game's window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    startup();
    Rig::time() = 100;

    std::vector<double> ends;
    ends.reserve(frames + 1);
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    ends.push_back(seconds(t));
    const double cpu0 = cpuseconds();
    for (int f = 0; f < frames; f++) {
        keepgoing();
        pushwalk(f);
        runframe();
        clock_gettime(CLOCK_MONOTONIC, &t);
        ends.push_back(seconds(t));
    }
    const double cpu = cpuseconds() - cpu0;
    const double wall = ends.back() - ends.front();

    std::vector<double> ms;
    for (size_t i = 1; i < ends.size(); i++) ms.push_back((ends[i] - ends[i - 1]) * 1000);
    double mean = 0, var = 0;
    for (double v : ms) mean += v;
    mean /= ms.size();
    for (double v : ms) var += (v - mean) * (v - mean);
    const double stddev = std::sqrt(var / (ms.size() - 1));
    std::sort(ms.begin(), ms.end());
    const auto quantile = [&](double q) { return ms[(size_t)std::ceil(q * ms.size()) - 1]; };
    const double near =
        std::count_if(ms.begin(), ms.end(), [](double v) { return v >= FRAMEMS - 1 && v <= FRAMEMS + 1; });
    rusage u{};
    getrusage(RUSAGE_SELF, &u);

    std::printf("frames %d\n", frames);
    std::printf("interval_ms mean %.3f stddev %.3f min %.3f max %.3f p99 %.3f\n", mean, stddev, ms.front(),
                ms.back(), quantile(0.99));
    std::printf("interval_ms median %.3f p25 %.3f p75 %.3f; %.1f %% within %d..%d ms\n", quantile(0.5),
                quantile(0.25), quantile(0.75), 100 * near / ms.size(), FRAMEMS - 1, FRAMEMS + 1);
    std::printf("cpu_over_wall %.3f (cpu %.3f s, wall %.3f s)\n", cpu / wall, cpu, wall);
    std::printf("peak_rss_mb %.1f\n", u.ru_maxrss / 1024.0);
    clean_up();
    return 0;
}
