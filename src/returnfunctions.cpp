// How characters see each other: positions, vulnerability, sword tips, the
// area and hit tests, random angles, and placing new characters.
#include "main.h"
#include "world.h"

#include <cmath>
#include <cstdlib>

bool playervulnerable()
{
    return map.hero().vulnerable();
}

bool neutralvulnerable(int m)
{
    return map.neutralat(m).vulnerable();
}

bool monstervulnerable(int m)
{
    return map.monsterat(m).vulnerable();
}

int playerx()
{
    return map.hero().getx();
}

int playery()
{
    return map.hero().gety();
}

float playerhealt()
{
    return map.hero().healt;
}

int playerside()
{
    return map.hero().getside();
}

float monsterx(int m)
{
    return (float)map.monsterat(m).getx();
}

float monstery(int m)
{
    return (float)map.monsterat(m).gety();
}

float neutralx(int m)
{
    return (float)map.neutralat(m).getx();
}

float neutraly(int m)
{
    return (float)map.neutralat(m).gety();
}

// The sword queries give 0 unless the sword is cutting. The tip is that of
// the player's sword at his truncated position.
static float playertip(Player& p, float (Weapon::*tip)(int, float, float))
{
    if (!p.cutting()) return 0;
    const float y = (float)p.gety();
    const float x = (float)p.getx();
    return (p.*tip)(p.getd(), x, y);
}

float playerlongswordx()
{
    return playertip(map.hero(), &Weapon::getlongswordx);
}

float playerlongswordy()
{
    return playertip(map.hero(), &Weapon::getlongswordy);
}

float playershortswordx()
{
    return playertip(map.hero(), &Weapon::getshortswordx);
}

float playershortswordy()
{
    return playertip(map.hero(), &Weapon::getshortswordy);
}

float playerswordangle(float x, float y)
{
    Player& p = map.hero();
    if (!p.cutting()) return 0;
    const float py = (float)p.gety();
    const float px = (float)p.getx();
    return p.getswordangle(p.getd(), px, py, x, y);
}

float neutralswordangle(int m, float x, float y)
{
    Neutral& n = map.neutralat(m);
    if (!n.cutting()) return 0;
    const float ny = (float)n.gety();
    const float nx = (float)n.getx();
    return n.getswordangle(n.getd(), nx, ny, x, y);
}

void hurtplayer(float angle, float amount, float damage)
{
    map.hero().hurt(angle, amount, damage);
}

// The additive feedback generator x[n] = x[n-3] + x[n-31] (mod 2^32) over 31
// words, its output the upper 31 bits: the generator behind the GNU C
// library's rand(), so that every build of the game, on any C library, draws
// the sequence the game was made with. The state is seeded by the
// multiplicative generator 16807 x mod (2^31 - 1), as Schrage computes it,
// and the first 310 outputs are thrown away.
static const int RANDWORDS = 31;
static const int RANDLAG = 3;
static struct {
    uint32_t word[RANDWORDS];
    int front;     // the word that takes the sum: RANDLAG ahead of rear
    int rear;
    bool seeded;   // unseeded, the generator starts as seeded with 1
} randstate;

static int nextrand()
{
    uint32_t& w = randstate.word[randstate.front];
    w += randstate.word[randstate.rear];
    if (++randstate.front == RANDWORDS) randstate.front = 0;
    if (++randstate.rear == RANDWORDS) randstate.rear = 0;
    return (int)(w >> 1);
}

void worldsrand(unsigned seed)
{
    int32_t w = seed == 0 ? 1 : (int32_t)seed;
    randstate.word[0] = (uint32_t)w;
    for (int i = 1; i < RANDWORDS; i++) {
        const long hi = w / 127773;
        const long lo = w % 127773;
        w = (int32_t)(16807 * lo - 2836 * hi);
        if (w < 0) w += 2147483647;
        randstate.word[i] = (uint32_t)w;
    }
    randstate.front = RANDLAG;
    randstate.rear = 0;
    randstate.seeded = true;
    for (int i = 0; i < 10 * RANDWORDS; i++) nextrand();
}

int worldrand()
{
    if (!randstate.seeded) worldsrand(1);
    return nextrand();
}

