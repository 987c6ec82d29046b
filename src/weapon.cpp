// The sword: a swing of 87 degrees over six frames that grows to full length
// in three, cuts for seven frames, then fades out; the tip that hit tests
// use; and the blade drawn as one rotated, lit, translucent quad.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <GL/gl.h>

#include <cmath>

static const double DEGREES = 0.017453292519943295;   // radians per degree

// Only an idle sword that has faded out completely can strike.
void Weapon::swordstrike(int d)
{
    if (swordhit != 0 || swordfade != 0) return;
    swordhit = 1;
    swordfade = 1;
    swordd = d;
    if (d == 0)
        sworda = 5;
    else if (d == 1)
        sworda = 185;
    else
        sworda = 95;
    swordb = 0;
}

void Weapon::swordcontrol()
{
    if (swordhit > 0) {
        swordhit++;
        sworda += 14.5f;
        swordb += 0.334;
        if (swordb > 1) swordb = 1;
        if (swordhit > 6) swordhit = 0;
    } else if (swordfade > 0) {
        swordfade -= 0.15;
        if (swordfade < 0) swordfade = 0;
    }
}

float Weapon::getlongswordx(int d, float x, float y)
{
    (void)y;
    const double a = sworda * DEGREES;
    switch (d) {
    case 0: return (float)(x + 14 + 18 * std::cos(a));
    case 1: return (float)(x + 18 + 18 * std::cos(a));
    case 2: return (float)(x + 8 - 15 * swordb);
    case 3: return (float)(x + 24 + 15 * swordb);
    default: return 0;
    }
}

float Weapon::getlongswordy(int d, float x, float y)
{
    (void)x;
    const double a = sworda * DEGREES;
    switch (d) {
    case 0: return (float)(y + 8 - 15 * swordb);
    case 1: return (float)(y + 24 + 15 * swordb);
    case 2:
    case 3: return (float)(y + 22 + 18 * std::sin(-a));
    default: return 0;
    }
}

void Weapon::longswordtip(int d, float x, float y, float& tx, float& ty)
{
    if (!(tip.known && tip.d == d && tip.x == x && tip.y == y && tip.a == sworda && tip.b == swordb))
        tip = Tip{true, d, x, y, sworda, swordb, getlongswordx(d, x, y), getlongswordy(d, x, y)};
    tx = tip.tipx;
    ty = tip.tipy;
}

// The short sword has no tip of its own.
float Weapon::getshortswordx(int, float, float)
{
    return 0;
}

float Weapon::getshortswordy(int, float, float)
{
    return 0;
}

// The direction from the victim at (ex, ey) towards the sword's pivot, so a
// hurt pushes the victim away from the wielder.
float Weapon::getswordangle(int d, float x, float y, float ex, float ey)
{
    float px = x + 16;
    float py = y + 12;
    if (d == 0) {
        px = x + 20;
        py = y + 16;
    } else if (d == 1) {
        px = x + 12;
        py = y + 16;
    }
    return heading(px - ex, py - ey);
}

void Weapon::showsword(Layer& l, int d, float x, float y, int mapx, int mapy)
{
    if (!(swordfade > 0) || !inscreen((int)x, (int)y)) return;

    l.use(BLENDED);
    glLoadIdentity();
    glColor4f(1, 1, 1, swordfade);
    bindtexture(TEXSWORD);

    // The pivot sits in the hand of the facing at the strike.
    static const int pivot[4][2] = {{12, 20}, {20, 12}, {20, 24}, {12, 24}};
    const int sd = swordd >= 0 && swordd <= 3 ? swordd : 0;
    glTranslatef((pivot[sd][0] - Camera.x) + x, (pivot[sd][1] - Camera.y) + y, 0);
    glRotatef(d == 3 ? sworda : -sworda, 0, 0, 1);
    const float s = d == 3 ? -1.0f : 1.0f;
    const float tip = (64 * swordb + 12) * s;

    const Tint t = nighttint();
    glBegin(GL_QUADS);
    lightcolor(t, mapx, mapy, swordfade);
    glTexCoord2f(0, 0);
    glVertex2f(12 * s, -8);
    lightcolor(t, mapx + 1, mapy, swordfade);
    glTexCoord2f(1, 0);
    glVertex2f(tip, -8);
    lightcolor(t, mapx + 1, mapy + 1, swordfade);
    glTexCoord2f(1, 1);
    glVertex2f(tip, 8);
    lightcolor(t, mapx, mapy + 1, swordfade);
    glTexCoord2f(0, 1);
    glVertex2f(12 * s, 8);
    glEnd();
}
