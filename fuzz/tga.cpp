// Fuzz target: the TGA reader (LoadTGA without the upload). A picture taken
// is what its header promises, red and blue swapped; a refused one leaves
// the slot as it was.
#include "harness.h"
#include "textures.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    expect(file != nullptr, "fmemopen failed");
    TextureImage t{};
    const bool read = readtga(file, &t);
    std::fclose(file);
    if (!read) {
        const TextureImage empty{};
        expect(std::memcmp(&t, &empty, sizeof t) == 0, "a refused picture changed the slot");
        return 0;
    }

    expect(size >= 18 && data[2] == 2 && t.width == data[12] + 256u * data[13] &&
               t.height == data[14] + 256u * data[15] && t.bpp == data[16] && t.texID == 0,
           "the sizes taken differ from the header");
    expect(t.width > 0 && t.height > 0 && (t.bpp == 24 || t.bpp == 32), "a size or depth outside the form was taken");
    const size_t step = t.bpp / 8;
    const size_t pixels = (size_t)t.width * t.height * step;
    expect(pixels <= size - 18, "a picture was taken from a file shorter than its header promises");
    for (size_t i = 0; i < pixels; i += step) {
        const uint8_t* in = data + 18 + i;
        const GLubyte* out = t.imageData + i;
        expect(out[0] == in[2] && out[1] == in[1] && out[2] == in[0] && (step == 3 || out[3] == in[3]),
               "a pixel was not turned to RGB(A)");
    }
    std::free(t.imageData);
    return 0;
}
