// The scripted player: plays the real game by a plan and records it, so the
// golden recordings can be made again after an intended change of the game.
//
//   autoplayer PLAN RECORDING
//
// It finds the data as the game does and plays unpaced, in a window.
// A plan is a text file of steps, one a line ('#' starts a comment):
//
//   language LANG     play the game in language LANG (a setting for the
//                     whole game, not a step; Finnish unless given)
//   boxes N           answer message boxes every N box frames (a setting;
//                     12 unless given)
//   wait N            no keys for N frames
//   hold KEYS N       hold arrows for N frames; KEYS like "up" or "down+left"
//   walk C R [N]      walk to tile column C, row R: until there, stuck for
//                     40 frames, or N frames have passed (2000 unless given)
//   swing N           stand and swing the sword every 8 frames, N frames
//   fight N           go for the nearest enemy and swing near him, N frames;
//                     below 35 health, back to the village until 70
//   die N             walk into the nearest enemy, without swinging, until
//                     the hero has fallen, at most N frames
//
// Message boxes are answered by themselves: space on every 12th box frame
// (or Nth, as the plan sets), which shows a box whole unless it has typed
// out its text by then, and closes it. When the plan ends the game
// goes on until it ends by itself (the hero's dark end) if the hero has
// fallen, and is otherwise ended with Escape.
#include "datadir.h"
#include "frame.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "mapfile.h"
#include "messagebox.h"
#include "options.h"
#include "recording.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

enum Kind { WAIT, HOLD, WALK, SWING, FIGHT, DIE };

struct Step {
    Kind kind;
    bool arrows[4];   // hold: up, down, left, right
    int c, r;         // walk: the tile
    int frames;       // how long at most
};

std::vector<Step> plan;
std::string language = "fi";   // the language the plan plays in
int boxevery = 12;             // box frames between presses of space
size_t current;
int stepframe;        // frames spent in the current step
int boxframes;        // box frames in a row
int stuck;            // walk: frames without moving
int lastx, lasty;
bool retreating;      // fight: wounded, on the way back to the village
bool ending;          // Escape was pressed
bool tracing;         // AUTOPLAYER_TRACE is set: each step's end on stderr

bool readplan(const char* path, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb)) continue;
        Step s{};
        bool ok = true;
        if (verb == "language" || verb == "boxes") {
            const bool read = verb == "language" ? words >> language && languagecode(language)
                                                 : words >> boxevery && boxevery >= 1;
            if (!read) {
                error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
                return false;
            }
            continue;
        }
        if (verb == "wait" || verb == "swing" || verb == "fight" || verb == "die") {
            s.kind = verb == "wait" ? WAIT : verb == "swing" ? SWING : verb == "fight" ? FIGHT : DIE;
            ok = bool(words >> s.frames);
        } else if (verb == "hold") {
            std::string keys;
            s.kind = HOLD;
            ok = bool(words >> keys >> s.frames);
            std::stringstream each(keys);
            std::string k;
            while (ok && std::getline(each, k, '+')) {
                const char* names[4] = {"up", "down", "left", "right"};
                bool known = false;
                for (int i = 0; i < 4; i++)
                    if (k == names[i]) s.arrows[i] = known = true;
                ok = known;
            }
        } else if (verb == "walk") {
            s.kind = WALK;
            s.frames = 2000;
            ok = bool(words >> s.c >> s.r);
            words >> s.frames;
        } else {
            ok = false;
        }
        if (!ok || s.frames < 1) {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
        plan.push_back(s);
    }
    return true;
}

void tap(SDLKey sym)
{
    pushkey(sym, true);
    pushkey(sym, false);
}

// The nearest enemy's top-left corner, looked for in growing squares.
bool nearestenemy(float& ex, float& ey)
{
    const float x = (float)playerx(), y = (float)playery();
    for (float h = 64; h <= 1024; h *= 2) {
        if (int m = monsterinarea(x - h, y - h, x + h, y + h, 1)) {
            ex = monsterx(m - 1);
            ey = monstery(m - 1);
            return true;
        }
        if (int n = neutralinarea(x - h, y - h, x + h, y + h, 1)) {
            ex = neutralx(n - 1);
            ey = neutraly(n - 1);
            return true;
        }
    }
    return false;
}

