// The bitmap font: 256 glyphs in a 16 by 16 grid of texture slot 3, one
// display list each. Every glyph is a 16-pixel quad; the pen moves 10 pixels.
// Texts are UTF-8: each character is one glyph.
#include "font.h"
#include "text.h"
#include "textures.h"
#include "fontletters.h"

#include <GL/gl.h>

GLuint base;

void BuildFont()
{
    base = glGenLists(256);
    bindtexture(TEXFONT);
    for (int n = 0; n < 256; n++) {
        const float cx = float(n % 16) / 16.0f;
        const float cy = float(n / 16) / 16.0f;
        glNewList(base + n, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, 1 - cy - 0.0625f);
        glVertex2i(0, 16);
        glTexCoord2f(cx + 0.0625f, 1 - cy - 0.0625f);
        glVertex2i(16, 16);
        glTexCoord2f(cx + 0.0625f, 1 - cy);
        glVertex2i(16, 0);
        glTexCoord2f(cx, 1 - cy);
        glVertex2i(0, 0);
        glEnd();
        glTranslated(10, 0, 0);
        glEndList();
    }
}

// The cell of a set that draws a character: printable ASCII in order from
// the space, a letter of FONTLETTERS in its own, anything else as "?".
static int glyphcell(unsigned code)
{
    if (code >= 32 && code <= 127) return (int)code - 32;
    for (const FontLetter& l : FONTLETTERS)
        if (l.code == code) return l.cell;
    return '?' - 32;
}

void glPrintn(GLint x, GLint y, const char* string, size_t n, int set, int color)
{
    if (set > 1) set = 1;
    if (color == 0)
        glColor4f(1, 1, 1, 1);
    else
        glColor4f(1, 0, 0, 1);

    glEnable(GL_TEXTURE_2D);
    bindtexture(TEXFONT);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glLoadIdentity();
    glTranslated(x, y, 0);
    const GLuint setbase = base + 128 * (set < 0 ? 0 : set);
    const char* p = string;
    for (size_t i = 0; i < n && *p != '\0'; i++) glCallList(setbase + glyphcell(nextchar(p)));
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glLoadIdentity();
}

void glPrint(GLint x, GLint y, const char* string, int set, int color)
{
    glPrintn(x, y, string, (size_t)-1, set, color);
}

void KillFont()
{
    glDeleteLists(base, 256);
}
