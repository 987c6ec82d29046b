// The soak: the game's own frame (runframe: input, the world's update and
// its drawing into the fast frames' scissor) run for as long as asked, with
// random keys, the slots kept full by extra arrivals and the hero kept
// alive, and the world's invariants checked after every frame.
//
//   soak [--frames N] [--seed S] [--data DIR] [--window] [--spoil F]
//
// N world frames (50,000 unless given; FRAMES_PER_SECOND are a second of
// play); S seeds the soak's own generator of keys and arrivals, which leaves
// the game's worldrand() to the game. Without --window it opens no display: SDL's dummy video
// driver carries the keys and the drawing routines run without an OpenGL
// context, so their calls into OpenGL do nothing while the state they keep
// (the hero's healing, fading corpses and health bars) changes as in the
// game. With --window it draws into a real window, as the tests do, which
// needs a display (a virtual one serves) and is several times slower.
// --spoil F, a check of the checks, puts a value that is not a number into
// the first live monster after frame F, which must end the soak there.
// Exit codes: 0 when every frame kept every invariant; 1 when the game
// cannot start; 2 on a wrong command line; 3 when an invariant broke, after
// one line naming the frame and the invariant.
#include "main.h"
#include "rigaccess.h"
#include "rng.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

// The records' friend: the accessors the tests share, and the fields the
// checks read beside them.
struct Rig {
    RIGACCESS
    RIGFIELD(int, Hahmo, side) RIGFIELD(int, Hahmo, d) RIGFIELD(int, Hahmo, mapx) RIGFIELD(int, Hahmo, mapy)
    RIGFIELD(float, Hahmo, healt)
};

namespace {

Rng rng(1);
long worldframe;        // world frames begun
long boxframes;         // box frames answered
long arrivals;          // characters the soak placed
long heals;             // times the hero's health was reset

int random(int n)
{
    return rng.below(n);
}

// ---------------------------------------------------------------------------
// Keys
// ---------------------------------------------------------------------------

// World frames: an arrow or two held for 2 to 12 frames, then others (or
// none), and space in one frame of three. Box frames: space now and then,
// so a box is typed out for a while before it is shown whole and closed.
void feeder(bool boxframe)
{
    if (boxframe) {
        boxframes++;
        if (random(6) == 0) pushkey(SDLK_SPACE, true);
        return;
    }
    worldframe++;
    static int held;
    static bool want[4];
    if (held-- <= 0) {
        held = 2 + random(11);
        const int way = random(9);   // none, four straight, four diagonal
        for (bool& w : want) w = false;
        if (way >= 1 && way <= 4) want[way - 1] = true;
        if (way >= 5) {
            want[way <= 6 ? 0 : 1] = true;
            want[way % 2 == 1 ? 2 : 3] = true;
        }
    }
    static const SDLKey arrows[4] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    for (int i = 0; i < 4; i++)
        if (want[i] != key[i]) pushkey(arrows[i], want[i]);
    if (random(3) == 0) {
        pushkey(SDLK_SPACE, true);
        pushkey(SDLK_SPACE, false);
    }
}

// ---------------------------------------------------------------------------
// The ground: every open tile the hero can walk to from his start
// ---------------------------------------------------------------------------

std::vector<char> reachable(MAPCELLS);
std::vector<int> ground;

void findground()
{
    std::vector<int> queue{PLAYERSTART.r * MAPW + PLAYERSTART.c};
    reachable[queue[0]] = 1;
    for (size_t i = 0; i < queue.size(); i++) {
        const int at = queue[i], c = at % MAPW, r = at / MAPW;
        const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[0] >= MAPW || n[1] < 0 || n[1] >= MAPW) continue;
            const int cell = n[1] * MAPW + n[0];
            if (reachable[cell] || stop[cell] != 0) continue;
            reachable[cell] = 1;
            queue.push_back(cell);
        }
    }
    ground = queue;
}