float rnd()
{
    const int a = worldrand() % 70;
    const int b = worldrand() % 70;
    return (float)((a - b) * 0.017453292519943295);
}

float heading(float dx, float dy)
{
    return (float)std::atan2((double)dx, (double)dy);
}

bool inside(float x1, float y1, float x2, float y2, float px, float py)
{
    return x1 < px && y1 < py && px < x2 && py < y2;
}

// The strict bounds of a rectangle on whole pixels: for a whole number p and
// a float b, b < p exactly when floor(b) < p, and p < b exactly when
// p < ceil(b). Positions are whole pixels far below 2^24, which floats hold
// exactly, so the test below gives what inside() gives on them, without a
// conversion per character. False for a bound that is not a number.
struct Bounds {
    int left, top, right, bottom;
    bool valid;
    Bounds(float x1, float y1, float x2, float y2)
        : left(whole(std::floor((double)x1))), top(whole(std::floor((double)y1))),
          right(whole(std::ceil((double)x2))), bottom(whole(std::ceil((double)y2))),
          valid(x1 == x1 && y1 == y1 && x2 == x2 && y2 == y2)
    {
    }
    static int whole(double v) { return v < -1e9 ? -1000000000 : v > 1e9 ? 1000000000 : (int)v; }
    bool holds(int px, int py) const { return left < px && top < py && px < right && py < bottom; }
};

// Slot + 1 of the first live character of slots (side, or any for ANYSIDE)
// inside the rectangle, skipping slot skip; 0 for none.
template <class T>
static int firstinarea(T* slots, int skip, float x1, float y1, float x2, float y2, int side)
{
    const Bounds b(x1, y1, x2, y2);
    if (!b.valid) return 0;
    for (int n = 0; n < SLOTS; n++) {
        T& m = slots[n];
        if (m.getside() != side && side != ANYSIDE) continue;
        if (n == skip) continue;
        if (m.gettype() <= 0) continue;
        if (b.holds(m.getx(), m.gety())) return n + 1;
    }
    return 0;
}

int monsterinarea(float x1, float y1, float x2, float y2, int side)
{
    return firstinarea(&map.monsterat(0), lastmonster, x1, y1, x2, y2, side);
}

int neutralinarea(float x1, float y1, float x2, float y2, int side)
{
    return firstinarea(&map.neutralat(0), lastneutral, x1, y1, x2, y2, side);
}

int playerinarea(float x1, float y1, float x2, float y2, int side)
{
    Player& p = map.hero();
    if (p.getside() != side && side != ANYSIDE) return 0;
    return inside(x1, y1, x2, y2, (float)p.getx(), (float)p.gety()) ? 1 : 0;
}

// Here ANYSIDE is not a wildcard: only a neutral whose side is exactly -1
// would match it.
int swordinarea(float x1, float y1, float x2, float y2, int side)
{
    for (int n = 0; n < SLOTS; n++) {
        Neutral& m = map.neutralat(n);
        if (n == lastneutral) continue;
        if (m.gettype() <= 0) continue;
        if (m.getside() != side) continue;
        if (!m.cutting()) continue;
        float sx, sy;
        m.longswordtip(m.getd(), (float)m.getx(), (float)m.gety(), sx, sy);
        if (inside(x1, y1, x2, y2, sx, sy)) return n + 1;
    }
    return 0;
}

int putenemy(int kind, int x, int y)
{
    for (int n = 0; n < PLACESLOTS; n++) {
        if (kind == ENEMYRAIDER && map.neutralat(n).gettype() == 0) {
            map.neutralat(n).put(x, y, 1, RAIDER, ENEMYSIDE);
            return 1;
        }
        if (kind == ENEMYMONSTER && map.monsterat(n).gettype() == 0) {
            map.monsterat(n).put(x, y, 1, MONSTER, ENEMYSIDE);
            return 1;
        }
    }
    return 0;
}

int putfriend(int x, int y)
{
    for (int n = 0; n < PLACESLOTS; n++) {
        if (map.neutralat(n).gettype() == 0) {
            map.neutralat(n).put(x, y, 1, FRIEND, PLAYERSIDE);
            return 1;
        }
    }
    return 0;
}
