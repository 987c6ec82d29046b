// Kuurakarpalo's shared world: the records of the world and its
// characters, the world's globals, and the codes and times every part of
// the world names. It needs nothing of the system, the display or the
// sound; each room has a header of its own for what it offers.
#ifndef KUURAKARPALO_MAIN_H
#define KUURAKARPALO_MAIN_H

#include <cstdint>

// The test rig's window into private state. Only the tests define it.
struct Rig;
// Drawing routines run in a layer (layer.h); a map file's data (mapfile.h).
class Layer;
struct MapData;

// ---------------------------------------------------------------------------
// Codes and times
// ---------------------------------------------------------------------------

const int SCREEN_WIDTH = 1024;      // pixels
const int SCREEN_HEIGHT = 768;      // pixels
const int FRAMES_PER_SECOND = 40;   // ceiling of the frame rate
const int FRAMEMS = 1000 / FRAMES_PER_SECOND;   // milliseconds, 25: the shortest frame

enum { KEYUP, KEYDOWN, KEYLEFT, KEYRIGHT, KEYSPACE };   // the entries of key the game uses

// What the player's keys do: walk, swing the sword, quit and pause, each
// bound to keys of the player's choice; the first five are the entries of
// key the world reads. Alt+Enter switches full screen, bound to nothing. A
// tap on a touch screen's picture closes a message box as the swing does,
// and does nothing in the world.
enum Action {
    ACTIONUP = KEYUP, ACTIONDOWN = KEYDOWN, ACTIONLEFT = KEYLEFT, ACTIONRIGHT = KEYRIGHT, ACTIONSWING = KEYSPACE,
    ACTIONQUIT, ACTIONPAUSE, ACTIONS,
    ACTIONFULLSCREEN = ACTIONS, ACTIONTAP
};

// Absolute value of a float.
float ABS(float a);

// ---------------------------------------------------------------------------
// The world: map, camera, story, corpses
// ---------------------------------------------------------------------------

const int MAPW = 199;                    // cells in each row and column of every grid
const int MAPCELLS = MAPW * MAPW;        // cells of one grid
const int TILE = 32;                     // pixels in a tile's side
const int SLOTS = 99;                    // slots of each character and corpse table
const int PLACESLOTS = 97;               // slots the placing functions fill
const int DAYLIGHT = 9;                  // light of full brightness

// The story's fixed tiles: where it places the hero and the characters it
// brings. A map for the game keeps each of them on open ground.
struct StoryTile {
    int c, r;            // column and row
    const char* what;
};
const StoryTile PLAYERSTART = {46, 9, "player start"};
const StoryTile FRIENDTILES[10] = {
    {48, 9, "friend"}, {48, 8, "friend"}, {49, 6, "friend"}, {47, 7, "friend"}, {44, 9, "friend"},
    {44, 8, "friend"}, {43, 6, "friend"}, {45, 7, "friend"}, {43, 10, "friend"}, {49, 10, "friend"}};
const StoryTile WESTCAMP = {11, 9, "west monster camp"};
const StoryTile EASTCAMP = {79, 9, "east monster camp"};
const StoryTile WESTGATE = {11, 29, "west enemy gate"};
const StoryTile EASTGATE = {79, 29, "east enemy gate"};
const StoryTile NORTHGATE = {53, 3, "north arrival"};
const StoryTile SOUTHGATE = {46, 35, "south arrival"};
const StoryTile FIRSTCORPSE = {46, 12, "corpse"};
// Every story tile, the player's start first.
extern const StoryTile* const STORYTILES[18];   // map.cpp

// The script's clock counts frames from 0, noon of the first day. At script
// frame t the darkness is 1 - |cos(t / DAYRADIAN)|: 0 at noon, 1 at
// midnight, so a day and its night last DAYRADIAN * pi frames (6,283).
const double DAYRADIAN = 2000.0;   // script frames in a radian of the day's turn
const double DUSK = 0.25;          // darkness from which the day is over: friends stop coming
const double NIGHTFALL = 0.75;     // darkness above which it is night: enemies come more often

// When the story speaks, in script frames.
const int OPENINGFRAME = 20;       // the opening lines
const int WARNINGLEAD = 46;        // how long before the first dusk the night is foretold
extern const int WARNINGFRAME;     // map.cpp: duskframe(0) - WARNINGLEAD, 1400

extern int stop[MAPCELLS];    // map.cpp: non-zero blocks movement; index row * 199 + column
extern int light[MAPCELLS];   // map.cpp: brightness at a cell's top-left corner, 9 full daylight

