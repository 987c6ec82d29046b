// Drawing helpers of the world: the switches a run of drawing routines
// shares, and the cells lit by their corners under the night's tint.
#ifndef KUURAKARPALO_LAYER_H
#define KUURAKARPALO_LAYER_H

#include "main.h"

// The colour divisors of the night tint for red, green and blue.
struct Tint {
    float r, g, b;
};
Tint nighttint();
// Sets the current colour to cell (c, r)'s light under the tint, with alpha a.
void lightcolor(const Tint& t, int c, int r, float a);
// Draws one textured square of a cell's size, its top left at pixel (x, y),
// each corner lit as the corner of cell (c, r) it lies on and textured from
// (s0, t0) at the top left to (s1, t1); a glBegin/glEnd of its own.
void litcell(const Tint& t, int c, int r, float x, float y, float s0, float t0, float s1, float t1);

// The GL switches that a run of drawing routines shares (layer.cpp). Each
// routine asks for its pen and only what differs is switched, instead of
// every routine switching on what it needs and off again. The routines
// still reset the model-view at their start and send their quads exactly
// as before, so the draws that reach OpenGL are the same: Mesa's software
// rasteriser (llvmpipe) can draw a quad differently when it shares a draw
// with a vertex off the screen, or when its vertex buffer fills elsewhere.
// A layer begins with everything off and the model-view at identity, as
// every drawing routine leaves them, and ends so.
class Layer {
    int pen = -1;   // switches in effect, -1 all off

public:
    ~Layer() { end(); }
    void use(Pen npen);
    // Starts quads in world pixels: the pen, texture slot bound, colour
    // white, the model-view translated by the camera.
    void world(Pen npen, int slot);
    // Switches everything off and loads the identity.
    void end();
};

// Draws one record, a corpse or a character's body, alone: in a layer of its
// own, as the tests and tools draw them one by one.
template <class T> void drawalone(T& record)
{
    Layer l;
    record.show(l);
}

#endif
