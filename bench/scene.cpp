// The shared scenes of the benchmarks and the frame dump.
#include "scene.h"

#include <cstdlib>

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

// Every slot empty, the hero new on his start tile, the globals as at start.
static void clearworld()
{
    for (int n = 0; n < SLOTS; n++) {
        Rig::neutral(n) = Neutral();
        Rig::monster(n) = Monster();
        Rig::corpse(n) = Corpse();
    }
    Rig::player() = Player(46, 9, 1);
    for (bool& k : key) k = false;
    score = finalscore = 0;
    lastmonster = lastneutral = -1;
    Camera.set(992, 0);
    worldsrand(1);
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
    clearworld();
    map.initscript();
    map.initscript();
    Rig::time() = 100;
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
    const int pc = 46, pr = 9;
    for (int ring = 1; ring < 40 && (monsters < SLOTS || neutrals < PLACESLOTS); ring++) {
        for (int r = pr - ring; r <= pr + ring; r++) {
            for (int c = pc - ring; c <= pc + ring; c++) {
                if (std::abs(c - pc) != ring && std::abs(r - pr) != ring) continue;
                if (!open(c, r)) continue;
                const int kind = turn++ % 3;   // a monster, a raider, a friend
                if ((kind == 0 || neutrals == PLACESLOTS) && monsters < SLOTS)
                    Rig::monster(monsters++).put(c, r, 1, 1, 1);
                else if (neutrals < PLACESLOTS)
                    Rig::neutral(neutrals++).put(c, r, 1, kind == 1 ? 1 : 2, kind == 1 ? 1 : 0);
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

void keepgoing()
{
    Rig::player().healt = 100;
    if (Rig::time() > 1300) Rig::time() = 100;
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

static void hexfloat(FILE* out, const char* name, float v)
{
    std::fprintf(out, " %s=%a", name, (double)v);
}

void Rig::dumphahmo(FILE* out, Hahmo& h)
{
    hexfloat(out, "healtfade", h.healtfade);
    hexfloat(out, "angle", h.angle);
    hexfloat(out, "mx", h.mx);
    hexfloat(out, "my", h.my);
    std::fprintf(out, " target=%d frame=%d side=%d counter=%d inv=%d invcounter=%d invcolor=%d",
                 h.target, h.frame, h.side, h.counter, h.invulnerability, h.invcounter, h.invcolor);
    hexfloat(out, "x", h.x);
    hexfloat(out, "y", h.y);
    hexfloat(out, "nx", h.nx);
    hexfloat(out, "ny", h.ny);
    hexfloat(out, "forcex", h.forcex);
    hexfloat(out, "forcey", h.forcey);
    std::fprintf(out, " static=%d,%d d=%d map=%d,%d", h.staticx, h.staticy, h.d, h.mapx, h.mapy);
    hexfloat(out, "healt", h.healt);
}

void Rig::dumpweapon(FILE* out, Weapon& w)
{
    std::fprintf(out, " swordhit=%d swordd=%d", w.swordhit, w.swordd);
    hexfloat(out, "swordfade", w.swordfade);
    hexfloat(out, "sworda", w.sworda);
    hexfloat(out, "swordb", w.swordb);
}

void Rig::dump(FILE* out)
{
    std::fprintf(out, "world time=%d roll=%d,%d status=%d tset=%d camera=%d,%d", map.time, map.rollx,
                 map.rolly, map.status, map.tset, Camera.x, Camera.y);
    hexfloat(out, "cnx", Camera.nx);
    hexfloat(out, "cny", Camera.ny);
    hexfloat(out, "night", night);
    std::fprintf(out, " score=%d finalscore=%d ntexture=%d last=%d,%d keys=", score, finalscore,
                 NTEXTURE, lastmonster, lastneutral);
    for (bool k : key) std::fputc(k ? '1' : '0', out);
    std::fprintf(out, "\nplayer");
    dumphahmo(out, map.player);
    dumpweapon(out, map.player);
    std::fputc('\n', out);
    for (int n = 0; n < SLOTS; n++) {
        Neutral& e = map.neutral[n];
        std::fprintf(out, "neutral %d type=%d od=%d movecounter=%d hostile=%d", n, e.type, e.od,
                     e.movecounter, e.hostile);
        dumphahmo(out, e);
        dumpweapon(out, e);
        std::fputc('\n', out);
    }
    for (int n = 0; n < SLOTS; n++) {
        Monster& m = map.monster[n];
        std::fprintf(out, "monster %d type=%d movecounter=%d", n, m.type, m.movecounter);
        dumphahmo(out, m);
        std::fputc('\n', out);
    }
    for (int n = 0; n < SLOTS; n++) {
        Corpse& c = map.corpse[n];
        std::fprintf(out, "corpse %d type=%d at=%d,%d map=%d,%d d=%d", n, c.type, c.x, c.y, c.mapx,
                     c.mapy, c.d);
        hexfloat(out, "decay", c.decay);
        std::fputc('\n', out);
    }
}

static Player keptplayer(46, 9, 1);
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