// The arrows that lead straight from the hero towards (tx, ty), in pixels.
void straight(float tx, float ty, float near, bool arrows[4])
{
    const float dx = tx - (float)playerx(), dy = ty - (float)playery();
    arrows[0] = dy < -near;
    arrows[1] = dy > near;
    arrows[2] = dx < -near;
    arrows[3] = dx > near;
}

// Steps from every open tile to the goal tile, around the blocked ones.
std::vector<int> distance(MAPCELLS);
int goal = -1;

void findways(int c, int r)
{
    if (goal == r * MAPW + c) return;
    goal = r * MAPW + c;
    std::fill(distance.begin(), distance.end(), -1);
    std::vector<int> queue{goal};
    distance[goal] = 0;
    for (size_t i = 0; i < queue.size(); i++) {
        const int at = queue[i];
        for (int next : {at - 1, at + 1, at - MAPW, at + MAPW}) {
            if (next < 0 || next >= MAPCELLS || distance[next] >= 0 || stop[next] != 0) continue;
            distance[next] = distance[at] + 1;
            queue.push_back(next);
        }
    }
}

// The tile the hero's feet are on: the middle of his collision probes.
int herotile()
{
    return (playery() + 18) / TILE * MAPW + (playerx() + 16) / TILE;
}

// The arrows that lead the hero along the shortest open way to tile (c, r);
// near the goal, or with no way known, straight towards (tx, ty).
void towards(int c, int r, float tx, float ty, float near, bool arrows[4])
{
    findways(c, r);
    const int at = herotile();
    int best = -1;
    if (at >= 0 && at < MAPCELLS && distance[at] > 1) {
        for (int next : {at - MAPW, at + MAPW, at - 1, at + 1})
            if (next >= 0 && next < MAPCELLS && distance[next] >= 0 && distance[next] < distance[at] &&
                (best < 0 || distance[next] < distance[best]))
                best = next;
    }
    if (best < 0) return straight(tx, ty, near, arrows);
    // Lined up with the middle of this tile first, where the probes lie
    // inside it, then on into the next one, so no corner is clipped.
    const float cx = (float)(at % MAPW * TILE), cy = (float)(at / MAPW * TILE - 2);
    const bool across = best == at - 1 || best == at + 1;
    const float off = across ? (float)playery() - cy : (float)playerx() - cx;
    if (off > 3 || off < -3)
        straight(across ? (float)playerx() : cx, across ? cy : (float)playery(), 1, arrows);
    else
        straight((float)(best % MAPW * TILE), (float)(best / MAPW * TILE - 2), 3, arrows);
}

// Presses and releases arrows so that exactly the wanted ones are held.
void holdarrows(const bool want[4])
{
    static const SDLKey syms[4] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    for (int i = 0; i < 4; i++) {
        if (want[i] && !key[i]) pushkey(syms[i], true);
        if (!want[i] && key[i]) pushkey(syms[i], false);
    }
}

// Plays one world frame of the current step; false once the step is over.
bool playstep(const Step& s)
{
    bool arrows[4] = {false, false, false, false};
    bool swing = false;
    switch (s.kind) {
    case WAIT: break;
    case HOLD: std::memcpy(arrows, s.arrows, sizeof arrows); break;
    case WALK: {
        towards(s.c, s.r, (float)(s.c * TILE), (float)(s.r * TILE - 2), 3, arrows);
        const bool there = !arrows[0] && !arrows[1] && !arrows[2] && !arrows[3];
        stuck = playerx() == lastx && playery() == lasty ? stuck + 1 : 0;
        if (there || stuck >= 40) return false;
        break;
    }
    case SWING: swing = stepframe % 8 == 0; break;
    case FIGHT:
    case DIE: {
        if (s.kind == DIE && !(playerhealt() > 0)) return false;
        // A wounded fighter falls back to the village square until healed.
        if (s.kind == FIGHT && (playerhealt() < 35 || (retreating && playerhealt() < 70))) {
            retreating = true;
            towards(46, 9, 46 * TILE, 9 * TILE - 2, 3, arrows);
            break;
        }
        retreating = false;
        float ex, ey;
        if (nearestenemy(ex, ey)) {
            towards((int)(ex + 16) / TILE, (int)(ey + 18) / TILE, ex, ey, s.kind == DIE ? 0 : 20, arrows);
            const float dx = ex - (float)playerx(), dy = ey - (float)playery();
            swing = s.kind == FIGHT && dx * dx + dy * dy < 48 * 48 && stepframe % 8 == 0;
        }
        break;
    }
    }
    holdarrows(arrows);
    if (swing) tap(SDLK_SPACE);
    return true;
}

