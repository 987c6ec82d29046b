// The least a frame of the world can cost: the quads that Map::show and the
// score line send for the present world, gathered once, then sent again and
// again with one glBegin/glEnd per kind and texture, already lit and placed
// on the screen. Same textures, same switches (alpha test, blending), one
// colour per vertex, the same number of quads; none of the game's work.
#ifndef KUURAKARPALO_BENCH_QUADS_H
#define KUURAKARPALO_BENCH_QUADS_H

#include <vector>

struct Corner {
    float colour[4];
    float st[2];
    float xy[2];   // screen pixels
};

// One kind of quad under one texture slot (-1 untextured) and one set of
// switches.
struct QuadRun {
    int slot;
    bool alphatest;
    bool blend;
    bool tiles;                    // a tile layer, one draw in the game too
    std::vector<Corner> corners;   // four a quad
};

// The quads of the present world and score as the game would send them.
std::vector<QuadRun> gatherquads();
// Sends them; leaves the switches off and the model-view at identity. With
// apart, every quad but a tile is a draw of its own, parted from the one
// before by a reload of the model-view, as the game must send them to keep
// llvmpipe's pixels (see Layer in main.h).
void sendquads(const std::vector<QuadRun>& runs, bool apart = false);
// How many quads the runs hold.
int countquads(const std::vector<QuadRun>& runs);

#endif
