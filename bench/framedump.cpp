// Writes reference frames and the world's state, so that two builds of the
// game can be shown to draw the same pixels and to leave the same numbers.
// Run from the project's root with an X display:
//   framedump scenes DIR     every frame of the reference scenes as raw
//                            RGBA (DIR/NAME.rgba, 1024 by 768 each, bottom
//                            row first) and the state after each frame
//                            (DIR/NAME.state)
//   framedump world N FILE   N world updates of the full scene with a fixed
//                            walk, drawn every fourth frame; the state every
//                            1,000 frames and at the end into FILE
// Compare two runs with cmp; bench/samepixels does the whole round.
#include "scene.h"
#include "font.h"
#include "layer.h"
#include "messagebox.h"
#include "options.h"
#include "recording.h"
#include "world.h"

#include <cstdlib>
#include <string>

static unsigned char pixels[SCREEN_WIDTH * SCREEN_HEIGHT * 4];

// One frame as the main loop draws it, without the swap.
static void drawframe()
{
    char fp[SCORETEXT];
    glClear(GL_COLOR_BUFFER_BIT);
    map.show();
    scoretext(score, fp);
    glPrint(760, 700, "Pisteet:", 0, 0);
    glPrint(920, 700, fp, 0, 1);
}

struct Output {
    FILE* frames;
    FILE* state;
    int count = 0;

    Output(const std::string& dir, const char* name)
    {
        frames = std::fopen((dir + "/" + name + ".rgba").c_str(), "wb");
        state = std::fopen((dir + "/" + name + ".state").c_str(), "w");
        if (!frames || !state) {
            std::fprintf(stderr, "framedump: cannot write into %s\n", dir.c_str());
            std::exit(1);
        }
    }
    ~Output()
    {
        std::fclose(frames);
        std::fclose(state);
    }
    // The back buffer as drawn, and the state after the drawing.
    void take()
    {
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        std::fwrite(pixels, 1, sizeof pixels, frames);
        std::fprintf(state, "frame %d\n", count++);
        Rig::dump(state);
    }
};

// frames updates with the fixed walk; night, when not negative, stands in
// for the script's darkness while drawing.
static void play(Output& out, int frames, float darkness)
{
    for (int f = 0; f < frames; f++) {
        keepgoing();
        walkkeys(f);
        map.control();
        if (darkness >= 0) night = darkness;
        drawframe();
        out.take();
    }
}

// Every box frame of the free-running world: two presses of space, which
// show a box whole and close it in its first frame.
static void answer(bool boxframe)
{
    if (!boxframe) return;
    pushkey(SDLK_SPACE);
    pushkey(SDLK_SPACE);
}

static void scenes(const std::string& dir)
{
    const float nights[3] = {0.0f, (float)(1 / 3.5), 1.0f};
    const char* const names[3] = {"day", "dusk", "night"};
    for (int i = 0; i < 3; i++) {
        Output start(dir, (std::string("start-") + names[i]).c_str());
        startscene();
        play(start, 24, nights[i]);
        Output full(dir, (std::string("full-") + names[i]).c_str());
        fullscene();
        play(full, 40, nights[i]);
    }

    // Corpses of every kind and both ways round across the screen, some
    // about to vanish, drawn without updates.
    {
        Output out(dir, "corpses");
        startscene();
        for (int n = 0; n < 60; n++) putcorpse(1 + n % 3, 992 + 17 * (n % 12) * 5, 40 + 70 * (n / 12) + n);
        for (int n = 50; n < 60; n++)
            for (int k = 0; k < 1995; k++) drawalone(Rig::corpse(n));
        night = 0.5f;
        for (int f = 0; f < 8; f++) {
            drawframe();
            out.take();
        }
    }

    // A later moment of the full fight: corpses, fading bars, fewer fighters.
    {
        Output out(dir, "late");
        fightfor(300);
        play(out, 20, -1);
    }

    // A message box over the fight: typing, then every line at once.
    {
        Output out(dir, "box");
        fightfor(20);
        inputfeeder = nullptr;   // this box is the scene's own
        const char* const lines[8] = {"On koston aika!", "Teurastakaa ne kaikki!", "", "", "", "", "", "Loppu"};
        Box box;
        boxopen(box, lines, false, 1);
        for (int f = 0; f < 30; f++) {
            if (f == 20) pushkey(SDLK_SPACE);
            boxframe(box);   // its swap copies the back buffer out and keeps it
            out.take();
        }
    }
}

// The free-running world: the script's clock runs on through day and night,
// and every message box of the story is closed in its first frame.
static void world(int frames, const char* path)
{
    FILE* out = std::fopen(path, "w");
    if (!out) {
        std::fprintf(stderr, "framedump: cannot write %s\n", path);
        std::exit(1);
    }
    fullscene();
    inputfeeder = answer;
    for (int f = 0; f < frames; f++) {
        Rig::player().healt = 100;
        walkkeys(f);
        map.control();
        if (f % 4 == 0) drawframe();
        if ((f + 1) % 1000 == 0 || f + 1 == frames) {
            std::fprintf(out, "after %d frames\n", f + 1);
            Rig::dump(out);
        }
    }
    std::fprintf(out, "next rand %d\n", worldrand());
    std::fclose(out);
}

int main(int argc, char* argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "scenes" && argc == 3) || (mode == "world" && argc == 4))) {
        std::fprintf(stderr, "usage: framedump scenes DIR | framedump world FRAMES FILE\n");
        return 2;
    }
    if (!openwindow()) return 1;
    if (mode == "scenes")
        scenes(argv[2]);
    else
        world(std::atoi(argv[2]), argv[3]);
    SDL_Quit();
    return 0;
}
