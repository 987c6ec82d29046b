// The font: 256 display lists of 16 by 16 glyphs, and text printed with them.
#ifndef KUURAKARPALO_FONT_H
#define KUURAKARPALO_FONT_H

#include <GL/gl.h>

#include <cstddef>

extern GLuint base;   // font.cpp: first of the font's 256 display lists

void BuildFont();
// Prints string, UTF-8, with its top-left corner at screen pixel (x, y); set
// 0 or 1 (above 1 counts as 1), color 0 white, anything else red. Each
// character is one glyph: printable ASCII, the letters of FONTLETTERS (and
// "{" and "}" as ä and ö), and a question mark for any other character and
// for each byte that does not start a whole UTF-8 character.
void glPrint(GLint x, GLint y, const char* string, int set, int color);
// The same for the first n characters of string only.
void glPrintn(GLint x, GLint y, const char* string, size_t n, int set, int color);
void KillFont();

#endif
