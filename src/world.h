// The world's functions: its map and light, the story's clock, the queries
// between characters, the placing of new ones, and the world made new.
#ifndef KUURAKARPALO_WORLD_H
#define KUURAKARPALO_WORLD_H

#include "main.h"

// The darkness at script frame t, worked out as the script does.
float darkness(int t);
// The first script frame of day n (0 the first) at which the darkness is
// no longer below DUSK; above NIGHTFALL; below DUSK again after midnight.
int duskframe(int day);
int nightframe(int day);
int dawnframe(int day);

// Light at cell (c, r), with c and r moved to the nearest cell inside the grid.
int lightat(int c, int r);
// Whether the pixel point (px, py) lies in a blocked cell; outside the grid
// everything is blocked.
bool blockedat(float px, float py);

// Whether world pixel (x, y) lies on the screen widened by 48 pixels left and up.
bool inscreen(int x, int y);

// Places a corpse of kind type with its top-left at pixel (x, y) in the
// first free of slots 0..96; 1 if placed.
int putcorpse(int type, int x, int y);

// Puts the world into its known empty state, as the game has it before it
// reads its map: every neutral, monster and corpse slot free and zeroed, the
// hero new on his start tile, the script clock, scroll window, score and
// final score at 0, the night at 1, the camera at its first view, no key
// held, no slot stepping, and the random sequence started again. The map's
// tiles, light and blocking stay as they are.
void emptyworld();

// Opens MAPFILE into the world as the game starts, and keeps it for newworld;
// a map that cannot be read ends the program.
void openworldmap();
// The world as a game starts in it: empty, its map file read again (the
// one openworldmap kept, if any), and the script's start run twice, as a
// game's start-up runs it. Never ends the program: nullptr, or what is
// wrong with the map file, the world then left empty.
const char* newworld();

// Checks a map file and its name without touching the world. Returns nullptr
// when it can be loaded, else a short description of the problem.
const char* checkmapfile(const char* nname);

// Queries between characters (returnfunctions.cpp)

bool playervulnerable();
bool neutralvulnerable(int m);
bool monstervulnerable(int m);
int playerx();
int playery();
int playerside();
// The hero's health: above 0 while he lives.
float playerhealt();
float monsterx(int m);
float monstery(int m);
float neutralx(int m);
float neutraly(int m);
float playerlongswordx();
float playerlongswordy();
float playershortswordx();
float playershortswordy();
float playerswordangle(float x, float y);
float neutralswordangle(int m, float x, float y);
void hurtplayer(float angle, float amount, float damage);
// The world's random numbers, 0..2^31-1: every random decision of the game
// draws from here, never from the C library, so that every build draws the
// same sequence. Unseeded it starts as seeded with 1.
int worldrand();
void worldsrand(unsigned seed);
// A random angle of -69..69 whole degrees, in radians.
float rnd();
// The heading from the origin towards (dx, dy), atan2(dx, dy) in double
// precision: 0 points down the screen, pi/2 to the right.
float heading(float dx, float dy);
// Whether (px, py) lies strictly inside the rectangle (x1, y1)-(x2, y2).
bool inside(float x1, float y1, float x2, float y2, float px, float py);

// Slot + 1 of the first live character of side (any for -1) strictly inside
// the rectangle, skipping the asker; 0 for none.
int monsterinarea(float x1, float y1, float x2, float y2, int side);
int neutralinarea(float x1, float y1, float x2, float y2, int side);
int playerinarea(float x1, float y1, float x2, float y2, int side);
// Slot + 1 of the first neutral of exactly side whose cutting sword tip lies
// strictly inside the rectangle; 0 for none.
int swordinarea(float x1, float y1, float x2, float y2, int side);

// Place a character on tile (x, y) in the first free of slots 0..96; 1 if
// placed: putenemy one of kind (ENEMYRAIDER or ENEMYMONSTER), putfriend a friend.
int putenemy(int kind, int x, int y);
int putfriend(int x, int y);

#endif
