// The map file: the one definition of its layout, read by the game and
// written by the map compiler and the tests. Fixed size, no header: 32-bit
// little-endian ints, one field after the other in the order mapfields
// gives them.
#include "mapfile.h"
#include "main.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

// The table of the reflected CRC-32 (polynomial 0xedb88320), one entry a
// byte value, made on first use.
static const uint32_t* crctable()
{
    static uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        made = true;
    }
    return table;
}

uint32_t crc32of(uint32_t crc, const void* data, size_t size)
{
    const uint32_t* table = crctable();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; i++) crc = table[(crc ^ p[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

// Calls f(first int, count) for each field of the file, in file order.
template <class F> static void mapfields(MapData& d, F f)
{
    f(&d.sizex, 1);
    f(&d.sizey, 1);
    f(d.tile, MAPCELLS);
    f(d.tile2, MAPCELLS);
    f(d.tile3, MAPCELLS);
    f(d.light, MAPCELLS);
    f(d.stop, MAPCELLS);
    f(&d.tset, 1);
}

// A field's ints from the file's little-endian bytes and back. On a
// little-endian host they are the same bytes, copied whole: a map is read
// and written in a fraction of a millisecond, not one int at a time.
static void fromfile(int* field, const unsigned char* p, int count)
{
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(field, p, (size_t)count * 4);
#else
    for (int i = 0; i < count; i++, p += 4)
        field[i] = (int)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
#endif
}

static void tofile(unsigned char* p, const int* field, int count)
{
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(p, field, (size_t)count * 4);
#else
    for (int i = 0; i < count; i++)
        for (int k = 0; k < 4; k++) *p++ = (unsigned char)((uint32_t)field[i] >> (8 * k));
#endif
}

const char* parsemap(const unsigned char* bytes, size_t size, MapData& d)
{
    static char problem[120];
    if (size != (size_t)MAPFILESIZE) {
        std::snprintf(problem, sizeof problem, "is %zu bytes long; a map file is exactly %ld bytes", size,
                      MAPFILESIZE);
        return problem;
    }
    const unsigned char* p = bytes;
    mapfields(d, [&p](int* field, int count) {
        fromfile(field, p, count);
        p += (size_t)count * 4;
    });
    if (d.sizex < 1 || d.sizex > MAPW - 1 || d.sizey < 1 || d.sizey > MAPW - 1) {
        std::snprintf(problem, sizeof problem, "has a size of %d by %d tiles; each side must be 1 to %d",
                      d.sizex, d.sizey, MAPW - 1);
        return problem;
    }
    return nullptr;
}

const char* readmap(const char* path, MapData& d, uint32_t* crc)
{
    static char problem[160];
    static unsigned char bytes[MAPFILESIZE + 1];

    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::snprintf(problem, sizeof problem, "cannot be opened: %s", std::strerror(errno));
        return problem;
    }
    // One byte more than a map file has tells a longer file; the rest is
    // only counted, for the message.
    size_t total = std::fread(bytes, 1, sizeof bytes, f);
    unsigned char rest[4096];
    size_t more;
    while (!std::ferror(f) && (more = std::fread(rest, 1, sizeof rest, f)) > 0) total += more;
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return "cannot be read";

    const char* wrong = parsemap(bytes, total, d);
    if (!wrong && crc) *crc = crc32of(0, bytes, (size_t)MAPFILESIZE);
    return wrong;
}

std::vector<unsigned char> mapbytes(const MapData& data)
{
    std::vector<unsigned char> out((size_t)MAPFILESIZE);
    unsigned char* p = out.data();
    mapfields(const_cast<MapData&>(data), [&p](int* field, int count) {
        tofile(p, field, count);
        p += (size_t)count * 4;
    });
    return out;
}

bool writemap(const char* path, const MapData& data, std::string& error)
{
    const std::vector<unsigned char> bytes = mapbytes(data);
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        error = std::string(path) + ": cannot open for writing: " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) {
        error = std::string(path) + ": write failed";
        return false;
    }
    return true;
}
