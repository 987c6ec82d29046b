// The shared scenes of the benchmarks and the frame dump.
#include "scene.h"
#include "datadir.h"
#include "font.h"
#include "mapfile.h"
#include "messagebox.h"
#include "textures.h"
#include "world.h"

#include <cstdlib>
#include <type_traits>

// The game's own init(), so that the GL context has the game's buffers:
// with a depth buffer llvmpipe draws every quad as two triangles, never
// through its rectangle shortcut.
bool openwindow()
{
    static bool open = false;
    if (open) return true;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!openworld()) return false;
    if (!init()) {
        std::fprintf(stderr, "cannot open the game's window: %s (is DISPLAY set?)\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    LoadTextures();
    map.loadtextures();
    BuildFont();
    open = true;
    return true;
}

bool openworld()
{
    static bool open = false;
    if (!open && !enterdatadir(nullptr)) return false;
    if (!open) map.open(MAPFILE);
    open = true;
    return true;
}

void startscene()
{
    if (!openworld()) std::exit(1);
    emptyworld();
    map.initscript();
    map.initscript();
    Rig::time() = 100;
    Rig::rollx() = STARTVIEWX / TILE;
    Rig::rolly() = STARTVIEWY / TILE;
    night = 0;
}

// Whether a body standing on tile (c, r) can move: its probes reach into
// the row below.
static bool open(int c, int r)
{
    return c >= 0 && r >= 0 && c < Rig::sizex() && r + 1 < Rig::sizey() &&
           stop[r * MAPW + c] == 0 && stop[(r + 1) * MAPW + c] == 0;
}

void fullscene()
{
    startscene();
    for (int n = 0; n < SLOTS; n++) Rig::neutral(n).settype(0);
    for (int n = 0; n < SLOTS; n++) Rig::monster(n).settype(0);

    int monsters = 0, neutrals = 0, turn = 0;
    const int pc = PLAYERSTART.c, pr = PLAYERSTART.r;
    for (int ring = 1; ring < 40 && (monsters < SLOTS || neutrals < PLACESLOTS); ring++) {
        for (int r = pr - ring; r <= pr + ring; r++) {
            for (int c = pc - ring; c <= pc + ring; c++) {
                if (std::abs(c - pc) != ring && std::abs(r - pr) != ring) continue;
                if (!open(c, r)) continue;
                const int kind = turn++ % 3;   // a monster, a raider, a friend
                if ((kind == 0 || neutrals == PLACESLOTS) && monsters < SLOTS)
                    Rig::monster(monsters++).put(c, r, 1, MONSTER, ENEMYSIDE);
                else if (neutrals < PLACESLOTS)
                    Rig::neutral(neutrals++).put(c, r, 1, kind == 1 ? RAIDER : FRIEND,
                                                 kind == 1 ? ENEMYSIDE : PLAYERSIDE);
            }
        }
    }
    // Measured on fewer, the figures would say nothing about a full world.
    if (monsters < SLOTS || neutrals < PLACESLOTS) {
        std::fprintf(stderr, "the full fight found room for only %d monsters and %d neutrals\n", monsters,
                     neutrals);
        std::exit(1);
    }
}

// A box frame inside a measured update.
static void stopatbox(bool boxframe)
{
    if (!boxframe) return;
    std::fprintf(stderr, "bench: the story opened a message box at script frame %d, which keepgoing() "
                 "should keep the clock away from\n", Rig::time());
    SDL_Quit();
    std::exit(1);
}

void keepgoing()
{
    Rig::player().healt = 100;
    if (Rig::time() > WARNINGFRAME - 100) Rig::time() = 100;
    inputfeeder = stopatbox;
}

void fightfor(int frames)
{
    fullscene();
    for (int f = 0; f < frames; f++) {
        keepgoing();
        walkkeys(f);
        map.control();
    }
}

bool walkkey(int f, int k)
{
    static const int walk[5] = {0, 3, 1, 2, -1};   // up, right, down, left, stand
    if (k == 4) return f % 9 == 0;
    return f >= 0 && walk[f / 40 % 5] == k;
}

void walkkeys(int f)
{
    for (int k = 0; k < 5; k++) key[k] = walkkey(f, k);
}

void Rig::dump(FILE* out)
{
    std::fprintf(out, "world time=%d roll=%d,%d status=%d tset=%d camera=%d,%d", map.time, map.rollx,
                 map.rolly, map.status, map.tset, Camera.x, Camera.y);
    std::fprintf(out, " cnx=%a cny=%a night=%a", (double)Camera.nx, (double)Camera.ny, (double)night);
    std::fprintf(out, " score=%d finalscore=%d ntexture=%d last=%d,%d keys=", score, finalscore, NTEXTURE,
                 lastmonster, lastneutral);
    for (bool k : key) std::fputc(k ? '1' : '0', out);
    std::fputc('\n', out);
    map.records([out](const char* kind, int slot, auto& record) {
        std::fprintf(out, "%s %d", kind, slot);
        record.fields([out](const char* name, auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, float>)
                std::fprintf(out, " %s=%a", name, (double)field);
            else
                std::fprintf(out, " %s=%d", name, field);
        });
        std::fputc('\n', out);
    });
}

static Player keptplayer(PLAYERSTART.c, PLAYERSTART.r, 1);
static Neutral keptneutral[SLOTS];
static Monster keptmonster[SLOTS];
static Corpse keptcorpse[SLOTS];

void Rig::keep()
{
    keptplayer = map.player;
    for (int n = 0; n < SLOTS; n++) {
        keptneutral[n] = map.neutral[n];
        keptmonster[n] = map.monster[n];
        keptcorpse[n] = map.corpse[n];
    }
}

void Rig::restore()
{
    map.player = keptplayer;
    for (int n = 0; n < SLOTS; n++) {
        map.neutral[n] = keptneutral[n];
        map.monster[n] = keptmonster[n];
        map.corpse[n] = keptcorpse[n];
    }
}
