#include "imagefile.h"

#include "main.h"
#include "options.h"
#include "textures.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

bool writetga(const std::string& path, const Image& image, RowOrder order, bool alpha,
              std::string* error)
{
    if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535) {
        if (error) *error = path + ": picture size " + std::to_string(image.width) + "x" +
                            std::to_string(image.height) + " does not fit a TGA file";
        return false;
    }
    const int bytes = alpha ? 4 : 3;
    std::vector<uint8_t> pixels;
    pixels.reserve(size_t(image.width) * image.height * bytes);
    for (int row = 0; row < image.height; row++) {
        const int py = order == RowOrder::TopFirst ? row : image.height - 1 - row;
        for (int px = 0; px < image.width; px++) pixels.insert(pixels.end(), image.at(px, py), image.at(px, py) + bytes);
    }
    const uint8_t descriptor = uint8_t((alpha ? 8 : 0) | (order == RowOrder::TopFirst ? 0x20 : 0));
    return writebytes(path, tgabytes(image.width, image.height, bytes * 8, descriptor, pixels.data(), pixels.size()),
                      error);
}

bool writebytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error) *error = path + ": cannot open for writing: " + std::strerror(errno);
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        if (error) *error = path + ": write failed";
        return false;
    }
    return true;
}

bool writepng(const std::string& path, const Image& image, std::string* error, bool alpha)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error) *error = path + ": cannot open for writing: " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        if (error) *error = path + ": PNG encoding failed";
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, image.width, image.height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The rows stay RGBA in memory; libpng drops the fourth byte.
    if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int py = 0; py < image.height; py++)
        png_write_row(png, const_cast<png_bytep>(image.at(0, py)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool readpng(const std::string& path, Image& image, std::string* error)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    const auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        png_image_free(&png);
        return false;
    };
    if (!png_image_begin_read_from_file(&png, path.c_str())) return fail(png.message);
    // A damaged header must not ask for gigabytes: 64 million pixels at most.
    if ((uint64_t)png.width * png.height > (64u << 20)) return fail("picture too large");
    png.format = PNG_FORMAT_RGBA;
    Image read((int)png.width, (int)png.height);
    if (!png_image_finish_read(&png, nullptr, read.rgba.data(), 0, nullptr)) return fail(png.message);
    image = std::move(read);
    return true;
}
