// The common body of every character: movement towards a drifting target
// with knockback and collision, the walking animation, damage, the health
// bar and the sprite drawing shared by all kinds.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

Hahmo::Hahmo(int nnx, int nny, int nd)
    : healtfade(0), angle(0), mx(0), my(0), target(0), frame(0), side(0), counter(0),
      invulnerability(0), invcounter(0), invcolor(1), forcex(0), forcey(0), staticx(0),
      staticy(0), d(nd)
{
    x = nx = (float)(nnx * TILE);
    y = ny = (float)(nny * TILE);
    mapx = (int)((x + 16) / 32);
    mapy = (int)((y + 16) / 32);
    healt = 100;
}

void Hahmo::setposition(int nnx, int nny)
{
    x = nx = (float)nnx;
    y = ny = (float)nny;
    staticx = (int)(x + 16);
    staticy = (int)(y + 16);
    mapx = (int)((x + 16) / 32);
    mapy = (int)((y + 16) / 32);
}

void Hahmo::addx(float ax)
{
    x += ax;
    nx += ax;
}

void Hahmo::addy(float ay)
{
    y += ay;
    ny += ay;
}

// A push away from the point that angle aims at.
void Hahmo::addforce(float angle, float amount)
{
    forcex -= std::sin((double)angle) * amount;
    forcey -= std::cos((double)angle) * amount;
}

// One frame of knockback. A push that would end in a blocked cell is
// cancelled on its axis, not shortened.
void Hahmo::force()
{
    forcex = (float)(forcex / 1.35);
    forcey = (float)(forcey / 1.35);
    if (std::fabs(forcex) < 0.1f) forcex = 0;
    if (std::fabs(forcey) < 0.1f) forcey = 0;

    if (forcex != 0) {
        const float px = forcex < 0 ? x + 10 + forcex : x + 22 + forcex;
        if (!blockedat(px, y + 4) && !blockedat(px, y + 32))
            addx(forcex);
        else
            forcex = 0;
    }
    if (forcey != 0) {
        const float py = forcey < 0 ? y + 4 + forcey : y + 32 + forcey;
        if (!blockedat(x + 10, py) && !blockedat(x + 22, py))
            addy(forcey);
        else
            forcey = 0;
    }
}

// A probe that finds its cell blocked sends the target on its axis back to
// the body; a drifting character (faster than a pixel a frame) has run into
// the wall.
static void stopat(bool blocked, float& target, float body, float drift, int& r)
{
    if (!blocked) return;
    target = body;
    if (std::fabs(drift) > 1) r = 1;
}

// One frame of movement. The probes cover a box 12 pixels wide and 28 tall in
// the lower middle of the body; the bottom probe lies one pixel below the
// body, so a body on a tile edge tests the row below. Each axis is tested
// with the other axis's old position. Returns 1 when a drifting character
// (faster than a pixel a frame) ran into a wall.
int Hahmo::move()
{
    if (invulnerability > 0) invulnerability--;
    force();
    int r = 0;

    nx += mx;
    ny += my;
    stopat(blockedat(x + 10, ny + 32) || blockedat(x + 22, ny + 32), ny, y, my, r);
    stopat(blockedat(x + 10, ny + 4) || blockedat(x + 22, ny + 4), ny, y, my, r);
    stopat(blockedat(nx + 10, y + 4) || blockedat(nx + 10, y + 32), nx, x, mx, r);
    stopat(blockedat(nx + 22, y + 4) || blockedat(nx + 22, y + 32), nx, x, mx, r);
    if (nx < 0) nx = 0;
    if (ny < 0) ny = 0;

    x = x + (nx - x) / 4;
    y = y + (ny - y) / 4;
    mapx = (int)((x + 16) / 32);
    mapy = (int)((y + 16) / 32);
    return r;
}

bool Hahmo::moving()
{
    return nx > x + 2 || nx < x - 2 || ny > y + 2 || ny < y - 2 || std::fabs(forcex) > 0 ||
           std::fabs(forcey) > 0;
}

// Advances the walking frames (each held for six calls) and returns the
// facing the motion asks for: horizontal wins a diagonal unless the vertical
// part is clearly larger.
int Hahmo::animate()
{
    int nd = d;
    if (!moving()) {
        frame = 0;
        return nd;
    }
    if (counter++ > 4) {
        counter = 0;
        if (frame++ > 2) frame = 0;
    }

    if (ny > y + 2) nd = 1;
    if (ny < y - 2) nd = 0;
    if (nx > x + 2) nd = 3;
    if (nx < x - 2) nd = 2;
    if (ny > y + 2 || ny < y - 2) {
        const int a = std::abs((int)(ny - y));
        const int b = std::abs((int)(nx - forcex - x));
        if (a > b) {
            if (ny > y + 2) nd = 1;
            if (ny < y - 2) nd = 0;
        }
    }
    return nd;
}

// Knockback always; health, invulnerability and the bar only for damage.
void Hahmo::hurt(float angle, float amount, float damage)
{
    addforce(angle, amount);
    if (damage > 0) {
        invulnerability = 30;
        healtfade = 1;
        healt -= damage;
        if (healt < 0) healt = 0;
    }
}

// A 4-pixel bar above the body, red at its left end and green at full
// health on its right, fading out after the last hit.
// The bar fades by a hundredth each drawn frame it is on the screen.
static float faded(float healtfade)
{
    return (float)(healtfade - 0.01);
}

static bool barshown(float x, float y, float healtfade, float healt)
{
    return inscreen((int)x, (int)y) && healtfade > 0 && healt > 0;
}

