// The GL switches shared by a run of drawing routines.
#include "layer.h"
#include "main.h"
#include "textures.h"

#include <GL/gl.h>

// Texturing, the alpha test and blending, by pen.
static const bool SWITCHES[4][3] = {
    {true, false, false}, {true, true, false}, {true, false, true}, {false, false, true}};

void Layer::use(Pen npen)
{
    static const bool OFF[3] = {false, false, false};
    const bool* was = pen < 0 ? OFF : SWITCHES[pen];
    const bool* now = SWITCHES[npen];
    if (was[0] != now[0]) now[0] ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
    if (was[1] != now[1]) {
        if (now[1]) {
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GREATER, 0.5f);
        } else {
            glDisable(GL_ALPHA_TEST);
        }
    }
    if (was[2] != now[2]) {
        if (now[2]) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        } else {
            glDisable(GL_BLEND);
        }
    }
    pen = npen;
}

void Layer::world(Pen npen, int slot)
{
    use(npen);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    bindtexture(slot);
    glTranslatef((float)-Camera.x, (float)-Camera.y, 0);
}

// A layer that drew nothing touches nothing.
void Layer::end()
{
    if (pen < 0) return;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glLoadIdentity();
    pen = -1;
}
