// The test rig: a real OpenGL window, a world in a known state, the records' private state.
#ifndef KUURAKARPALO_RIG_H
#define KUURAKARPALO_RIG_H

#include "frame.h"
#include "layer.h"
#include "main.h"
#include "mapfile.h"
#include "options.h"
#include "rigaccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The records' friend: the accessors shared with the benchmarks, and the tests' own.
struct Rig {
    RIGACCESS
    static char* name() { return map.name; }
    static int& tset() { return map.tset; }
    static void erase() { map.erase(); }
    static void addforce(Hahmo& h, float a, float amount) { h.addforce(a, amount); }
    RIGFIELD(int, Timer, startTicks) RIGFIELD(int, Timer, pausedTicks)
};

inline int cell(int c, int r)
{
    return r * MAPW + c;
}

// An open test map: ground value 0, full daylight, nothing blocked. Large.
struct TestMap : MapData {
    TestMap(int w = 100, int h = 60);
};

// A map file written in the scratch directory; its path, 12 characters and the name, must fit 19.
std::string writemap(const TestMap& m, const char* filename = "t.map");
// Writes bytes as a file in the scratch directory; returns its path.
std::string writefile(const std::string& bytes, const char* filename);
const std::string& scratchdir();

// The empty world on the open 100 by 60 map, the camera at its corner, nothing waiting.
void resetworld();
// A world in a known state: resetworld with the rig's options, live input,
// frames shown whole; afterwards also no recording, pictures nor resizing.
struct World : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
};
void resetoptions();
// Frees every neutral, monster and corpse slot and zeroes their records.
void clearslots();

// Sets body and target to (x, y), as if it had stood there all along.
void placeat(Hahmo& h, float x, float y);
// Brings a neutral or monster slot into play as type and side at (x, y).
template <class T>
T& placed(T& h, float x, float y, int type, int side)
{
    h.put(0, 0, 1, type, side);
    placeat(h, x, y);
    return h;
}
// A sword in mid-swing: phase hit, full opacity, blade angle and extension.
void swinging(Weapon& w, float angle, float extension, int hit = 2);
// One behaviour step of neutral or monster slot n: a retarget frame or surely not one.
void stepneutral(int n, bool retarget);
void stepmonster(int n, bool retarget);

// An environment variable set (unset for nullptr) while it lives, then put back.
class Scopedenv {
    std::string name, old;
    bool had;

public:
    Scopedenv(const char* nname, const char* value);
    ~Scopedenv();
    Scopedenv(const Scopedenv&) = delete;
    Scopedenv& operator=(const Scopedenv&) = delete;
};

// parseoptions on a command line of the game's name and args.
int parseargs(std::vector<const char*> args);
// A window close into SDL's queue (keys: pushkey in main.h).
void pushquit();
// A file's whole text, "" if it cannot be read.
std::string filetext(const std::string& path);
// Drops every pending event.
void drainevents();
// The picture just shown, RGB from the bottom row up. Only llvmpipe, the
// reference renderer, still holds it in the back buffer after the swap;
// elsewhere false, and the test is skipped.
bool shownpicture(std::vector<unsigned char>& rgb);
// A pixel of it, counted from the top left.
inline const unsigned char* shownat(const std::vector<unsigned char>& rgb, int x, int y)
{
    return &rgb[((SCREEN_HEIGHT - 1 - y) * SCREEN_WIDTH + x) * 3];
}

// Builds a TGA file in memory: the header (of another image type, or with
// an ID field, if asked), then pixels as stored (BGR or BGRA).
std::string tgafile(int width, int height, int bpp, const std::string& pixels,
                    unsigned char imagetype = 2, unsigned char idlength = 0);

#endif
