// Monsters: unarmed fighters that hunt the other side, keep apart from each
// other, hurt the player by touch and take hits from swords and from
// monsters of the other side. Damage is always resolved in the victim's step.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <cmath>
#include <cstdlib>

Monster::Monster() : Hahmo(0, 0, 0), type(0), movecounter(0)
{
}

// The slot's old velocity, forces and recovery carry over.
void Monster::put(int nnx, int nny, int nd, int ntype, int nside)
{
    enter(nnx, nny, nd, nside);
    type = ntype;
}

void Monster::settype(int ntype)
{
    type = ntype;
}

void Monster::input()
{
    d = animate();
    const int mside = otherside(side);

    // One frame in twenty: look around, then head for the target.
    if (worldrand() % 20 == 2) {
        const int found = seektarget(mside);
        if (found) target = found;
        walktotarget(3.0f, true);
    }

    int j = monsterinarea(x - 12, y - 16, x + 12, y + 16, ANYSIDE);
    if (j > 0) hurt(heading(monsterx(j - 1) - x, monstery(j - 1) - y), 1.5f, 0);

    // A recovering monster neither takes nor deals damage.
    if (invulnerability == 0) {
        const int s = swordinarea(x + 4, y, x + 28, y + 32, mside);
        if (s > 0) hurt(neutralswordangle(s - 1, x + 16, y + 16), 17.5f, 34);

        j = monsterinarea(x - 12, y - 16, x + 12, y + 16, mside);
        if (j > 0 && worldrand() % 10 < 4 && monstervulnerable(j - 1))
            hurt(heading(monsterx(j - 1) - x, monstery(j - 1) - y), 12.5f, 5);

        if (playervulnerable()) {
            const float px = (float)(playerx() + 16);
            const float py = (float)(playery() + 16);
            if (inside(x + 4, y, x + 28, y + 32, px, py))
                hurtplayer(heading((x + 16) - px, (y + 16) - py), 12.5f, 8);
        }

        takeplayersword(34, 6);
    }

    if (move() == 1) turnaside();

    if (healt == 0) fall(type, MONSTERCORPSE, 5);
}

void Monster::show(Layer& l)
{
    if (!inscreen((int)x, (int)y)) return;
    const float band = (type - 1) / 8.0f;
    showbody(l, TEXMONSTER, TEXMONSTERFLASH, frame / 32.0f + band, (frame + 1) / 32.0f + band);
}

void Monster::showfinal(Layer& l)
{
    showhealt(l);
}
