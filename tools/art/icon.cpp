#include "icon.h"

#include "rng.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Averages each 2x2 block, weighting colour by opacity so that transparent
// pixels lend no colour to the edge.
Image halved(const Image& src)
{
    Image out(src.width / 2, src.height / 2);
    for (int y = 0; y < out.height; y++) {
        for (int x = 0; x < out.width; x++) {
            int sum[3] = {0, 0, 0}, alpha = 0;
            for (int k = 0; k < 4; k++) {
                const uint8_t* p = src.at(2 * x + k % 2, 2 * y + k / 2);
                for (int c = 0; c < 3; c++) sum[c] += p[c] * p[3];
                alpha += p[3];
            }
            uint8_t* d = out.at(x, y);
            for (int c = 0; c < 3; c++) d[c] = uint8_t(alpha ? (sum[c] + alpha / 2) / alpha : 0);
            d[3] = uint8_t((alpha + 2) / 4);
        }
    }
    return out;
}

void fill(Image& image, int x, int y, int r, int g, int b)
{
    uint8_t* p = image.at(x, y);
    p[0] = uint8_t(r), p[1] = uint8_t(g), p[2] = uint8_t(b), p[3] = 255;
}

}  // namespace

const std::vector<int>& iconsizes()
{
    static const std::vector<int> sizes = {16, 32, 48, 64, 128, 256};
    return sizes;
}

bool makeicon(const Spritebook& book, Image* icon, std::string* error)
{
    const Pose* hero = book.pose("humanoid", DOWN, 0);
    const Pose* sword = book.pose("sword", UP, 0);
    const Palette* heropalette = book.palette("hero");
    const Palette* swordpalette = book.palette("sword");
    if (!hero || !sword || !heropalette || !swordpalette) {
        *error = "the icon needs the humanoid and sword poses and the hero and sword palettes";
        return false;
    }
    *icon = Image(CELL, CELL);
    // A night-blue tile with corners cut round and a dark rim.
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            const int cx = std::max(std::max(3 - x, x - (CELL - 4)), 0);
            const int cy = std::max(std::max(3 - y, y - (CELL - 4)), 0);
            const int r2 = cx * cx + cy * cy;
            if (r2 > 12) continue;
            if (r2 > 6 || x == 0 || y == 0 || x == CELL - 1 || y == CELL - 1)
                fill(*icon, x, y, 12, 18, 34);
            else
                fill(*icon, x, y, 30 - y / 4, 44 - y / 4, 72 - y / 3);
        }
    }
    // The frosted cranberry: outlined, lit from the upper left, a few flecks
    // of frost, a shine and the dry calyx on top.
    Rng noise(32);
    const double bx = 22.0, by = 11.5, radius = 7.6;
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            const double dx = x - bx, dy = y - by, r = std::hypot(dx, dy);
            if (r > radius + 1.0) continue;
            if (r > radius) {
                fill(*icon, x, y, 26, 16, 32);
                continue;
            }
            const double light = std::max(0.0, 1.0 - std::hypot(dx + 3.0, dy + 3.0) / 10.0);
            fill(*icon, x, y, 130 + int(120 * light), 14 + int(50 * light), 34 + int(40 * light));
            if (noise.below(12) == 0) fill(*icon, x, y, 226, 236, 255);
        }
    }
    fill(*icon, 19, 8, 255, 250, 250);
    fill(*icon, 20, 8, 255, 220, 224);
    for (const auto& p : {std::pair{21, 4}, {22, 4}, {23, 4}, {22, 5}, {20, 3}, {24, 3}})
        fill(*icon, p.first, p.second, 70, 96, 40);
    // The hero a little left of the middle, and his sword raised in the hand
    // on the right, each outlined in its own cell first.
    Image cell(CELL, CELL);
    if (!drawpose(cell, 0, 0, *hero, *heropalette, error)) return false;
    blitscaled(*icon, cell, -3, 0, 1);
    cell = Image(CELL, CELL);
    if (!drawpose(cell, 0, 0, *sword, *swordpalette, error)) return false;
    blitscaled(*icon, cell, 4, -6, 1);
    return true;
}

Image iconat(const Image& icon, int size)
{
    if (size % icon.width == 0) {
        Image out(size, size);
        blitscaled(out, icon, 0, 0, size / icon.width);
        return out;
    }
    // 16 is half of 32; 48 is half of 96.
    Image big(2 * size, 2 * size);
    blitscaled(big, icon, 0, 0, 2 * size / icon.width);
    return halved(big);
}