// The world pixel at the screen's top-left corner, gliding towards (nx, ny).
struct View {
    int x;      // pixels
    int y;      // pixels
    float nx;   // target x, pixels
    float ny;   // target y, pixels
    void set(int nnx, int nny);
    void move();
};
extern View Camera;   // map.cpp
// The camera's first view, pixels: over the hero's start, as far up as it goes.
const int STARTVIEWX = 992;
const int STARTVIEWY = 0;

// What a drawing routine needs switched on: texturing alone (the ground),
// texturing with the alpha test GREATER 0.5 (upper tiles, bodies), texturing
// with blending SRC_ALPHA, ONE_MINUS_SRC_ALPHA (corpses, swords), or
// blending alone (health bars).
enum Pen { GROUND, CUTOUT, BLENDED, PLAIN };

// What a corpse shows: its row in the corpse strip, from the top, 1..16; 0
// marks a free slot. The hero falls as a villager.
enum CorpseKind { RAIDERCORPSE = 1, VILLAGERCORPSE = 2, MONSTERCORPSE = 3 };

class Corpse {
    int type;      // a CorpseKind; 0 free
    int x, y;      // top-left in map pixels
    int mapx;      // cell under the centre
    int mapy;
    int d;         // 1 or -1: mirrored or as stored
    float decay;   // opacity, 1 when placed
    friend struct Rig;

public:
    void put(int ntype, int nx, int ny);
    int gettype();
    // Ages the corpse in a drawn frame: each takes 0.0005 of its opacity,
    // so after 2,000 its slot is free. An off-screen corpse does not age.
    void age();
    // Draws the corpse, unless it is off the screen.
    void show(Layer& l);

    // Calls v(name, field) for every field, in declaration order.
    template <class V> void fields(V&& v)
    {
        v("type", type), v("x", x), v("y", y), v("mapx", mapx), v("mapy", mapy), v("d", d);
        v("decay", decay);
    }
};

// Characters (hahmo.cpp, weapon.cpp, player.cpp, neutrals.cpp, monsters.cpp)
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Characters
// ---------------------------------------------------------------------------

// Sides: the hero and his friends against the monsters and the raiders. The
// area tests take ANYSIDE for either.
enum Side { ANYSIDE = -1, PLAYERSIDE = 0, ENEMYSIDE = 1 };
// The side a character of this side fights.
inline int otherside(int side)
{
    return side == ENEMYSIDE ? PLAYERSIDE : ENEMYSIDE;
}

// What a computer character heads for: nobody, the hero, neutral slot i as
// TARGETNEUTRAL + i, monster slot i as TARGETMONSTER + i; a friend with
// nobody to fight follows the hero.
enum Target { TARGETFOLLOW = -1, TARGETNONE = 0, TARGETPLAYER = 1, TARGETNEUTRAL = 100, TARGETMONSTER = 200 };

// The type a live character slot holds; 0 marks a free slot. A neutral is a
// raider, of the enemy side, or a friend; a monster is a monster.
enum NeutralType { RAIDER = 1, FRIEND = 2 };
enum MonsterType { MONSTER = 1 };
// What putenemy brings: a raider into a neutral slot, or a monster.
enum EnemyKind { ENEMYRAIDER = 1, ENEMYMONSTER = 2 };

// The common body of every character: position easing towards a target that
// drifts, knockback, facing, walking animation, damage and health.
class Hahmo {
protected:
    float healtfade;      // opacity of the health bar, 0..1
    float angle;          // heading, radians, atan2(dx, dy)
    float mx;             // drift of the target, pixels per frame
    float my;
    int target;           // a target code: TARGETNONE, TARGETPLAYER, TARGETNEUTRAL + slot, ...
    int frame;            // walking frame, 0..3
    int side;             // PLAYERSIDE or ENEMYSIDE
    int counter;          // animation ticks, 0..5
    int invulnerability;  // frames left
    int invcounter;       // overlay flash ticks, 0..2
    int invcolor;         // overlay flash phase, 1 or -1
    float x;              // body top-left, pixels
    float y;
    float nx;             // target, pixels
    float ny;
    float forcex;         // knockback velocity, pixels per frame
    float forcey;
    int staticx;          // body centre at the last setposition
    int staticy;
    friend struct Rig;

public:
    int d;                // facing: 0 up, 1 down, 2 left, 3 right
    int mapx;             // tile of the body centre
    int mapy;
    float healt;          // health, 100 full; the player's -100 once its death is handled

