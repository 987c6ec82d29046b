// The soak: the game's own frame (runframe) run with random keys, the slots
// kept full and the hero alive, the world's invariants checked every frame.
//
//   soak [--frames N] [--seed S] [--window] [--spoil F]
//
// N world frames (50,000); S seeds the soak's keys and arrivals, not
// worldrand(). Without --window the drawing runs on SDL's dummy driver
// without OpenGL, keeping its state as in the game. --spoil F, a check of
// the checks, puts a NaN into the first live monster after frame F. Exit
// codes: 0 all held; 1 the game cannot start; 2 a wrong command line; 3 after
// one line naming the frame and the invariant that broke.
#include "datadir.h"
#include "display.h"
#include "frame.h"
#include "input.h"
#include "layer.h"
#include "main.h"
#include "mapfile.h"
#include "messagebox.h"
#include "options.h"
#include "recording.h"
#include "textures.h"
#include "world.h"
#include "rigaccess.h"
#include "rng.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

// The records' friend, with the accessors the tests share.
struct Rig {
    RIGACCESS
};

namespace {

Rng rng(1);
long worldframe;        // world frames begun
long boxframes;         // box frames answered
long arrivals;          // characters the soak placed
long heals;             // times the hero's health was reset
int lastscore;          // the score after the frame before

// World frames: an arrow or two held for 2 to 12 frames, space in one frame
// of three. Box frames: space now and then, so a box is typed out a while.
void feeder(bool boxframe)
{
    if (boxframe) {
        boxframes++;
        if (rng.below(6) == 0) pushkey(SDLK_SPACE, true);
        return;
    }
    worldframe++;
    static int held;
    static bool want[4];
    if (held-- <= 0) {
        held = 2 + rng.below(11);
        const int way = rng.below(9);   // none, four straight, four diagonal
        for (int i = 0; i < 4; i++) want[i] = way == i + 1;
        if (way >= 5) want[way <= 6 ? 0 : 1] = want[way % 2 == 1 ? 2 : 3] = true;
    }
    static const SDLKey arrows[4] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    for (int i = 0; i < 4; i++)
        if (want[i] != key[i]) pushkey(arrows[i], want[i]);
    if (rng.below(3) == 0) pushkey(SDLK_SPACE, true), pushkey(SDLK_SPACE, false);
}

// The ground: every open tile the hero can walk to from his start.
std::vector<char> reachable(MAPCELLS);
std::vector<int> ground;

bool inside(int c, int r)
{
    return c >= 0 && c < MAPW && r >= 0 && r < MAPW;
}

void findground()
{
    ground = {PLAYERSTART.r * MAPW + PLAYERSTART.c};
    reachable[ground[0]] = 1;
    for (size_t i = 0; i < ground.size(); i++) {
        const int c = ground[i] % MAPW, r = ground[i] / MAPW;
        const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
        for (const auto& n : next) {
            const int cell = n[1] * MAPW + n[0];
            if (!inside(n[0], n[1]) || reachable[cell] || stop[cell] != 0) continue;
            reachable[cell] = 1;
            ground.push_back(cell);
        }
    }
}

// Whether a reachable open tile lies within two tiles of cell (c, r): as far
// as a knockback may carry a body past the edge of the open ground.
bool nearground(int c, int r)
{
    for (int y = r - 2; y <= r + 2; y++)
        for (int x = c - 2; x <= c + 2; x++)
            if (inside(x, y) && reachable[y * MAPW + x]) return true;
    return false;
}

// A random reachable tile: often within 12 tiles of the hero, else anywhere.
void placetile(int& c, int& r)
{
    const int hc = (playerx() + 16) / TILE, hr = (playery() + 16) / TILE;
    for (int tries = 0; tries < 20 && rng.below(2) == 0; tries++) {
        c = hc - 12 + rng.below(25);
        r = hr - 12 + rng.below(25);
        if (inside(c, r) && reachable[r * MAPW + c]) return;
    }
    const int cell = ground[rng.below((int)ground.size())];
    c = cell % MAPW;
    r = cell / MAPW;
}

// Before each frame: up to a monster and a raider or friend into free slots;
// the hero healed below 40, far from a fall, as no hit takes more than 14.
void keepup()
{
    int c, r;
    placetile(c, r);
    arrivals += putenemy(ENEMYMONSTER, c, r);
    placetile(c, r);
    arrivals += rng.below(2) ? putenemy(ENEMYRAIDER, c, r) : putfriend(c, r);
    float& healt = Rig::player().healt;
    if (healt < 40) healt = 100, heals++;
}

// Names the frame and the invariant broken, printf-style, and ends the soak.
[[noreturn, gnu::format(printf, 1, 2)]] void broken(const char* format, ...)
{
    std::fprintf(stderr, "soak: frame %ld: ", worldframe);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    quitgame(3);
}

bool within(double v, double lo, double hi)
{
    return v >= lo && v <= hi;
}

// A live character: inside the grid, near the open ground, on the tile under
// its centre, its target, counters and sword in range; only a neutral follows.
template <class T> void checkbody(const char* kind, int slot, T& h)
{
    // Cut towards zero as the game does: a knockback past the top or left
    // edge still stands on tile 0.
    const double cx = Rig::x(h) + 16, cy = Rig::y(h) + 16;
    if (!(cx > -TILE && cx < MAPW * TILE && cy > -TILE && cy < MAPW * TILE))
        broken("%s %d has left the grid: centre at (%g, %g)", kind, slot, cx, cy);
    const int c = (int)(cx / TILE), r = (int)(cy / TILE);
    if (!nearground(c, r)) broken("%s %d stands on tile (%d, %d), out of reach of the open ground", kind, slot, c, r);
    if (h.mapx != c || h.mapy != r) broken("%s %d: its tile is not the one under its centre", kind, slot);
    const int t = Rig::target(h);
    if (!(t == TARGETNONE || t == TARGETPLAYER || (std::is_same_v<T, Neutral> && t == TARGETFOLLOW) ||
          within(t, TARGETNEUTRAL, TARGETNEUTRAL + SLOTS - 1) || within(t, TARGETMONSTER, TARGETMONSTER + SLOTS - 1)))
        broken("%s %d: target code %d", kind, slot, t);
    if (!within(Rig::frame(h), 0, 3) || !within(Rig::counter(h), 0, 5) || !within(h.d, 0, 3) ||
        !within(Rig::invcounter(h), 0, 2) || (Rig::invcolor(h) != 1 && Rig::invcolor(h) != -1))
        broken("%s %d: a walking, facing or flashing counter out of range", kind, slot);
    if (!(h.healt > 0 && h.healt <= 100.05f)) broken("%s %d: health %g", kind, slot, h.healt);
    if constexpr (std::is_base_of_v<Weapon, T>)
        if (!within(Rig::swordhit(h), 0, 6) || !within(Rig::swordfade(h), 0, 1) || !within(Rig::swordb(h), 0, 1))
            broken("%s %d: the sword's swing out of range", kind, slot);
}

void checkworld()
{
    if (playerhealt() <= 0) broken("the hero has fallen, though the soak keeps him alive");
    map.records([](const char* kind, int slot, auto& record) {
        using T = std::decay_t<decltype(record)>;
        bool finite = true;
        record.fields([&finite](const char*, auto& field) { finite = finite && std::isfinite((double)field); });
        if (!finite) broken("%s %d holds a value that is not a finite number", kind, slot);
        if constexpr (std::is_same_v<T, Player>) {
            if (record.getside() != PLAYERSIDE || Rig::target(record) != TARGETNONE)
                broken("the hero's side or target changed");
            checkbody(kind, slot, record);
        } else {
            // Only the slots the placing functions fill ever hold anyone.
            const int type = Rig::type(record);
            const int most = std::is_same_v<T, Corpse> ? 16 : std::is_same_v<T, Neutral> ? (int)FRIEND : (int)MONSTER;
            if (!within(type, 0, most) || (slot >= PLACESLOTS && type != 0)) broken("%s %d: type %d", kind, slot, type);
            if (type == 0) return;
            if constexpr (std::is_same_v<T, Corpse>) {
                if (!within(Rig::decay(record), 0, 1)) broken("%s %d: decay %g", kind, slot, Rig::decay(record));
            } else {
                // Raiders and monsters are the enemies' side, friends the hero's.
                constexpr bool neutral = std::is_same_v<T, Neutral>;
                if (record.getside() != (neutral && type == FRIEND ? PLAYERSIDE : ENEMYSIDE))
                    broken("%s %d: side %d for type %d", kind, slot, record.getside(), type);
                checkbody(kind, slot, record);
            }
        }
    });
    if (!within(night, 0, 1)) broken("night is %g while the hero lives", night);
    if (!std::isfinite(Camera.nx) || !std::isfinite(Camera.ny)) broken("the camera's target is not a finite number");
    // A frame's hits and falls bring at most 99 * 11 + 99 * 19 points.
    if (score < lastscore || score - lastscore > 99 * 30) broken("the score went from %d to %d", lastscore, score);
    if (finalscore != score) broken("the final score %d lags the score %d", finalscore, score);
    lastscore = score;
}

bool number(const char* text, long& out)
{
    char* end;
    errno = 0;
    out = std::strtol(text, &end, 10);
    return *text && !*end && errno == 0 && out >= 0;
}

}   // namespace

