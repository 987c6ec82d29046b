// The world record: its file, the camera and the scroll window, the tile
// layers, and the per-frame update and drawing order of the whole world.
#include "main.h"

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

Tint nighttint()
{
    return Tint{(float)(1 + 2.5 * night), (float)(1 + 2.5 * night), (float)(1 + night)};
}

// Corner colours by light value under shadetint, remade when the tint
// changes (once a frame while night moves): the maps use light 9 to 35, and
// a value outside the table is worked out as it comes, the same way.
const int SHADES = 64;
static float shade[SHADES][3];
static Tint shadetint = {0, 0, 0};   // no real tint: its divisors are at least 1

void lightcolor(const Tint& t, int c, int r, float a)
{
    const int v = lightat(c, r);
    if (t.r != shadetint.r || t.g != shadetint.g || t.b != shadetint.b) {
        for (int k = 0; k < SHADES; k++) {
            const float l = (float)(k / 9.0);
            shade[k][0] = l / t.r;
            shade[k][1] = l / t.g;
            shade[k][2] = l / t.b;
        }
        shadetint = t;
    }
    if (v >= 0 && v < SHADES) {
        glColor4f(shade[v][0], shade[v][1], shade[v][2], a);
        return;
    }
    const float l = (float)(v / 9.0);
    glColor4f(l / t.r, l / t.g, l / t.b, a);
}