    Hahmo(int nnx, int nny, int nd);
    int move();
    void setposition(int nnx, int nny);
    // The queries every area test asks of every slot, defined here so that
    // they cost no call.
    int getx() { return (int)x; }
    int gety() { return (int)y; }
    int getd() { return d; }
    int getside() { return side; }
    bool vulnerable() { return invulnerability < 1; }
    bool moving();
    int animate();
    void hurt(float angle, float amount, float damage);
    // What a drawn frame moves on: the invulnerable body's flash turns its
    // colour every third one; the health bar, on the screen, fades by a
    // hundredth.
    void flash();
    void fadehealt();

    // Calls v(name, field) for every field, in declaration order.
    template <class V> void fields(V&& v)
    {
        v("healtfade", healtfade), v("angle", angle), v("mx", mx), v("my", my);
        v("target", target), v("frame", frame), v("side", side), v("counter", counter);
        v("invulnerability", invulnerability), v("invcounter", invcounter);
        v("invcolor", invcolor), v("x", x), v("y", y), v("nx", nx), v("ny", ny);
        v("forcex", forcex), v("forcey", forcey), v("staticx", staticx), v("staticy", staticy);
        v("d", d), v("mapx", mapx), v("mapy", mapy), v("healt", healt);
    }

protected:
    void addx(float ax);
    void addy(float ay);
    void force();
    void addforce(float angle, float amount);
    // Draws the health bar above the body, as faded in this frame.
    void showhealt(Layer& l);
    // Brings a free slot into play on tile (nnx, nny) with full health; the
    // enemy side starts out hunting the player. Nothing else is reset.
    void enter(int nnx, int nny, int nd, int nside);
    // Once health has run out: a corpse of kind corpsekind where the body
    // lies, the slot (type) freed, and points for a fallen enemy.
    void fall(int& type, int corpsekind, int points);
    // The hero's cutting sword with its tip inside the body, 2 pixels in:
    // damage, knockback away from him and 20 frames of recovery; points for
    // a hit of the long sword.
    void takeplayersword(float damage, int points);
    // The target code of the nearest character of side mside, looked for in
    // growing squares around the body; 0 when nobody is near.
    int seektarget(int mside);
    // Heads for (tx, ty), turned by offset radians, at speed pixels a frame.
    void walkto(float tx, float ty, float speed, float offset);
    // Heads for the character a target code names; code 0 keeps the heading.
    // With wobble, the way to the player is turned by a random angle.
    void walktotarget(float speed, bool wobble);
    // After running into a wall: a quarter turn either way, at speed 2.
    void turnaside();
    // Draws the 32 by 32 body from a sprite sheet, lit by the character's
    // tile, and the flashing overlay while invulnerable.
    void showbody(Layer& l, int bodyslot, int overlayslot, float vtop, float vbottom);
};

// The sword of the player and the neutrals: a swing of seven cutting frames
// followed by a fade.
class Weapon {
protected:
    int swordhit;      // swing phase: 0 none, 1..6 swinging
    int swordd;        // facing at the strike; chooses the pivot
    float swordfade;   // opacity, 1 while swinging
    float sworda;      // blade angle, degrees
    float swordb;      // blade extension, 0..1
    friend struct Rig;

    // The last tip worked out by longswordtip and what it was worked out
    // from; every other character's step asks for it again unchanged.
    struct Tip {
        bool known;
        int d;
        float x, y, a, b;   // position, sworda, swordb
        float tipx, tipy;
    } tip;

    void swordcontrol();
    void swordstrike(int d);

public:
    Weapon() : swordhit(0), swordd(0), swordfade(0), sworda(0), swordb(0), tip{} {}
    bool cutting() { return swordfade >= 1; }
    float getlongswordx(int d, float x, float y);
    float getlongswordy(int d, float x, float y);
    // Both, as getlongswordx and getlongswordy give them.
    void longswordtip(int d, float x, float y, float& tx, float& ty);
    float getshortswordx(int d, float x, float y);
    float getshortswordy(int d, float x, float y);
    float getswordangle(int d, float x, float y, float ex, float ey);
    void showsword(Layer& l, int d, float x, float y, int mapx, int mapy);

    template <class V> void fields(V&& v)
    {
        v("swordhit", swordhit), v("swordd", swordd), v("swordfade", swordfade);
        v("sworda", sworda), v("swordb", swordb);
    }
};

class Player : public Hahmo, public Weapon {
    friend struct Rig;

public:
    Player(int nnx, int nny, int nd);
    void input();
    // A drawn frame heals the living hero by 0.02, so a paced game heals
    // him FRAMES_PER_SECOND times as much a second.
    void regenerate();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        Weapon::fields(v);
    }
};

