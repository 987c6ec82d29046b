// The scenes that the benchmarks and the frame dump share: an OpenGL window
// as the game opens it, the world as the game starts it, and the world with
// every character slot filled and fighting around the start village. Run
// from the project's root: the world reads kuurakarpalo.map and DATA/.
#ifndef KUURAKARPALO_BENCH_SCENE_H
#define KUURAKARPALO_BENCH_SCENE_H

#include "main.h"

#include <cstdio>

// The benchmarks' view of the world's private state.
struct Rig {
    static Map& world() { return map; }
    static Player& player() { return map.player; }
    static Neutral& neutral(int n) { return map.neutral[n]; }
    static Monster& monster(int n) { return map.monster[n]; }
    static Corpse& corpse(int n) { return map.corpse[n]; }
    static int& time() { return map.time; }
    static int* tile() { return map.tile; }
    static int* tile2() { return map.tile2; }
    static int* tile3() { return map.tile3; }
    static int rollx() { return map.rollx; }
    static int rolly() { return map.rolly; }
    static int sizex() { return map.sizex; }
    static int sizey() { return map.sizey; }
    static int frame(Hahmo& h) { return h.frame; }
    static float x(Hahmo& h) { return h.x; }
    static float y(Hahmo& h) { return h.y; }
    static int invulnerability(Hahmo& h) { return h.invulnerability; }
    static float healtfade(Hahmo& h) { return h.healtfade; }
    static int swordd(Weapon& w) { return w.swordd; }
    static float swordfade(Weapon& w) { return w.swordfade; }
    static float sworda(Weapon& w) { return w.sworda; }
    static float swordb(Weapon& w) { return w.swordb; }
    static int type(Corpse& c) { return c.type; }
    static int cx(Corpse& c) { return c.x; }
    static int cy(Corpse& c) { return c.y; }
    static int d(Corpse& c) { return c.d; }
    static float decay(Corpse& c) { return c.decay; }
    static int type(Neutral& n) { return n.type; }
    static int type(Monster& m) { return m.type; }
    // Every field of the world that an update or a drawing may change, one
    // line a record, floats in hexadecimal so that equal text is equal bits.
    static void dump(FILE* out);
    static void dumphahmo(FILE* out, Hahmo& h);
    // Keeps or brings back every character and corpse, so that a drawing
    // measured many times (it fades corpses and bars) sees the same world.
    static void keep();
    static void restore();
    static void dumpweapon(FILE* out, Weapon& w);
};

// Opens the game's window and GL state as init() does (audio on SDL's dummy
// driver unless one is chosen), then the textures and the font. False with
// a message when there is no display.
bool openwindow();

// The world as the game starts it: the script's population run twice from
// the unseeded random sequence, the camera over the start, daylight.
void startscene();

// Every monster slot 0..98 and neutral slot 0..96 filled, on open tiles
// around the start village nearest first, monsters, raiders and friends in
// turn; the start's corpses. The script clock stands after its first message.
void fullscene();

// Before each update in a measured run: the hero cannot die and the script's
// clock never reaches the message at frame 1400, which would wait for a key.
void keepgoing();

// A fixed walk for frame f: round the village, a swing every ninth frame.
// Whether key k (0..3 the arrows, 4 space) is down in it; all five into key.
bool walkkey(int f, int k);
void walkkeys(int f);

#endif