void litcell(const Tint& t, int c, int r, float x, float y, float s0, float t0, float s1, float t1)
{
    glBegin(GL_QUADS);
    lightcolor(t, c, r, 1);
    glTexCoord2f(s0, t0);
    glVertex2f(x, y);
    lightcolor(t, c + 1, r, 1);
    glTexCoord2f(s1, t0);
    glVertex2f(x + TILE, y);
    lightcolor(t, c + 1, r + 1, 1);
    glTexCoord2f(s1, t1);
    glVertex2f(x + TILE, y + TILE);
    lightcolor(t, c, r + 1, 1);
    glTexCoord2f(s0, t1);
    glVertex2f(x, y + TILE);
    glEnd();
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

const StoryTile* const STORYTILES[18] = {
    &PLAYERSTART,    &FRIENDTILES[0], &FRIENDTILES[1], &FRIENDTILES[2], &FRIENDTILES[3], &FRIENDTILES[4],
    &FRIENDTILES[5], &FRIENDTILES[6], &FRIENDTILES[7], &FRIENDTILES[8], &FRIENDTILES[9], &WESTCAMP,
    &EASTCAMP,       &WESTGATE,       &EASTGATE,       &NORTHGATE,      &SOUTHGATE,      &FIRSTCORPSE};

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

void emptyworld()
{
    map.player = Player(PLAYERSTART.c, PLAYERSTART.r, 1);
    for (int n = 0; n < SLOTS; n++) {
        map.neutral[n] = Neutral();
        map.monster[n] = Monster();
        map.corpse[n] = Corpse();
    }
    map.time = 0;
    map.rollx = 0;
    map.rolly = 0;
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
// Tiles
// ---------------------------------------------------------------------------

// The atlas rows whose texture coordinates are worked out once a layer.
const int ATLASROWS = 64;

// Draws the cells of the window around the screen from one layer. Ground
// cells are all drawn; in the upper layers 0 or less is an empty cell.
//
// Each cell stays a glBegin/glEnd of its own and every cell of the window
// is sent, on the screen or not: Mesa's software rasteriser (llvmpipe) draws
// a quad differently when the draw it lands in holds a vertex off the
// screen, and a single long glBegin wraps its vertex buffer elsewhere, so
// fewer or longer batches would change pixels.
void Map::showlayer(const int* layer, int slot)
{
    const Tint t = nighttint();
    const float width = (float)(textures[slot].width / TILE);
    const float height = (float)(textures[slot].height / TILE);
    const bool ground = layer == tile;

    // The texture coordinates of the atlas's column and row edges, exactly
    // as each cell would divide them.
    float s[17], tt[ATLASROWS + 1];
    for (int c = 0; c <= 16; c++) s[c] = c / width;
    for (int r = 0; r <= ATLASROWS; r++) tt[r] = r / height;

    for (int cy = rolly - 1; cy <= rolly + 25; cy++) {
        if (cy < 0 || cy >= sizey) continue;
        const float py = (float)(cy * TILE);
        for (int cx = rollx - 1; cx <= rollx + 33; cx++) {
            if (cx < 0 || cx >= sizex) continue;
            const int v = layer[cy * MAPW + cx];
            if (!ground && v <= 0) continue;
            const int row = v / 16;
            const int column = v - 16 * row;
            float s0, s1, t0, t1;
            if (v >= 0 && row < ATLASROWS) {
                s0 = s[column];
                s1 = s[column + 1];
                t0 = tt[row];
                t1 = tt[row + 1];
            } else {
                s0 = column / width;
                s1 = (column + 1) / width;
                t0 = row / height;
                t1 = (row + 1) / height;
            }
            const float px = (float)(cx * TILE);

            litcell(t, cx, cy, px, py, s0, t0, s1, t1);
        }
    }
}

void Map::drawtiles(Layer& l, Pen pen, const int* layer, int slot)
{
    l.world(pen, slot);
    showlayer(layer, slot);
}

void Map::showtiles(Layer& l)
{
    drawtiles(l, GROUND, tile, TEXGROUND);
    drawtiles(l, CUTOUT, tile2, TEXLAYERS);
}

void Map::showovertiles(Layer& l)
{
    drawtiles(l, CUTOUT, tile3, TEXLAYERS);
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

// ---------------------------------------------------------------------------
// The story
// ---------------------------------------------------------------------------

float darkness(int t)
{
    return 1 - ABS((float)cos(t / DAYRADIAN));
}

// The first script frame from `from` on whose darkness reached takes; every
// darkness comes round within a day's turn.
template <class F> static int firstframe(int from, F reached)
{
    int t = from;
    while (!reached(darkness(t))) t++;
    return t;
}

// The first script frame of day n: its noon, or just after.
static int noon(int day)
{
    return (int)std::ceil(day * DAYRADIAN * 3.141592653589793);
}

int duskframe(int day)
{
    return firstframe(noon(day), [](float d) { return !(d < DUSK); });
}

int nightframe(int day)
{
    return firstframe(noon(day), [](float d) { return d > NIGHTFALL; });
}

int dawnframe(int day)
{
    return firstframe(nightframe(day), [](float d) { return d < DUSK; });
}

const int WARNINGFRAME = duskframe(0) - WARNINGLEAD;

static void say(const char* text)
{
    Messagebox(text, "", "", "", "", "", "", "");
}

// Ten friends around the start tile, two monsters on each camp and a body in
// the village. Only the neutrals are cleared first.
void Map::initscript()
{
    for (int n = 0; n < SLOTS; n++) neutral[n].settype(0);

    for (const StoryTile& f : FRIENDTILES) putfriend(f.c, f.r);

    putenemy(ENEMYMONSTER, WESTCAMP.c, WESTCAMP.r);
    putenemy(ENEMYMONSTER, WESTCAMP.c, WESTCAMP.r);
    putenemy(ENEMYMONSTER, EASTCAMP.c, EASTCAMP.r);
    putenemy(ENEMYMONSTER, EASTCAMP.c, EASTCAMP.r);
    putcorpse(VILLAGERCORPSE, FIRSTCORPSE.c * TILE, FIRSTCORPSE.r * TILE);
}

// Enemies arrive as a monster and a raider on the same gate tile; friends
// in twos.
static void enemypair(const StoryTile& gate)
{
    putenemy(ENEMYMONSTER, gate.c, gate.r);
    putenemy(ENEMYRAIDER, gate.c, gate.r);
}

static void friendpair(const StoryTile& gate)
{
    putfriend(gate.c, gate.r);
    putfriend(gate.c, gate.r);
}

void Map::runscript()
{
    if (time == OPENINGFRAME) {
        say(_("On koston aika!"));
        say(_("Teurastakaa ne kaikki!"));
    }

    if (!(player.healt > 0)) {
        // The dead world darkens by a hundredth a frame until the game ends.
        // A death at the very instant of full daylight would leave night at
        // 0 for ever; start from the least darkness the clock can show.
        if (night == 0.0f) night = 5.96046448e-8f;
        night = (float)(night * 1.01);
        score = finalscore;
        return;
    }

    // Each random draw is made only when the trigger's other conditions hold.
    // TRANSLATORS: the game's font draws "{" as ä and "}" as ö, so the
    // Finnish texts write them so; a translation writes its letters as they
    // are, in UTF-8.
    if (time == WARNINGFRAME) say(_("Valmistautukaa pahimpaan, sill{ pian koittaa y}!"));
    if (playerx() > 1024 && worldrand() % 600 == 1) enemypair(WESTGATE);
    if (playerx() < 1024 && worldrand() % 600 == 1) enemypair(EASTGATE);
    if (playerx() < 1920 && worldrand() % 600 == 1) enemypair(EASTGATE);
    if (playerx() > 1920 && worldrand() % 600 == 1) enemypair(WESTGATE);
    if (night < DUSK && playery() > 544 && worldrand() % 700 == 1) friendpair(NORTHGATE);
    if (night < DUSK && playery() < 480 && worldrand() % 700 == 1) friendpair(SOUTHGATE);
    if (night > NIGHTFALL && playerx() < 1920 && worldrand() % 400 == 1) enemypair(EASTGATE);
    if (night > NIGHTFALL && playerx() > 1024 && worldrand() % 400 == 1) enemypair(WESTGATE);

    time = time + 1;
    night = darkness(time);
    finalscore = score;
}

void Map::warpto(int x, int y, int d, const char* nname)
{
    for (int i = KEYUP; i <= KEYRIGHT; i++) key[i] = false;
    player.setposition(x * TILE, y * TILE);
    Camera.set(x * TILE - 480, y * TILE - 384);
    player.d = d;
    load(nname);

    if (Camera.x < 0) Camera.x = 0;
    if (Camera.y < 0) Camera.y = 0;
    if (Camera.nx < 0) Camera.nx = 0;
    if (Camera.ny < 0) Camera.ny = 0;
    const int maxx = sizex * TILE - SCREEN_WIDTH;
    const int maxy = sizey * TILE - SCREEN_HEIGHT;
    if (Camera.x > maxx) Camera.x = maxx;
    if (Camera.y > maxy) Camera.y = maxy;
    if (Camera.nx > maxx) Camera.nx = (float)maxx;
    if (Camera.ny > maxy) Camera.ny = (float)maxy;
}
