// The level sketch: a one-off drawing of the first version of the level,
// painted as terrain on the grid points, forest and cliff masses and placed
// things, then written out as a Tiled map. The written map is the source that
// gets edited and compiled; this program only drew its first version.
#ifndef KUURAKARPALO_SKETCH_H
#define KUURAKARPALO_SKETCH_H

#include "atlas.h"
#include "paint.h"

#include <string>
#include <vector>

const int SKETCH_W = 92;
const int SKETCH_H = 44;

class Sketchmap {
public:
    explicit Sketchmap(const OutdoorAtlases& natlases);

    // Terrain and masses live on grid points (cell corners), 93 x 45 of them.
    Terrain terrain[SKETCH_H + 1][SKETCH_W + 1];
    bool forest[SKETCH_H + 1][SKETCH_W + 1];
    bool cliff[SKETCH_H + 1][SKETCH_W + 1];
    // Cell layers: ground override (-1 none), second, over.
    int ground[SKETCH_H][SKETCH_W];
    int second[SKETCH_H][SKETCH_W];
    int over[SKETCH_H][SKETCH_W];
    bool keepclear[SKETCH_H][SKETCH_W];  // roads and story tiles: nothing placed on them

    struct Lightmark {
        int c, r, light, radius;
    };
    std::vector<Lightmark> lights;

    // Points within distance `radius` of (cx, cy).
    void disc(double cx, double cy, double radius, Terrain t);
    void forestdisc(double cx, double cy, double radius, bool on);
    void cliffdisc(double cx, double cy, double radius, bool on);
    // A road of the given half width along a polyline of points; its cells
    // are kept clear of things.
    void road(const std::vector<std::pair<double, double>>& points, double halfwidth, Terrain t);
    // Places a thing with its top-left cell at (c, r); false if it does not fit.
    bool place(const std::string& name, int c, int r);
    void placeforce(const std::string& name, int c, int r);
    bool fits(const std::string& name, int c, int r) const;
    // Scatters things over a box, each tried `tries` times.
    void scatter(const std::vector<std::string>& names, int c0, int r0, int c1, int r1, int count, Rng& rng);

    // Turns points into cell tiles: ground transitions, canopy and cliffs.
    void finish();
    std::string json() const;

    const OutdoorAtlases& atlases;

private:
    bool cellfree(int c, int r, bool needopen) const;
};

// The places of the level, drawn in order by main.
void drawedges(Sketchmap& m);
void drawvillage(Sketchmap& m);
void drawcamps(Sketchmap& m);
void drawgates(Sketchmap& m);
void drawwilderness(Sketchmap& m);

#endif
