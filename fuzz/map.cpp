// Fuzz target: a map file's raw bytes through the map file reader and, when
// it takes them, into the world for a hundred world frames.
#include "harness.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const MapData* taken = nullptr;
    if (playmap(data, size, &taken)) {
        // Only another size or sides outside 1..198 are refused.
        const auto side = [&](size_t at) { return within(le32(data + at), 1, MAPW - 1); };
        expect(size != (size_t)MAPFILESIZE || !side(0) || !side(4),
               "a map file of the right size and sides was refused");
        return 0;
    }
    expect(size == (size_t)MAPFILESIZE && std::memcmp(mapbytes(*taken).data(), data, size) == 0,
           "the map taken differs from its bytes");
    return 0;
}
