// Neutrals: sword-carrying characters. Enemies (type 1) hunt the player and
// his friends; friends (type 2) fight the enemies, follow the player, wait
// near him and heal. Both share every line; only their side differs.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <cmath>
#include <cstdlib>

Neutral::Neutral() : Hahmo(0, 0, 0), Weapon(), type(0), od(0), movecounter(0), hostile(0)
{
}

// Velocity, forces, recovery, the sword and a friend's old target carry
// over from the slot's last occupant.
void Neutral::put(int nnx, int nny, int nd, int ntype, int nside)
{
    enter(nnx, nny, nd, nside);
    type = ntype;
    hostile = 1;
}

void Neutral::settype(int ntype)
{
    type = ntype;
}

void Neutral::input()
{
    if (side == PLAYERSIDE && healt < 100.0f) healt += 0.01f;

    // The facing stays as struck until the sword has faded.
    if (swordfade == 0)
        d = animate();
    else
        animate();
    const int mside = otherside(side);
    swordcontrol();

    if (hostile != 0) {
        if (worldrand() % 20 == 2) {
            const int found = seektarget(mside);
            if (found)
                target = found;
            else if (playerside() == side && !playerinarea(x - 150, y - 150, x + 150, y + 150, ANYSIDE))
                target = TARGETFOLLOW;   // a friend with nothing to fight goes back to the player

            if (target == TARGETFOLLOW) {
                if (playerinarea(x - 150, y - 150, x + 150, y + 150, side)) {
                    mx = 0;
                    my = 0;
                } else {
                    walkto((float)playerx(), (float)playery(), 2.0f, 0);
                }
            } else {
                walktotarget(2.0f, false);
            }
        }

        // The strike box lies in front, by the facing.
        static const float box[4][4] = {
            {-16, -60, 16, -16}, {-16, 16, 16, 60}, {-60, -16, -16, 16}, {16, -16, 60, 16}};
        const float* b = box[d >= 0 && d <= 3 ? d : 0];
        const float x1 = x + b[0], y1 = y + b[1], x2 = x + b[2], y2 = y + b[3];
        if (playerinarea(x1, y1, x2, y2, mside)) swordstrike(d);
        if (monsterinarea(x1, y1, x2, y2, mside)) swordstrike(d);
        if (neutralinarea(x1, y1, x2, y2, mside)) swordstrike(d);
    }

    if (invulnerability == 0) {
        const int s = swordinarea(x + 4, y, x + 28, y + 32, mside);
        if (s > 0) hurt(neutralswordangle(s - 1, x + 16, y + 16), 17.5f, 34);

        const int j = monsterinarea(x - 12, y - 16, x + 12, y + 16, mside);
        if (j > 0 && monstervulnerable(j - 1))
            hurt(heading(monsterx(j - 1) - x, monstery(j - 1) - y), 12.5f, 21);

        // Friends are never hurt by the player.
        if (playerside() != side) takeplayersword(27, 10);
    }

    // An enemy's cutting sword hurts the player, recovering or not.
    if (playervulnerable() && cutting() && playerside() != side) {
        const float px = (float)playerx();
        const float py = (float)playery();
        const float sx = getlongswordx(d, x, y);
        const float sy = getlongswordy(d, x, y);
        if (inside(px + 2, py + 2, px + 30, py + 30, sx, sy))
            hurtplayer(getswordangle(d, x, y, px + 16, py + 16), 17.5f, 14);
        else if (inside(px + 2, py + 2, px + 30, py + 30, getshortswordx(d, x, y), getshortswordy(d, x, y)))
            hurtplayer(getswordangle(d, x, y, px + 16, py + 16), 17.5f, 14);
    }

    // Touching the player shoves both apart, without damage.
    const float px = (float)(playerx() + 16);
    const float py = (float)(playery() + 16);
    if (inside(x + 4, y, x + 28, y + 32, px, py)) {
        hurtplayer(heading((x + 16) - px, (y + 16) - py), 0.5f, 0);
        hurt(heading(px - (x + 16), py - (y + 16)), 0.5f, 0);
    }

    const int j = neutralinarea(x - 12, y - 16, x + 12, y + 16, ANYSIDE);
    if (j > 0) hurt(heading(neutralx(j - 1) - x, neutraly(j - 1) - y), 1.5f, 0);

    if (move() == 1) turnaside();

    if (healt == 0) fall(type, type == FRIEND ? VILLAGERCORPSE : RAIDERCORPSE, 9);
}

void Neutral::show(Layer& l)
{
    if (!inscreen((int)x, (int)y)) return;
    const float band = (type - 1) / 8.0f;
    showbody(l, TEXNEUTRAL, TEXNEUTRALFLASH, frame / 32.0f + band, (frame + 1) / 32.0f + band);
}

void Neutral::showfinal(Layer& l)
{
    showsword(l, d, x, y, mapx, mapy);
    showhealt(l);
}
