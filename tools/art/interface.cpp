#include "interface.h"

#include "fontletters.h"

#include "rng.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

void put(Image& image, int x, int y, int r, int g, int b, int a = 255)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
    uint8_t* p = image.at(x, y);
    p[0] = uint8_t(std::clamp(r, 0, 255));
    p[1] = uint8_t(std::clamp(g, 0, 255));
    p[2] = uint8_t(std::clamp(b, 0, 255));
    p[3] = uint8_t(a);
}

// Half-height of the blade at column x (0 where there is no steel).
double bladehalf(int x)
{
    if (x < 16 || x > 63) return 0.0;
    if (x <= 54) return 2.6;
    return 2.6 * (63.5 - x) / 9.0;  // tapers to the tip
}

}  // namespace

Image makeblade()
{
    Image blade(64, 16);
    const double mid = 7.5;
    for (int x = 0; x < 64; x++) {
        for (int y = 0; y < 16; y++) {
            const double dy = y - mid;
            if (x >= 16) {
                const double half = bladehalf(x);
                if (std::fabs(dy) > half + 0.01) continue;
                // Steel: bright upper bevel, a dark fuller along the middle,
                // darker lower bevel; a little brighter toward the tip.
                int v = dy < -1.0 ? 228 : (std::fabs(dy) <= 0.5 ? 150 : 188);
                if (dy > 1.0) v = 160;
                v += (x - 16) / 6;
                put(blade, x, y, v - 8, v, v + 14);
            } else if (x >= 12) {
                // Cross-guard: gold bar across the whole width.
                if (y < 2 || y > 13) continue;
                const int v = (x == 12 || y == 2) ? 250 : (x == 15 || y == 13 ? 150 : 210);
                put(blade, x, y, v, v * 3 / 4, v / 4);
            } else if (x >= 4) {
                // Grip wrapped in leather strips.
                if (std::fabs(dy) > 1.6) continue;
                const bool band = (x + (y > 7 ? 1 : 0)) % 3 == 0;
                put(blade, x, y, band ? 70 : 110, band ? 40 : 64, band ? 24 : 36);
            } else {
                // Round pommel.
                const double dx = x - 1.8;
                if (dx * dx + dy * dy > 7.5) continue;
                const int v = (dx + dy < -1.0) ? 250 : 190;
                put(blade, x, y, v, v * 3 / 4, v / 4);
            }
        }
    }
    // A dark rim so the blade reads over bright ground.
    Image out = blade;
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 64; x++) {
            if (blade.at(x, y)[3]) continue;
            bool edge = false;
            for (int k = 0; k < 4; k++) {
                const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
                if (nx >= 0 && ny >= 0 && nx < 64 && ny < 16 && blade.at(nx, ny)[3]) edge = true;
            }
            if (edge) put(out, x, y, 24, 22, 30, 230);
        }
    }
    return out;
}

Image makepanel()
{
    const int W = 512, H = 128, top = 30, left = 6, right = 505;
    Image panel(W, H);
    Rng noise(2023);
    for (int y = top; y < H; y++) {
        for (int x = left; x <= right; x++) {
            // Round off the two upper corners.
            const int cx = x < left + 6 ? left + 6 - x : (x > right - 6 ? x - (right - 6) : 0);
            const int cy = y < top + 6 ? top + 6 - y : 0;
            if (cx * cx + cy * cy > 36) continue;
            const int fromedge = std::min({x - left, right - x, y - top, H - 1 - y});
            const double grain = noise.signedunit();
            if (fromedge < 7) {
                // Wooden frame: streaked planks, a light upper bevel and a
                // dark inner groove.
                const double streak = std::sin(x * 0.21 + std::sin(y * 0.9) * 2.0) * 10.0;
                int r = 104 + int(streak + grain * 8), g = 66 + int(streak * 0.7 + grain * 6),
                    b = 34 + int(grain * 4);
                if (fromedge == 0) r = 30, g = 18, b = 12;
                if (fromedge == 1) r += 40, g += 30, b += 18;
                if (fromedge == 6) r = 40, g = 26, b = 16;
                put(panel, x, y, r, g, b);
            } else {
                // The board: dark blue-grey with faint grain, lighter toward
                // the middle, so white and red text stand out.
                const double u = (x - 256.0) / 256.0, v = (y - 80.0) / 50.0;
                const double glow = 1.0 - 0.35 * (u * u + v * v);
                put(panel, x, y, int(26 * glow + grain * 3), int(30 * glow + grain * 3),
                    int(44 * glow + grain * 4));
            }
        }
    }
    // Brass studs in the frame.
    const int studs[][2] = {{9, 33}, {503, 33}, {9, 124}, {503, 124}, {256, 33}};
    for (const auto& s : studs)
        for (int dy = -2; dy <= 2; dy++)
            for (int dx = -2; dx <= 2; dx++)
                if (dx * dx + dy * dy <= 5)
                    put(panel, s[0] + dx, s[1] + dy, dx + dy < 0 ? 250 : 180,
                        dx + dy < 0 ? 210 : 140, 60);
    // A thin brass rule between the emblem and the text.
    for (int y = 44; y <= 114; y++) put(panel, 90, y, 150, 120, 60);
    // The emblem: a frosted cranberry with a leaf inside a brass ring.
    const double ex = 50, ey = 79;
    for (int y = 44; y < 116; y++) {
        for (int x = 14; x < 88; x++) {
            const double dx = x - ex, dy = y - ey, r = std::sqrt(dx * dx + dy * dy);
            if (r > 30.5) continue;
            if (r > 27.5) {
                const int v = dx + dy < 0 ? 220 : 150;
                put(panel, x, y, v, v * 4 / 5, v / 3);
                continue;
            }
            put(panel, x, y, 16, 20, 32);
            // Leaf, drawn before the berry.
            const double lx = (x - 62.0) * 0.8 + (y - 62.0) * 0.6, ly = -(x - 62.0) * 0.6 + (y - 62.0) * 0.8;
            if (lx * lx / 100.0 + ly * ly / 20.0 <= 1.0)
                put(panel, x, y, 60, ly < 0 ? 150 : 110, 60);
            const double bx = x - 46.0, by = y - 83.0, br = std::sqrt(bx * bx + by * by);
            if (br <= 16.0) {
                const double light = std::max(0.0, 1.0 - std::hypot(bx + 6, by + 6) / 18.0);
                put(panel, x, y, 150 + int(100 * light), 16 + int(60 * light), 36 + int(50 * light));
                if (noise.below(9) == 0) put(panel, x, y, 230, 240, 255);  // frost
                if (std::hypot(bx + 6, by + 6) < 2.5) put(panel, x, y, 255, 250, 250);
            }
        }
    }
    return panel;
}

