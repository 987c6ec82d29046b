// Drawing helpers for the procedural tile art: tileable value noise, colours
// and a few shapes painted into an Image.
#ifndef KUURAKARPALO_PAINT_H
#define KUURAKARPALO_PAINT_H

#include "imagefile.h"
#include "rng.h"

#include <cstdint>

// An RGBA colour with channel arithmetic kept in doubles until it is stored.
struct Colour {
    double r = 0, g = 0, b = 0, a = 255;
};

Colour rgb(int hex, double alpha = 255);
Colour mix(const Colour& a, const Colour& b, double t);
Colour shade(const Colour& c, double factor);   // multiplies r, g, b

// Hash noise in 0 .. 1 for an integer lattice point and a seed.
double hashnoise(int x, int y, uint32_t seed);

// Smooth value noise in 0 .. 1 that repeats every `period` pixels on both
// axes, so neighbouring tiles drawn with it meet without a seam.
double tilenoise(double x, double y, int cell, int period, uint32_t seed);

// Sum of three octaves of tilenoise, 0 .. 1.
double fractalnoise(double x, double y, int period, uint32_t seed);

// Painting into an Image: `set` overwrites, `blend` composites over what is
// there with the colour's alpha.
void set(Image& img, int x, int y, const Colour& c);
void blend(Image& img, int x, int y, const Colour& c);
Colour get(const Image& img, int x, int y);

// Filled ellipse with a light from the upper left: pixels are shaded by
// their position inside the ellipse, and `noiseseed` adds grain.
void shadedellipse(Image& img, double cx, double cy, double rx, double ry, const Colour& base,
                   uint32_t noiseseed, double grain);
void fillrect(Image& img, int x0, int y0, int x1, int y1, const Colour& c);  // inclusive
void softshadow(Image& img, double cx, double cy, double rx, double ry, double strength);
void line(Image& img, double x0, double y0, double x1, double y1, const Colour& c);

// Copies the 32x32 cell at (sx, sy) of src into cell index `cell` of atlas.
void putcell(Image& atlas, int cell, const Image& src, int sx, int sy);
bool cellempty(const Image& src, int sx, int sy);

#endif
