// The bitmap font: 256 glyphs in a 16 by 16 grid of texture slot 3, one
// display list each. Every glyph is a 16-pixel quad; the pen moves 10 pixels.
// Texts are UTF-8: each character is one glyph.
#include "main.h"

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

unsigned nextchar(const char*& p)
{
    const unsigned char lead = (unsigned char)*p++;
    if (lead < 0x80) return lead;
    // The continuation bytes a lead byte asks for, and the least code point
    // they may spell (a longer spelling of a smaller one is no character).
    int more;
    unsigned code, least;
    if (lead >= 0xC2 && lead <= 0xDF)
        more = 1, code = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        more = 2, code = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        more = 3, code = lead & 0x07, least = 0x10000;
    else
        return UNREADABLE;
    const char* q = p;
    for (int k = 0; k < more; k++) {
        const unsigned char c = (unsigned char)q[k];
        if ((c & 0xC0) != 0x80) return UNREADABLE;
        code = code << 6 | (c & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return UNREADABLE;
    p = q + more;
    return code;
}

size_t textlength(const char* text)
{
    size_t n = 0;
    for (const char* p = text; *p != '\0'; n++) nextchar(p);
    return n;
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
