// Pictures for the data tools and the tests: uncompressed true-colour TGA
// files in the one form the game loads, and PNG files, written for looking at
// results and read back to compare with them.
#ifndef KUURAKARPALO_IMAGEFILE_H
#define KUURAKARPALO_IMAGEFILE_H

#include <cstdint>
#include <string>
#include <vector>

// An RGBA picture, rows top to bottom, 4 bytes a pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 0) {}
    uint8_t* at(int px, int py) { return &rgba[(size_t(py) * width + px) * 4]; }
    const uint8_t* at(int px, int py) const { return &rgba[(size_t(py) * width + px) * 4]; }
};

// Which stored row the game reads first. The game maps the first stored row to
// texture coordinate t = 0: tiles, sprites, corpses, the blade and the panel
// draw that row at the top, so they are written TopFirst; the font counts its
// grid from t = 1, so it is written BottomFirst like an ordinary TGA. The
// descriptor byte records the order, so ordinary viewers show both upright.
enum class RowOrder { TopFirst, BottomFirst };

// Writes a 32-bit (or, with alpha false, 24-bit) TGA. Returns false and fills
// error when the file cannot be written.
bool writetga(const std::string& path, const Image& image, RowOrder order, bool alpha,
              std::string* error);

// Writes bytes as the whole content of a file. Returns false and fills error
// when the file cannot be written.
bool writebytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

// Writes an 8-bit RGBA PNG, or with alpha false an RGB one that leaves the
// alpha channel out.
bool writepng(const std::string& path, const Image& image, std::string* error, bool alpha = true);

// Reads any PNG as 8-bit RGBA (opaque where it has no alpha). Returns false
// and fills error when the file cannot be read or is no PNG.
bool readpng(const std::string& path, Image& image, std::string* error);

#endif