int main(int argc, char* argv[])
{
    long frames = 50000, seed = 1, spoiled = -1;
    bool window = false;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        long* value = a == "--frames" ? &frames : a == "--seed" ? &seed : a == "--spoil" ? &spoiled : nullptr;
        if (a == "--window") {
            window = true;
        } else if (!value || i + 1 >= argc || !number(argv[++i], *value)) {
            std::fprintf(stderr, "soak: cannot use %s; usage: soak [--frames N] [--seed S] [--window] [--spoil F]\n",
                         a.c_str());
            return 2;
        }
    }
    rng = Rng((uint64_t)seed);

    options = Options{};
    options.window = true;
    options.sound = false;
    if (!enterdatadir(nullptr)) return 1;
    // The game's start: its empty world, then its map.
    emptyworld();
    map.open(MAPFILE);
    findground();
    fastframes = true;
    inputfeeder = feeder;
    if (window) {
        if (!init()) quitgame(1);
    } else {
        // SDL without a window: the dummy driver's plain surface, no OpenGL.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, 0)) {
            std::fprintf(stderr, "soak: cannot start SDL's dummy video: %s\n", SDL_GetError());
            quitgame(1);
        }
    }
    startup();

    const auto start = std::chrono::steady_clock::now();
    while (worldframe < frames) {
        keepup();
        if (runframe()) broken("the game ended");
        if (worldframe == spoiled)
            for (int i = 0; i < SLOTS; i++)
                if (Rig::monster(i).gettype() != 0) {
                    Rig::x(Rig::monster(i)) = std::nanf("");
                    break;
                }
        checkworld();
        // Textures reloaded now and then, as a new world or a lost context
        // does: the sanitizer's leak check sees each slot freed before reuse.
        if (window && worldframe % 1000 == 0) {
            LoadTextures();
            map.loadtextures();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %ld frames in %.0f s (%.0f a second), every invariant held; score %d, %ld arrivals, "
                "%ld box frames, the hero healed %ld times\n",
                worldframe, seconds, worldframe / seconds, score, arrivals, boxframes, heals);
    closeinput();
    clean_up();
    return 0;
}