void Hahmo::fadehealt()
{
    if (barshown(x, y, healtfade, healt)) healtfade = faded(healtfade);
}

void Hahmo::flash()
{
    if (invulnerability > 0 && invcounter++ > 1) {
        invcounter = 0;
        invcolor = -invcolor;
    }
}

// Drawn before the bar fades, as it will be.
void Hahmo::showhealt(Layer& l)
{
    if (!barshown(x, y, healtfade, healt)) return;
    const float a = faded(healtfade);
    const float right = x + healt * 30 / 100;

    l.use(PLAIN);
    glLoadIdentity();
    glTranslatef((float)-Camera.x, (float)-Camera.y, 0);
    glBegin(GL_QUADS);
    glColor4f(1, 0, 0, a);
    glVertex2f(x + 2, y - 5);
    glColor4f((100 - healt) / 100, healt / 100, 0, a);
    glVertex2f(right, y - 5);
    glVertex2f(right, y - 1);
    glColor4f(1, 0, 0, a);
    glVertex2f(x + 2, y - 1);
    glEnd();
}

void Hahmo::showbody(Layer& l, int bodyslot, int overlayslot, float vtop, float vbottom)
{
    const float u0 = d / 4.0f;
    const float u1 = (d + 1) / 4.0f;

    l.world(CUTOUT, bodyslot);

    litcell(nighttint(), mapx, mapy, x, y, u0, vtop, u1, vbottom);

    if (invulnerability > 0) {
        bindtexture(overlayslot);
        if (invcolor == 1)
            glColor3f(0, 0.3f, 0.8f);
        else
            glColor3f(1, 0.5f, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(u0, vtop);
        glVertex2f(x, y);
        glTexCoord2f(u1, vtop);
        glVertex2f(x + 32, y);
        glTexCoord2f(u1, vbottom);
        glVertex2f(x + 32, y + 32);
        glTexCoord2f(u0, vbottom);
        glVertex2f(x, y + 32);
        glEnd();
    }
}

// ---------------------------------------------------------------------------
// Steering shared by monsters and neutrals
// ---------------------------------------------------------------------------

void Hahmo::fall(int& type, int corpsekind, int points)
{
    putcorpse(corpsekind, (int)x, (int)y);
    type = 0;
    if (side == ENEMYSIDE) score += points;
}

void Hahmo::takeplayersword(float damage, int points)
{
    const float sx = playerlongswordx();
    const float sy = playerlongswordy();
    if (inside(x + 2, y + 2, x + 30, y + 30, sx, sy)) {
        hurt(playerswordangle(x + 16, y + 16), 17.5f, damage);
        invulnerability = 20;
        score += points;
    } else if (inside(x + 2, y + 2, x + 30, y + 30, playershortswordx(), playershortswordy())) {
        hurt(playerswordangle(x + 16, y + 16), 17.5f, damage);
        invulnerability = 20;
    }
}

void Hahmo::enter(int nnx, int nny, int nd, int nside)
{
    setposition(nnx * TILE, nny * TILE);
    d = nd;
    side = nside;
    healt = 100.0f;
    if (side == ENEMYSIDE) target = TARGETPLAYER;
}

// Within 50 pixels a monster beats a neutral, which beats the player; farther
// out the player comes first. Monsters are not looked for at 150 pixels.
int Hahmo::seektarget(int mside)
{
    int found;
    float h = 50;
    if ((found = monsterinarea(x - h, y - h, x + h, y + h, mside))) return TARGETMONSTER + found - 1;
    if ((found = neutralinarea(x - h, y - h, x + h, y + h, mside))) return TARGETNEUTRAL + found - 1;
    if (playerinarea(x - h, y - h, x + h, y + h, mside)) return TARGETPLAYER;
    h = 150;
    if (playerinarea(x - h, y - h, x + h, y + h, mside)) return TARGETPLAYER;
    if ((found = neutralinarea(x - h, y - h, x + h, y + h, mside))) return TARGETNEUTRAL + found - 1;
    h = 550;
    if (playerinarea(x - h, y - h, x + h, y + h, mside)) return TARGETPLAYER;
    if ((found = neutralinarea(x - h, y - h, x + h, y + h, mside))) return TARGETNEUTRAL + found - 1;
    if ((found = monsterinarea(x - h, y - h, x + h, y + h, mside))) return TARGETMONSTER + found - 1;
    return TARGETNONE;
}

void Hahmo::walkto(float tx, float ty, float speed, float offset)
{
    angle = (float)(std::atan2((double)(tx - x), (double)(ty - y)) + offset);
    mx = (float)(std::sin((double)angle) * speed);
    my = (float)(std::cos((double)angle) * speed);
}

void Hahmo::walktotarget(float speed, bool wobble)
{
    if (target == TARGETPLAYER) {
        walkto((float)playerx(), (float)playery(), speed, wobble ? rnd() : 0);
    } else if (target >= TARGETNEUTRAL && target < TARGETMONSTER) {
        const int i = target - TARGETNEUTRAL;
        walkto(neutralx(i), neutraly(i), speed, 0);
    } else if (target >= TARGETMONSTER && target < TARGETMONSTER + 100) {
        const int i = target - TARGETMONSTER;
        walkto(monsterx(i), monstery(i), speed, 0);
    }
}

void Hahmo::turnaside()
{
    if (worldrand() % 10 <= 4)
        angle += 1.5707963267948966;
    else
        angle -= 1.5707963267948966;
    mx = (float)(std::sin((double)angle) * 2.0);
    my = (float)(std::cos((double)angle) * 2.0);
}
