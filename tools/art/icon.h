// The game's icon for desktops and software centres.
#ifndef KUURAKARPALO_ART_ICON_H
#define KUURAKARPALO_ART_ICON_H

#include "imagefile.h"
#include "pixelart.h"

#include <string>
#include <vector>

// The sizes the icon is made in, pixels a side.
const std::vector<int>& iconsizes();

// The icon drawn 32 pixels a side from the sprite book: the hero with a
// raised sword before a frosted cranberry on a night-blue tile.
bool makeicon(const Spritebook& book, Image* icon, std::string* error);

// The 32-pixel icon at size pixels: whole multiples of 32 scaled up pixel for
// pixel, other sizes through a halving that averages each 2x2 block.
Image iconat(const Image& icon, int size);

#endif
