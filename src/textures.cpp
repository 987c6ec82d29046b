// Texture slots and the loader for the one TGA form the game uses:
// uncompressed true colour, 24 or 32 bits, no ID field, no colour map.
#include "textures.h"
#include "display.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

TextureImage textures[TEXTURESLOTS];
int NTEXTURE = -2;

// The first 12 bytes of every TGA file the game reads: no ID field, no
// colour map, image type 2 (uncompressed true colour), origin (0, 0).
static const GLubyte TGAHEADER[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

void bindtexture(int n)
{
    NTEXTURE = n;
    glBindTexture(GL_TEXTURE_2D, textures[n].texID);
}

// Reads the pixels of an open TGA file after its 18-byte header. The file
// must really hold every byte the header promises before anything is
// allocated, so a damaged header cannot ask for gigabytes.
static GLubyte* readpixels(FILE* file, size_t imagesize)
{
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    const long end = std::ftell(file);
    if (end < here || (unsigned long)(end - here) < imagesize) return nullptr;
    if (std::fseek(file, here, SEEK_SET) != 0) return nullptr;

    GLubyte* data = (GLubyte*)std::malloc(imagesize);
    if (!data) return nullptr;
    if (std::fread(data, 1, imagesize, file) != imagesize) {
        std::free(data);
        return nullptr;
    }
    return data;
}

bool readtga(FILE* file, TextureImage* texture, unsigned char* descriptor)
{
    GLubyte tgacompare[12];
    GLubyte header[6];

    if (std::fread(tgacompare, 1, sizeof tgacompare, file) != sizeof tgacompare ||
        std::memcmp(TGAHEADER, tgacompare, sizeof TGAHEADER) != 0 ||
        std::fread(header, 1, sizeof header, file) != sizeof header)
        return false;

    const GLuint width = header[1] * 256u + header[0];
    const GLuint height = header[3] * 256u + header[2];
    const GLuint bpp = header[4];
    if (width == 0 || height == 0 || (bpp != 24 && bpp != 32)) return false;
    const size_t bytesperpixel = bpp / 8;
    const size_t imagesize = (size_t)width * height * bytesperpixel;

    GLubyte* data = readpixels(file, imagesize);
    if (!data) return false;

    // Files store blue, green, red(, alpha); OpenGL wants red first.
    for (size_t i = 0; i < imagesize; i += bytesperpixel) {
        const GLubyte temp = data[i];
        data[i] = data[i + 2];
        data[i + 2] = temp;
    }

    texture->imageData = data;
    texture->width = width;
    texture->height = height;
    texture->bpp = bpp;
    if (descriptor) *descriptor = header[5];
    return true;
}

std::vector<unsigned char> tgabytes(int width, int height, int bpp, unsigned char descriptor,
                                    const unsigned char* pixels, size_t size)
{
    std::vector<unsigned char> out(TGAHEADER, TGAHEADER + sizeof TGAHEADER);
    out.insert(out.end(), {(unsigned char)width, (unsigned char)(width >> 8), (unsigned char)height,
                           (unsigned char)(height >> 8), (unsigned char)bpp, descriptor});
    out.insert(out.end(), pixels, pixels + size);
    // Red first in memory, blue first in the file.
    const size_t step = bpp == 32 ? 4 : 3;
    for (size_t i = 18; i + 2 < out.size(); i += step) std::swap(out[i], out[i + 2]);
    return out;
}

bool LoadTGA(TextureImage* texture, const char* filename)
{
    FILE* file = std::fopen(filename, "rb");
    if (!file) return false;
    const bool read = readtga(file, texture);
    std::fclose(file);
    if (!read) return false;
    uploadtexture(texture);
    return true;
}

void freetexture(TextureImage& texture)
{
    if (texture.texID != 0 && hasdisplay()) glDeleteTextures(1, &texture.texID);
    std::free(texture.imageData);
    texture = TextureImage{};
}

void uploadtexture(TextureImage* texture)
{
    glGenTextures(1, &texture->texID);
    glBindTexture(GL_TEXTURE_2D, texture->texID);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Rows are packed without padding; with the default 4-byte alignment a
    // 24-bit picture of odd width would be read past its end.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = texture->bpp == 24 ? GL_RGB : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, format, texture->width, texture->height, 0, format, GL_UNSIGNED_BYTE,
                 texture->imageData);
}
