// Character sprites kept as text: palettes that give each letter a colour and
// pose grids that draw one figure per facing and walking frame. The tool
// places the poses in the sheet layouts the game reads, outlines them, and
// derives the invulnerability overlays and the corpse strip from them.
#ifndef KUURAKARPALO_ART_PIXELART_H
#define KUURAKARPALO_ART_PIXELART_H

#include "imagefile.h"

#include <array>
#include <map>
#include <string>
#include <vector>

using Rgba = std::array<uint8_t, 4>;

// One character's colours: letter -> colour. '.' is always transparent; '#'
// is the outline colour drawn around the figure.
struct Palette {
    std::map<char, Rgba> colours;
};

// One figure in one facing and frame, as rows of palette letters.
struct Pose {
    std::vector<std::string> rows;
    int width() const { return rows.empty() ? 0 : int(rows[0].size()); }
    int height() const { return int(rows.size()); }
};

// Facings in sheet column order.
enum Facing { UP = 0, DOWN = 1, LEFT = 2, RIGHT = 3 };

class Spritebook {
public:
    // Reads a source file; returns false with a message naming file and line.
    bool load(const std::string& path, std::string* error);
    // Fills the poses that the sources leave out: left mirrors right, and
    // "= N" / "= mirror N" copies. Returns false if a pose stays missing.
    bool resolve(std::string* error);

    const Palette* palette(const std::string& name) const;
    const Pose* pose(const std::string& figure, int facing, int frame) const;

private:
    struct Copy {
        std::string figure;
        int facing, frame, from;
        bool mirror;
        std::string where;
    };
    std::map<std::string, Palette> palettes;
    std::map<std::string, Pose> poses;  // key "figure facing frame"
    std::vector<Copy> copies;
};

// Sprite cells are 32x32 pixels.
const int CELL = 32;

// Draws one pose into the cell whose top-left pixel is (left, top): centred
// across, standing on the cell's second-lowest row, then outlined. Returns
// false if the pose uses a letter the palette lacks or does not fit.
bool drawpose(Image& image, int left, int top, const Pose& pose, const Palette& palette,
              std::string* error);

// A sheet of 4 facing columns and 4 walking-frame rows per band, one band per
// palette name, in order.
bool makesheet(const Spritebook& book, const std::string& figure,
               const std::vector<std::string>& bands, Image* sheet, std::string* error);

// The invulnerability overlay of a sheet: white, opaque exactly where the
// sheet is drawn (alpha above 127), transparent elsewhere.
Image makeoverlay(const Image& sheet);

// Draws a dead figure lying on the ground into a 32x32 cell at (0, top):
// humans on their side, beasts on their back, with a pool of blood.
bool drawcorpse(Image& strip, int top, const Pose& pose, const Palette& palette, bool onback,
                uint64_t seed, std::string* error);

// Copies src into dst with its top-left at (x, y), scaled by an integer
// factor; transparent pixels of src leave dst as it was.
void blitscaled(Image& dst, const Image& src, int x, int y, int scale);

#endif