class Neutral : public Hahmo, public Weapon {
    int type;          // 0 free, 1 enemy, 2 friend
    int od;
    int movecounter;
    int hostile;       // 1: retargets, steers and strikes
    friend struct Rig;

public:
    Neutral();
    void put(int nnx, int nny, int nd, int ntype, int nside);
    int gettype() { return type; }
    void settype(int ntype);
    void input();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        Weapon::fields(v);
        v("type", type), v("od", od), v("movecounter", movecounter), v("hostile", hostile);
    }
};

class Monster : public Hahmo {
    int type;          // 0 free, 1 a monster
    int movecounter;
    friend struct Rig;

public:
    Monster();
    void put(int nnx, int nny, int nd, int ntype, int nside);
    int gettype() { return type; }
    void settype(int ntype);
    void input();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        v("type", type), v("movecounter", movecounter);
    }
};

// ---------------------------------------------------------------------------
// The world record
// ---------------------------------------------------------------------------

class Map {
    int tile[MAPCELLS];    // ground layer
    int tile2[MAPCELLS];   // second layer, under the characters; 0 empty
    int tile3[MAPCELLS];   // over layer, above the characters; 0 empty
    int status;
    int tset;              // tile set: 0 outdoors, 1 cave
    int rollx;             // first tile column of the tile window
    int rolly;             // first tile row of the tile window
    int sizex;             // width in tiles
    int sizey;             // height in tiles
    int time;              // script clock, frames
    char name[20];         // file name of the loaded map
    Player player;
    Neutral neutral[SLOTS];
    Monster monster[SLOTS];
    Corpse corpse[SLOTS];

    void erase();
    void markborder();
    void controlcamera();
    void showtiles(Layer& l);
    void showovertiles(Layer& l);
    void showlayer(const int* layer, int slot);
    // One tile layer, drawn with pen from a tile-set slot.
    void drawtiles(Layer& l, Pen pen, const int* layer, int slot);

    friend struct Rig;

public:
    // An empty world; open() reads one in.
    Map();
    // The world read by open().
    Map(const char* nname);
    ~Map();
    // Loads a map file and blocks the row below it and the column right of it.
    void open(const char* nname);
    void load(const char* nname);
    // The same for a map file's data already read and checked by parsemap;
    // nname is kept as the world's name, cut to 19 characters.
    void open(const MapData& data, const char* nname);
    void load(const MapData& data, const char* nname);
    void loadtextures();
    void warpto(int x, int y, int d, const char* nname);
    void runscript();
    void initscript();
    // Draws the whole world as it stands.
    void show();
    // One drawn frame of the world, in a message box's frames too: what it
    // moves on (corpses age, health bars fade, the hero regenerates,
    // invulnerable characters flash), around the picture when there is one.
    // Without a picture the world moves on exactly as with one.
    void showframe(bool picture);
    void control();

    // Every character and corpse slot free and zeroed, the hero new on his
    // start tile, the script clock and the scroll window at 0.
    void reset();

    // The records by slot, as the world's functions read and move them.
    Player& hero() { return player; }
    Neutral& neutralat(int n) { return neutral[n]; }
    Monster& monsterat(int n) { return monster[n]; }
    Corpse& corpseat(int n) { return corpse[n]; }

    // Calls v(kind, slot, record) for the player ("player", slot 0) and for
    // every neutral, monster and corpse slot, live or free, in that order.
    template <class V> void records(V&& v)
    {
        v("player", 0, player);
        for (int n = 0; n < SLOTS; n++) v("neutral", n, neutral[n]);
        for (int n = 0; n < SLOTS; n++) v("monster", n, monster[n]);
        for (int n = 0; n < SLOTS; n++) v("corpse", n, corpse[n]);
    }
    // Calls v(name, counter) for the world's counters beside the records:
    // the script clock, the camera and the scroll window.
    template <class V> void counters(V&& v)
    {
        v("time", time), v("camera.x", Camera.x), v("camera.y", Camera.y);
        v("camera.nx", Camera.nx), v("camera.ny", Camera.ny), v("rollx", rollx), v("rolly", rolly);
    }
};

extern Map map;   // main.cpp: the world; the entry function opens kuurakarpalo.map into it

extern uint32_t mapcrc;   // map.cpp: CRC-32 of the map file loaded last

// ---------------------------------------------------------------------------
// The world's globals
// ---------------------------------------------------------------------------

extern bool key[9];          // main.cpp: [0..3] up, down, left, right held; [4] space pressed this frame
extern int score;            // main.cpp: points, printed every frame
extern int finalscore;       // main.cpp: score of the last living frame
extern float night;          // main.cpp: darkness, 0 day .. 1 night; above 100 ends the game
extern int lastmonster;      // main.cpp: monster slot whose step runs, -1 outside the loop
extern int lastneutral;      // main.cpp: neutral slot whose step runs, -1 outside the loop

#endif
