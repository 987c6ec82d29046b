// Corpses: a picture lying where a character died, lit like the ground under
// it, fading out over 2,000 drawn frames on the screen and then freeing its
// slot.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <GL/gl.h>

#include <cstdlib>

int putcorpse(int type, int x, int y)
{
    for (int n = 0; n < PLACESLOTS; n++) {
        if (map.corpseat(n).gettype() == 0) {
            map.corpseat(n).put(type, x, y);
            return 1;
        }
    }
    return 0;
}

void Corpse::put(int ntype, int nx, int ny)
{
    type = ntype;
    x = nx;
    y = ny;
    decay = 1.0f;
    mapx = (int)((x + 16) / 32.0);
    mapy = (int)((y + 16) / 32.0);
    d = worldrand() % 10 > 4 ? 1 : -1;
}

int Corpse::gettype()
{
    return type;
}

// An off-screen corpse is neither drawn nor aged.
void Corpse::age()
{
    if (!(decay > 0) || !inscreen(x, y)) return;
    decay = decay - 0.0005f;
    if (decay <= 0) type = 0;
}

void Corpse::show(Layer& l)
{
    if (!(decay > 0) || !inscreen(x, y)) return;

    l.world(BLENDED, TEXCORPSE);

    const Tint t = nighttint();
    const float top = (type - 1) / 16.0f;
    const float bottom = type / 16.0f;
    // Mirrored corpses swap s and are sent starting from the right corner.
    const float left = d < 0 ? 0.0f : 1.0f;
    const float right = 1.0f - left;

    glBegin(GL_QUADS);
    if (d < 0) {
        lightcolor(t, mapx, mapy, decay);
        glTexCoord2f(left, top);
        glVertex2i(x, y);
        lightcolor(t, mapx + 1, mapy, decay);
        glTexCoord2f(right, top);
        glVertex2i(x + 32, y);
        lightcolor(t, mapx + 1, mapy + 1, decay);
        glTexCoord2f(right, bottom);
        glVertex2i(x + 32, y + 32);
        lightcolor(t, mapx, mapy + 1, decay);
        glTexCoord2f(left, bottom);
        glVertex2i(x, y + 32);
    } else {
        lightcolor(t, mapx + 1, mapy, decay);
        glTexCoord2f(right, top);
        glVertex2i(x + 32, y);
        lightcolor(t, mapx, mapy, decay);
        glTexCoord2f(left, top);
        glVertex2i(x, y);
        lightcolor(t, mapx, mapy + 1, decay);
        glTexCoord2f(left, bottom);
        glVertex2i(x, y + 32);
        lightcolor(t, mapx + 1, mapy + 1, decay);
        glTexCoord2f(right, bottom);
        glVertex2i(x + 32, y + 32);
    }
    glEnd();
}