// Whether a reachable open tile lies within two tiles of cell (c, r): as far
// as a knockback may carry a body past the edge of the open ground.
bool nearground(int c, int r)
{
    for (int y = r - 2; y <= r + 2; y++)
        for (int x = c - 2; x <= c + 2; x++)
            if (x >= 0 && x < MAPW && y >= 0 && y < MAPW && reachable[y * MAPW + x]) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Arrivals and the hero's health
// ---------------------------------------------------------------------------

// A random reachable tile: often one within 12 tiles of the hero (each try
// near him is made on a coin's toss), else anywhere.
void placetile(int& c, int& r)
{
    const int hc = (playerx() + 16) / TILE, hr = (playery() + 16) / TILE;
    for (int tries = 0; tries < 20 && random(2) == 0; tries++) {
        c = hc - 12 + random(25);
        r = hr - 12 + random(25);
        if (c >= 0 && c < MAPW && r >= 0 && r < MAPW && reachable[r * MAPW + c]) return;
    }
    const int cell = ground[random((int)ground.size())];
    c = cell % MAPW;
    r = cell / MAPW;
}

// Up to one monster, and one raider or friend, a frame into free slots.
void arrive()
{
    int c, r;
    placetile(c, r);
    arrivals += putenemy(ENEMYMONSTER, c, r);
    placetile(c, r);
    arrivals += random(2) ? putenemy(ENEMYRAIDER, c, r) : putfriend(c, r);
}

// No hit takes more than 14 health, so 40 is far from a fall.
void heal()
{
    float& healt = Rig::healt(Rig::player());
    if (healt < 40) {
        healt = 100;
        heals++;
    }
}

// ---------------------------------------------------------------------------
// The invariants
// ---------------------------------------------------------------------------

[[noreturn]] void broken(const std::string& what)
{
    std::fprintf(stderr, "soak: frame %ld: %s\n", worldframe, what.c_str());
    closeinput();
    clean_up();
    std::exit(3);
}

std::string named(const char* kind, int slot)
{
    return std::string(kind) + " " + std::to_string(slot);
}

bool within(double v, double lo, double hi)
{
    return v >= lo && v <= hi;
}

bool validtarget(int t, bool follow)
{
    return t == TARGETNONE || t == TARGETPLAYER || (follow && t == TARGETFOLLOW) ||
           (t >= TARGETNEUTRAL && t < TARGETNEUTRAL + SLOTS) || (t >= TARGETMONSTER && t < TARGETMONSTER + SLOTS);
}

template <class T> bool finite(T& record)
{
    bool all = true;
    record.fields([&all](const char*, auto& field) { all = all && std::isfinite((double)field); });
    return all;
}

// A live character: inside the grid, near the open ground, on the tile its
// centre says, and with its counters in their ranges.
void checkbody(const std::string& who, Hahmo& h, bool follow)
{
    // The tile as the game finds it, cut towards zero: a knockback may carry
    // a body a little past the top or left edge, still on tile 0.
    const double cx = Rig::x(h) + 16, cy = Rig::y(h) + 16;
    if (!(cx > -TILE && cx < MAPW * TILE && cy > -TILE && cy < MAPW * TILE))
        broken(who + " has left the grid: centre at (" + std::to_string(cx) + ", " + std::to_string(cy) + ")");
    const int c = (int)(cx / TILE), r = (int)(cy / TILE);
    if (!nearground(c, r))
        broken(who + " stands on tile (" + std::to_string(c) + ", " + std::to_string(r) +
               "), out of reach of the open ground");
    if (Rig::mapx(h) != c || Rig::mapy(h) != r) broken(who + ": its tile is not the one under its centre");
    if (!validtarget(Rig::target(h), follow)) broken(who + ": target code " + std::to_string(Rig::target(h)));
    if (!within(Rig::frame(h), 0, 3) || !within(Rig::counter(h), 0, 5) || !within(Rig::d(h), 0, 3) ||
        !within(Rig::invcounter(h), 0, 2) || (Rig::invcolor(h) != 1 && Rig::invcolor(h) != -1))
        broken(who + ": a walking, facing or flashing counter out of range");
    if (!(Rig::healt(h) > 0 && Rig::healt(h) <= 100.05f)) broken(who + ": health " + std::to_string(Rig::healt(h)));
}

void checksword(const std::string& who, Weapon& w)
{
    if (!within(Rig::swordhit(w), 0, 6) || !within(Rig::swordfade(w), 0, 1) || !within(Rig::swordb(w), 0, 1))
        broken(who + ": the sword's swing out of range");
}

int lastscore;

void spoil()
{
    for (int i = 0; i < SLOTS; i++)
        if (Rig::monster(i).gettype() != 0) {
            Rig::x(Rig::monster(i)) = std::nanf("");
            return;
        }
}

void checkworld()
{
    if (playerhealt() <= 0) broken("the hero has fallen, though the soak keeps him alive");
    map.records([&](const char* kind, int slot, auto& record) {
        using T = std::decay_t<decltype(record)>;
        if (!finite(record)) broken(named(kind, slot) + " holds a value that is not a finite number");
        if constexpr (std::is_same_v<T, Player>) {
            checkbody("the hero", record, false);
            checksword("the hero", record);
            if (Rig::side(record) != PLAYERSIDE || Rig::target(record) != TARGETNONE)
                broken("the hero's side or target changed");
        } else if constexpr (std::is_same_v<T, Corpse>) {
            const int type = Rig::type(record);
            if (!within(type, 0, 16) || (slot >= PLACESLOTS && type != 0))
                broken(named(kind, slot) + ": type " + std::to_string(type));
            if (type > 0 && !within(Rig::decay(record), 0, 1))
                broken(named(kind, slot) + ": decay " + std::to_string(Rig::decay(record)));
        } else {
            constexpr bool neutral = std::is_same_v<T, Neutral>;
            const int type = Rig::type(record);
            if (!within(type, 0, neutral ? (int)FRIEND : (int)MONSTER) || (slot >= PLACESLOTS && type != 0))
                broken(named(kind, slot) + ": type " + std::to_string(type));
            if (type == 0) return;
            // Raiders and monsters are the enemies' side, friends the hero's.
            if (Rig::side(record) != (neutral && type == FRIEND ? PLAYERSIDE : ENEMYSIDE))
                broken(named(kind, slot) + ": side " + std::to_string(Rig::side(record)) + " for type " +
                       std::to_string(type));
            checkbody(named(kind, slot), record, neutral);
            if constexpr (neutral) checksword(named(kind, slot), record);
        }
    });
    if (!std::isfinite(night) || !within(night, 0, 1))
        broken("night is " + std::to_string(night) + " while the hero lives");
    if (!std::isfinite(Camera.nx) || !std::isfinite(Camera.ny)) broken("the camera's target is not a finite number");
    // A frame's hits and falls bring at most 99 * 11 + 99 * 19 points.
    if (score < lastscore || score - lastscore > 99 * 30)
        broken("the score went from " + std::to_string(lastscore) + " to " + std::to_string(score));
    if (finalscore != score)
        broken("the final score " + std::to_string(finalscore) + " lags the score " + std::to_string(score));
    lastscore = score;
}

// ---------------------------------------------------------------------------
// The command line
// ---------------------------------------------------------------------------

int usage(const char* what)
{
    std::fprintf(stderr, "soak: %s; usage: soak [--frames N] [--seed S] [--data DIR] [--window] [--spoil F]\n",
                 what);
    return 2;
}

// SDL without a window: the dummy driver's plain surface, no OpenGL.
bool openheadless()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, 0)) {
        std::fprintf(stderr, "soak: cannot start SDL's dummy video: %s\n", SDL_GetError());
        return false;
    }
    return true;
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
    const char* data = nullptr;
    bool window = false;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        if (a == "--window") {
            window = true;
            continue;
        }
        if (i + 1 >= argc) return usage(("no value after " + a).c_str());
        const char* value = argv[++i];
        const bool read = a == "--frames" ? number(value, frames)
                          : a == "--seed"  ? number(value, seed)
                          : a == "--spoil" ? number(value, spoiled)
                                           : a == "--data";
        if (!read) return usage(("cannot use " + a + " " + value).c_str());
        if (a == "--data") data = value;
    }
    rng = Rng((uint64_t)seed);

    options = Options{};
    options.window = true;
    options.sound = false;
    if (!enterdatadir(data)) return 1;
    // The game's start: its empty world, then its map.
    emptyworld();
    map.open(MAPFILE);
    findground();
    fastframes = true;
    inputfeeder = feeder;
    if (!(window ? init() : openheadless())) quitgame(1);
    startup();

    const auto start = std::chrono::steady_clock::now();
    while (worldframe < frames) {
        arrive();
        heal();
        if (runframe()) broken("the game ended");
        if (worldframe == spoiled) spoil();
        checkworld();
        // In a window the textures are loaded again now and then, as a new
        // world or a lost context does: the sanitizer build's leak check
        // sees every slot freed before it is filled again.
        if (window && worldframe % 1000 == 0) {
            LoadTextures();
            map.loadtextures();
        }
        if (worldframe % 100000 == 0) {
            std::printf("frame %ld: score %d, %ld arrivals, %ld box frames\n", worldframe, score, arrivals,
                        boxframes);
            std::fflush(stdout);
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
