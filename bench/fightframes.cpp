// The full fight, frame by frame: the world's update and its drawing timed
// apart, the drawing to its end (one pixel read back, which waits for every
// quad: WebGL's glFinish does not), so that the web build and the native one
// can be set side by side with the same scene and the same code; and one
// textured quad over the whole screen, what the rasteriser alone costs.
//   fightframes [FRAMES]     400 unless given; prints one line a figure
#include "scene.h"
#include "font.h"
#include "options.h"
#include "textures.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

static double now()
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The median, the lowest and the highest of times, in microseconds.
static void report(const char* what, std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    std::printf("%s median %.1f us (min %.1f, p90 %.1f, max %.1f)\n", what, t[t.size() / 2], t.front(),
                t[t.size() * 9 / 10], t.back());
}

int main(int argc, char* argv[])
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 400;
    if (frames < 1) return 2;
    options.sound = false;
    if (!openwindow()) return 1;
    fullscene();
    std::vector<double> update, draw;
    char fp[SCORETEXT];
    for (int f = 0; f < frames; f++) {
        keepgoing();
        walkkeys(f);
        const double t0 = now();
        map.control();
        const double t1 = now();
        glClear(GL_COLOR_BUFFER_BIT);
        map.show();
        scoretext(score, fp);
        glPrint(760, 700, "Pisteet:", 0, 0);
        glPrint(920, 700, fp, 0, 1);
        unsigned char pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        const double t2 = now();
        SDL_GL_SwapBuffers();
        update.push_back(t1 - t0);
        draw.push_back(t2 - t1);
    }
    report("update", update);
    report("draw", draw);
    std::vector<double> both(frames);
    for (int f = 0; f < frames; f++) both[f] = update[f] + draw[f];
    report("frame", both);

    // What the rasteriser alone costs: one textured quad over the whole
    // screen, as the ground layer covers it, drawn and read back.
    std::vector<double> fill;
    for (int f = 0; f < 60; f++) {
        const double t0 = now();
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        bindtexture(TEXGROUND);
        glColor4f(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2i(0, 0);
        glTexCoord2f(1, 0);
        glVertex2i(SCREEN_WIDTH, 0);
        glTexCoord2f(1, 1);
        glVertex2i(SCREEN_WIDTH, SCREEN_HEIGHT);
        glTexCoord2f(0, 1);
        glVertex2i(0, SCREEN_HEIGHT);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        unsigned char pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        fill.push_back(now() - t0);
        SDL_GL_SwapBuffers();
    }
    report("screen", fill);
    SDL_Quit();
    return 0;
}
