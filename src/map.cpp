// The world record: its file, the camera and the scroll window, and the
// per-frame update and drawing order of the whole world.
#include "display.h"
#include "frame.h"
#include "layer.h"
#include "main.h"
#include "mapfile.h"
#include "textures.h"
#include "world.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int stop[MAPCELLS];
int light[MAPCELLS];
View Camera;
uint32_t mapcrc;

int lightat(int c, int r)
{
    if (c < 0) c = 0;
    if (c > MAPW - 1) c = MAPW - 1;
    if (r < 0) r = 0;
    if (r > MAPW - 1) r = MAPW - 1;
    return light[r * MAPW + c];
}

bool blockedat(float px, float py)
{
    // Truncated, the first 31 pixels beyond the top and left edges would be
    // cell 0's.
    if (px < 0 || py < 0) return true;
    const int c = (int)(px / TILE);
    const int r = (int)(py / TILE);
    if (c >= MAPW || r >= MAPW) return true;
    return stop[r * MAPW + c] != 0;
}

// ---------------------------------------------------------------------------
// The map file
// ---------------------------------------------------------------------------

// The file last read; kept out of the stack, it is 792 kB.
static MapData filedata;

// Reads a map file into filedata; the world keeps the name in 20 characters.
static const char* readmapfile(const char* nname, uint32_t* crc)
{
    if (std::strlen(nname) > 19) return "the file name is longer than 19 characters";
    return readmap(nname, filedata, crc);
}

const char* checkmapfile(const char* nname)
{
    return readmapfile(nname, nullptr);
}

Map::Map() : player(PLAYERSTART.c, PLAYERSTART.r, 1) {}

Map::Map(const char* nname) : player(PLAYERSTART.c, PLAYERSTART.r, 1)
{
    open(nname);
}

void Map::open(const char* nname)
{
    load(nname);
    markborder();
}

void Map::open(const MapData& data, const char* nname)
{
    load(data, nname);
    markborder();
}

// The row below and the column right of the map block, so nobody walks off
// its far edges.
void Map::markborder()
{
    status = 1;
    for (int c = 0; c < sizex; c++) stop[sizey * MAPW + c] = 1;
    for (int r = 0; r < sizey; r++) stop[r * MAPW + sizex] = 1;
}

Map::~Map()
{
    erase();
}

void Map::erase()
{
    std::memset(name, 0, 19);
    std::memset(tile, 0, sizeof tile);
    std::memset(tile2, 0, sizeof tile2);
    std::memset(tile3, 0, sizeof tile3);
    std::memset(stop, 0, sizeof stop);
}

// A map that cannot be read ends the program: there is no world to play in.
// The game reads its map before the window opens; should a later load fail,
// quitgame gives the display back too.
void Map::load(const char* nname)
{
    uint32_t crc = 0;
    const char* problem = readmapfile(nname, &crc);
    if (problem) {
        std::fprintf(stderr, "kuurakarpalo: map file \"%s\" %s\n", nname, problem);
        quitgame(1);
    }

    mapcrc = crc;
    load(filedata, nname);
}

void Map::load(const MapData& data, const char* nname)
{
    erase();
    std::snprintf(name, sizeof name, "%s", nname);
    sizex = data.sizex;
    sizey = data.sizey;
    std::memcpy(tile, data.tile, sizeof tile);
    std::memcpy(tile2, data.tile2, sizeof tile2);
    std::memcpy(tile3, data.tile3, sizeof tile3);
    std::memcpy(light, data.light, sizeof light);
    std::memcpy(stop, data.stop, sizeof stop);
    tset = data.tset;

    loadtextures();
    initscript();
}

void Map::loadtextures()
{
    freetexture(textures[TEXGROUND]);
    freetexture(textures[TEXLAYERS]);
    // Before the window opens there is no GL context to upload into: the
    // world is read first, and start-up loads its tile sets once more.
    if (!hasdisplay()) return;
    if (tset == 0 || tset == 1) {
        LoadTGA(&textures[TEXGROUND], TILESETS[tset][0]);
        LoadTGA(&textures[TEXLAYERS], TILESETS[tset][1]);
    }
}

void Map::reset()
{
    player = Player(PLAYERSTART.c, PLAYERSTART.r, 1);
    for (int n = 0; n < SLOTS; n++) {
        neutral[n] = Neutral();
        monster[n] = Monster();
        corpse[n] = Corpse();
    }
    time = 0;
    rollx = 0;
    rolly = 0;
}

void emptyworld()
{
    map.reset();
    score = finalscore = 0;
    night = 1.0f;
    Camera.set(STARTVIEWX, STARTVIEWY);
    for (bool& k : key) k = false;
    lastmonster = lastneutral = -1;
    worldsrand(1);
}

