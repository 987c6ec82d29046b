// The tiles drawn: the window of cells around the screen from each layer,
// each corner lit by its cell and tinted by the night.
#include "layer.h"
#include "main.h"
#include "textures.h"
#include "world.h"

#include <GL/gl.h>

Tint nighttint()
{
    return Tint{(float)(1 + 2.5 * night), (float)(1 + 2.5 * night), (float)(1 + night)};
}

// Corner colours by light value under shadetint, remade when the tint
// changes (once a frame while night moves): the maps use light 9 to 35, and
// a value outside the table is worked out as it comes, the same way.
const int SHADES = 64;

static float shade[SHADES][3];

static Tint shadetint = {0, 0, 0};   // no real tint: its divisors are at least 1

void lightcolor(const Tint& t, int c, int r, float a)
{
    const int v = lightat(c, r);
    if (t.r != shadetint.r || t.g != shadetint.g || t.b != shadetint.b) {
        for (int k = 0; k < SHADES; k++) {
            const float l = (float)(k / 9.0);
            shade[k][0] = l / t.r;
            shade[k][1] = l / t.g;
            shade[k][2] = l / t.b;
        }
        shadetint = t;
    }
    if (v >= 0 && v < SHADES) {
        glColor4f(shade[v][0], shade[v][1], shade[v][2], a);
        return;
    }
    const float l = (float)(v / 9.0);
    glColor4f(l / t.r, l / t.g, l / t.b, a);
}

void litcell(const Tint& t, int c, int r, float x, float y, float s0, float t0, float s1, float t1)
{
    glBegin(GL_QUADS);
    lightcolor(t, c, r, 1);
    glTexCoord2f(s0, t0);
    glVertex2f(x, y);
    lightcolor(t, c + 1, r, 1);
    glTexCoord2f(s1, t0);
    glVertex2f(x + TILE, y);
    lightcolor(t, c + 1, r + 1, 1);
    glTexCoord2f(s1, t1);
    glVertex2f(x + TILE, y + TILE);
    lightcolor(t, c, r + 1, 1);
    glTexCoord2f(s0, t1);
    glVertex2f(x, y + TILE);
    glEnd();
}

// The atlas rows whose texture coordinates are worked out once a layer.
const int ATLASROWS = 64;

// Draws the cells of the window around the screen from one layer. Ground
// cells are all drawn; in the upper layers 0 or less is an empty cell.
//
// Each cell stays a glBegin/glEnd of its own and every cell of the window
// is sent, on the screen or not: Mesa's software rasteriser (llvmpipe) draws
// a quad differently when the draw it lands in holds a vertex off the
// screen, and a single long glBegin wraps its vertex buffer elsewhere, so
// fewer or longer batches would change pixels.
void Map::showlayer(const int* layer, int slot)
{
    const Tint t = nighttint();
    const float width = (float)(textures[slot].width / TILE);
    const float height = (float)(textures[slot].height / TILE);
    const bool ground = layer == tile;

    // The texture coordinates of the atlas's column and row edges, exactly
    // as each cell would divide them.
    float s[17], tt[ATLASROWS + 1];
    for (int c = 0; c <= 16; c++) s[c] = c / width;
    for (int r = 0; r <= ATLASROWS; r++) tt[r] = r / height;

    for (int cy = rolly - 1; cy <= rolly + 25; cy++) {
        if (cy < 0 || cy >= sizey) continue;
        const float py = (float)(cy * TILE);
        for (int cx = rollx - 1; cx <= rollx + 33; cx++) {
            if (cx < 0 || cx >= sizex) continue;
            const int v = layer[cy * MAPW + cx];
            if (!ground && v <= 0) continue;
            const int row = v / 16;
            const int column = v - 16 * row;
            float s0, s1, t0, t1;
            if (v >= 0 && row < ATLASROWS) {
                s0 = s[column];
                s1 = s[column + 1];
                t0 = tt[row];
                t1 = tt[row + 1];
            } else {
                s0 = column / width;
                s1 = (column + 1) / width;
                t0 = row / height;
                t1 = (row + 1) / height;
            }
            const float px = (float)(cx * TILE);

            litcell(t, cx, cy, px, py, s0, t0, s1, t1);
        }
    }
}

void Map::drawtiles(Layer& l, Pen pen, const int* layer, int slot)
{
    l.world(pen, slot);
    showlayer(layer, slot);
}

void Map::showtiles(Layer& l)
{
    drawtiles(l, GROUND, tile, TEXGROUND);
    drawtiles(l, CUTOUT, tile2, TEXLAYERS);
}

void Map::showovertiles(Layer& l)
{
    drawtiles(l, CUTOUT, tile3, TEXLAYERS);
}
