// The interface pictures: the sword blade, the message panel and the font.
#ifndef KUURAKARPALO_ART_INTERFACE_H
#define KUURAKARPALO_ART_INTERFACE_H

#include "imagefile.h"

#include <string>

// A 64x16 sword lying along the picture: pommel and grip at the left edge,
// cross-guard, and the blade to the tip at the right edge.
Image makeblade();

// The 512x128 message panel, stretched twice over the lower third of the
// screen: a wooden frame around a dark board, an emblem at the left.
Image makepanel();

// The 256x256 font: a 16x16 grid of 16x16 cells, glyph n in column n % 16 and
// row n / 16 from the top. Returns false if the typeface cannot be read.
bool makefont(Image* font, std::string* error);

#endif