bool makefont(Image* font, std::string* error)
{
    // DejaVu Sans Mono from Debian's fonts-dejavu-core (Bitstream Vera licence
    // with DejaVu changes in the public domain: free to use, embed and alter).
    const char* faces[2] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                            "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"};
    const int baseline = 12, pixelsize = 13;
    *font = Image(256, 256);
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        *error = "FreeType does not start";
        return false;
    }
    bool ok = true;
    for (int set = 0; set < 2 && ok; set++) {
        FT_Face face;
        if (FT_New_Face(library, faces[set], 0, &face) || FT_Set_Pixel_Sizes(face, 0, pixelsize)) {
            *error = std::string(faces[set]) + ": cannot read the typeface";
            ok = false;
            break;
        }
        // The printable ASCII from "!" on, then the letters beyond it; a
        // letter's cell may be an ASCII character's ("{" is ä).
        std::vector<std::pair<int, unsigned long>> cells;
        for (int code = 33; code < 127; code++) cells.emplace_back(code - 32, code);
        for (const FontLetter& l : FONTLETTERS) {
            if (l.cell < FONTASCII)
                cells[l.cell - 1].second = l.code;
            else
                cells.emplace_back(l.cell, l.code);
        }
        for (const auto& [cellno, shown] : cells) {
            if (!ok) break;
            if (FT_Load_Char(face, shown, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) {
                *error = std::string(faces[set]) + ": no glyph for " + std::to_string(shown);
                ok = false;
                break;
            }
            const FT_Bitmap& bm = face->glyph->bitmap;
            const int glyph = cellno + 128 * set;
            const int cellx = (glyph % 16) * 16, celly = (glyph / 16) * 16;
            Image cell(16, 16);
            for (int r = 0; r < int(bm.rows); r++) {
                for (int c = 0; c < int(bm.width); c++) {
                    const uint8_t* row = bm.buffer + r * bm.pitch;
                    if (!(row[c >> 3] & (0x80 >> (c & 7)))) continue;
                    const int x = 1 + face->glyph->bitmap_left + c;
                    const int y = baseline - face->glyph->bitmap_top + r;
                    // Leave room for the outline and keep within the 10-pixel pen step.
                    // A letter beyond ASCII may reach the cell's top row, where
                    // the ring of Å lies; the outline then stops at the edge.
                    const int top = cellno < FONTASCII ? 1 : 0;
                    if (x >= 1 && x <= 9 && y >= top && y <= 14) put(cell, x, y, 255, 255, 255);
                }
            }
            for (int y = 0; y < 16; y++) {
                for (int x = 0; x < 16; x++) {
                    const uint8_t* p = cell.at(x, y);
                    bool edge = false;
                    for (int k = 0; k < 8 && !p[3]; k++) {
                        const int dx = k < 3 ? k - 1 : (k < 5 ? (k == 3 ? -1 : 1) : k - 6);
                        const int dy = k < 3 ? -1 : (k < 5 ? 0 : 1);
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < 16 && ny < 16 && cell.at(nx, ny)[0] == 255 &&
                            cell.at(nx, ny)[3])
                            edge = true;
                    }
                    if (p[3]) put(*font, cellx + x, celly + y, 255, 255, 255);
                    else if (edge) put(*font, cellx + x, celly + y, 12, 12, 20);
                }
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return ok;
}