// What the recording holds, for the summary: the most characters of each
// kind at once, the arrivals, the boxes, the darkest night.
struct Summary {
    int frames, boxframes, boxes;
    int monsters, raiders, friends;   // most at once
    int arrivals;                     // characters placed after the start
    float darkest;
} seen;

void count()
{
    int monsters = 0, raiders = 0, friends = 0;
    map.records([&](const char*, int, auto& r) {
        if constexpr (std::is_same_v<std::decay_t<decltype(r)>, Monster>) monsters += r.gettype() > 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(r)>, Neutral>) {
            raiders += r.gettype() == 1;
            friends += r.gettype() == 2;
        }
    });
    static int before = -1;
    if (before >= 0 && monsters + raiders + friends > before) seen.arrivals += monsters + raiders + friends - before;
    before = monsters + raiders + friends;
    seen.monsters = std::max(seen.monsters, monsters);
    seen.raiders = std::max(seen.raiders, raiders);
    seen.friends = std::max(seen.friends, friends);
    if (seen.frames > 1 && playerhealt() > 0) seen.darkest = std::max(seen.darkest, night);
}

void feeder(bool boxframe)
{
    if (boxframe) {
        seen.boxframes++;
        if (boxframes == 0) seen.boxes++;
        if (++boxframes % boxevery == 0) {
            tap(SDLK_SPACE);
            if (boxframes % (2 * boxevery) == 0) boxframes = 0;
        }
        return;
    }
    seen.frames++;
    count();
    boxframes = 0;
    while (current < plan.size()) {
        const Step& s = plan[current];
        if (stepframe < s.frames && playstep(s)) break;
        if (tracing)
            std::fprintf(stderr, "frame %d: step %zu done after %d frames, the hero on tile (%d, %d), health %.1f\n",
                         seen.frames, current + 1, stepframe, (playerx() + 16) / TILE, (playery() + 16) / TILE,
                         playerhealt());
        current++;
        stepframe = 0;
        stuck = 0;
    }
    if (current < plan.size()) {
        stepframe++;
    } else {
        const bool none[4] = {false, false, false, false};
        holdarrows(none);
        if (playerhealt() > 0 && !ending) {
            tap(SDLK_ESCAPE);
            ending = true;
        }
    }
    lastx = playerx();
    lasty = playery();
}

}   // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: autoplayer PLAN RECORDING\n");
        return 2;
    }
    std::string error;
    if (!readplan(argv[1], error)) {
        std::fprintf(stderr, "autoplayer: plan \"%s\" %s\n", argv[1], error.c_str());
        return 1;
    }
    // No settings file: the plan's keys are the default ones.
    const char* args[] = {"autoplayer", "--window",   "--no-sound",     "--config=/dev/null",
                          "--language", language.c_str(), "--record", argv[2], nullptr};
    if (parseoptions(8, const_cast<char**>(args)) >= 0) return 2;
    if (!enterdatadir(nullptr)) return 1;
    map.open(MAPFILE);
    chooselanguage();
    if (gamelanguage != (language == "fi" ? "" : language)) return 1;
    if (!openinput()) return 1;
    fastframes = true;
    inputfeeder = feeder;
    tracing = std::getenv("AUTOPLAYER_TRACE") != nullptr;
    if (!init()) quitgame(1);
    startup();
    bool quit = false;
    while (!quit) quit = runframe();
    std::printf("%s: %d frames (%.0f s), %d box frames in %d boxes; score %d; the hero %s; "
                "at most %d monsters, %d raiders, %d friends; %d arrivals; darkest night %.2f\n",
                argv[2], seen.frames, (double)seen.frames / FRAMES_PER_SECOND, seen.boxframes, seen.boxes, score,
                playerhealt() > 0 ? "lives" : "fell", seen.monsters, seen.raiders, seen.friends,
                seen.arrivals, seen.darkest);
    quitgame(0);
}