// The map file the game started with, kept whole: every new world of the
// run is read from here, so that a map file replaced while the game runs
// (an upgrade) changes nothing of it.
static MapData startmap;
static uint32_t startcrc;
static bool started;

void openworldmap()
{
    map.open(MAPFILE);
    startmap = filedata;
    startcrc = mapcrc;
    started = true;
}

const char* newworld()
{
    emptyworld();
    uint32_t crc = startcrc;
    if (!started) {
        if (const char* problem = readmapfile(MAPFILE, &crc)) return problem;
    }
    map.open(started ? startmap : filedata, MAPFILE);
    mapcrc = crc;
    map.initscript();
    return nullptr;
}

// ---------------------------------------------------------------------------
// Camera and scroll window
// ---------------------------------------------------------------------------

void View::set(int nnx, int nny)
{
    x = nnx;
    y = nny;
    nx = (float)x;
    ny = (float)y;
}

// A fifth of the remaining distance each frame, cut to whole pixels, so the
// camera comes to rest up to 4 pixels short of its target.
void View::move()
{
    x = x + (int)((nx - x) / 5.0);
    y = y + (int)((ny - y) / 5.0);
}

bool inscreen(int x, int y)
{
    return Camera.x - 48 < x && x < Camera.x + SCREEN_WIDTH && Camera.y - 48 < y &&
           y < Camera.y + SCREEN_HEIGHT;
}

void Map::controlcamera()
{
    Camera.nx = (float)(player.getx() - 480);
    Camera.ny = (float)(player.gety() - 384);
    if (Camera.nx < 0) Camera.nx = 0;
    if (Camera.ny < 0) Camera.ny = 0;
    // Second, so it wins on a map smaller than the screen.
    if (Camera.nx > sizex * TILE - SCREEN_WIDTH) Camera.nx = (float)(sizex * TILE - SCREEN_WIDTH);
    if (Camera.ny > sizey * TILE - SCREEN_HEIGHT) Camera.ny = (float)(sizey * TILE - SCREEN_HEIGHT);
    Camera.move();
}

// ---------------------------------------------------------------------------
// The world's frame
// ---------------------------------------------------------------------------

void Map::control()
{
    player.input();

    for (int n = 0; n < SLOTS; n++) {
        if (monster[n].gettype() > 0) {
            lastmonster = n;
            monster[n].input();
        }
    }
    lastmonster = -1;

    for (int n = 0; n < SLOTS; n++) {
        if (neutral[n].gettype() > 0) {
            lastneutral = n;
            neutral[n].input();
        }
    }
    lastneutral = -1;

    rollx = player.getx() / TILE - 15;
    rolly = player.gety() / TILE - 12;
    if (rollx < 0) rollx = 0;
    if (rolly < 0) rolly = 0;
    if (rollx > sizex - 32) rollx = sizex - 32;
    if (rolly > sizey - 24) rolly = sizey - 24;

    controlcamera();
    runscript();
}

// What a drawn frame moves on, each record on its own, in the order the
// picture draws them; those the picture shows as they become (the hero's
// healing, the flashes) before it, those it shows as they were (the health
// bars' fading, the corpses' ageing) after it.
void Map::showframe(bool picture)
{
    for (int n = 0; n < SLOTS; n++)
        if (neutral[n].gettype() > 0 && inscreen(neutral[n].getx(), neutral[n].gety())) neutral[n].flash();
    for (int n = 0; n < SLOTS; n++)
        if (monster[n].gettype() > 0 && inscreen(monster[n].getx(), monster[n].gety())) monster[n].flash();
    if (player.healt > 0) {
        player.regenerate();
        player.flash();
    }
    if (picture) show();
    for (int n = 0; n < SLOTS; n++)
        if (corpse[n].gettype() > 0) corpse[n].age();
    for (int n = 0; n < SLOTS; n++)
        if (neutral[n].gettype() > 0) neutral[n].fadehealt();
    for (int n = 0; n < SLOTS; n++)
        if (monster[n].gettype() > 0) monster[n].fadehealt();
    player.fadehealt();
}

// One layer for the whole frame: the switches change only where the next
// routine needs others.
void Map::show()
{
    Layer l;
    showtiles(l);
    for (int n = 0; n < SLOTS; n++)
        if (corpse[n].gettype() > 0) corpse[n].show(l);
    for (int n = 0; n < SLOTS; n++)
        if (neutral[n].gettype() > 0) neutral[n].show(l);
    for (int n = 0; n < SLOTS; n++)
        if (monster[n].gettype() > 0) monster[n].show(l);
    if (player.healt > 0) player.show(l);
    showovertiles(l);
    for (int n = 0; n < SLOTS; n++)
        if (neutral[n].gettype() > 0) neutral[n].showfinal(l);
    for (int n = 0; n < SLOTS; n++)
        if (monster[n].gettype() > 0) monster[n].showfinal(l);
    player.showfinal(l);
}
