// The scenes that the benchmarks and the frame dump share: an OpenGL window
// as the game opens it, the world as the game starts it, and the world with
// every character slot filled and fighting around the start village. Run
// from the project's root: the world reads kuurakarpalo.map and DATA/.
#ifndef KUURAKARPALO_BENCH_SCENE_H
#define KUURAKARPALO_BENCH_SCENE_H

#include "frame.h"
#include "input.h"
#include "main.h"
#include "rigaccess.h"

#include <cstdio>

// The records' friend: the accessors shared with the test rig, and the
// benchmarks' own doors.
struct Rig {
    RIGACCESS
    // Every field of the world that an update or a drawing may change: the
    // world's own line, then each record's fields by name, a line a slot;
    // floats in hexadecimal so that equal text is equal bits.
    static void dump(FILE* out);
    // Keeps or brings back every character and corpse, so that a drawing
    // measured many times (it fades corpses and bars) sees the same world.
    static void keep();
    static void restore();
};

// Opens the game's window and GL state as init() does (audio on SDL's dummy
// driver unless one is chosen), then the textures and the font. False with
// a message when there is no display.
bool openwindow();

// The world as the game starts it: the script's population run twice from
// the unseeded random sequence, the camera and the scroll window over the
// start, daylight.
void startscene();
// Finds the data and reads the game's map into the world, once.
bool openworld();

// Every monster slot 0..98 and neutral slot 0..96 filled, on open tiles
// around the start village nearest first, monsters, raiders and friends in
// turn; the start's corpses. The script clock stands after its first message.
void fullscene();

// The full scene after frames updates with the fixed walk (see walkkeys).
void fightfor(int frames);

// Before each update in a measured run: the hero cannot die, and the
// script's clock stays between the story's opening and its warning of the
// night. A message box opened all the same would wait for a key: it stops
// the program instead, with a line naming the script frame.
void keepgoing();

// A fixed walk for frame f: round the village, a swing every ninth frame.
// Whether key k (0..3 the arrows, 4 space) is down in it; all five into key.
bool walkkey(int f, int k);
void walkkeys(int f);

#endif
