// The quads of one frame, gathered from the world as the drawing routines
// would place, light and cut them, and sent in the fewest batches.
#include "quads.h"

#include "scene.h"
#include "layer.h"
#include "textures.h"
#include "world.h"

#include <cmath>
#include <cstdio>

namespace {

struct Gather {
    std::vector<QuadRun> runs;
    Tint tint = nighttint();

    Gather() { runs.reserve(16); }   // run() hands out references into it

    QuadRun& run(int slot, bool alphatest, bool blend, bool tiles = false)
    {
        runs.push_back(QuadRun{slot, alphatest, blend, tiles, {}});
        return runs.back();
    }
    void lit(float c[4], int cx, int cy, float a) const
    {
        const float l = (float)(lightat(cx, cy) / 9.0);
        c[0] = l / tint.r;
        c[1] = l / tint.g;
        c[2] = l / tint.b;
        c[3] = a;
    }
    // A quad given by its top-left world pixel and texture rectangle, lit
    // by the grid points around cell (mx, my), or in one flat colour.
    void quad(QuadRun& r, float x, float y, float s0, float t0, float s1, float t1, int mx, int my,
              float a, const float* flat = nullptr)
    {
        const float px[4] = {x, x + 32, x + 32, x};
        const float py[4] = {y, y, y + 32, y + 32};
        const float s[4] = {s0, s1, s1, s0};
        const float t[4] = {t0, t0, t1, t1};
        const int dx[4] = {0, 1, 1, 0};
        const int dy[4] = {0, 0, 1, 1};
        for (int k = 0; k < 4; k++) {
            Corner c{};
            if (flat)
                for (int i = 0; i < 4; i++) c.colour[i] = flat[i];
            else
                lit(c.colour, mx + dx[k], my + dy[k], a);
            c.st[0] = s[k];
            c.st[1] = t[k];
            c.xy[0] = px[k] - Camera.x;
            c.xy[1] = py[k] - Camera.y;
            r.corners.push_back(c);
        }
    }
    void layer(const int* cells, int slot, bool ground)
    {
        QuadRun& r = run(slot, !ground, false, true);
        const float w = (float)(textures[slot].width / TILE);
        const float h = (float)(textures[slot].height / TILE);
        for (int cy = Rig::rolly() - 1; cy <= Rig::rolly() + 25; cy++) {
            if (cy < 0 || cy >= Rig::sizey()) continue;
            for (int cx = Rig::rollx() - 1; cx <= Rig::rollx() + 33; cx++) {
                if (cx < 0 || cx >= Rig::sizex()) continue;
                const int v = cells[cy * MAPW + cx];
                if (!ground && v <= 0) continue;
                const int row = v / 16, column = v - 16 * row;
                quad(r, (float)(cx * TILE), (float)(cy * TILE), column / w, row / h, (column + 1) / w,
                     (row + 1) / h, cx, cy, 1);
            }
        }
    }
    void body(QuadRun& bodies, QuadRun& overlays, Hahmo& h, float vtop, float vbottom)
    {
        static const float BLUE[4] = {0, 0.3f, 0.8f, 1};
        const float u0 = h.d / 4.0f, u1 = (h.d + 1) / 4.0f;
        const float x = Rig::x(h), y = Rig::y(h);
        quad(bodies, x, y, u0, vtop, u1, vbottom, h.mapx, h.mapy, 1);
        if (Rig::invulnerability(h) > 0) quad(overlays, x, y, u0, vtop, u1, vbottom, 0, 0, 1, BLUE);
    }
    void sword(QuadRun& r, Weapon& w, Hahmo& h)
    {
        const float x = Rig::x(h), y = Rig::y(h);
        if (!(Rig::swordfade(w) > 0) || !inscreen((int)x, (int)y)) return;
        static const int pivot[4][2] = {{12, 20}, {20, 12}, {20, 24}, {12, 24}};
        const int sd = Rig::swordd(w) & 3;
        const float ox = (pivot[sd][0] - Camera.x) + x, oy = (pivot[sd][1] - Camera.y) + y;
        const double a = (h.d == 3 ? Rig::sworda(w) : -Rig::sworda(w)) * 0.017453292519943295;
        const float s = h.d == 3 ? -1.0f : 1.0f, tip = (64 * Rig::swordb(w) + 12) * s;
        const float mx[4] = {12 * s, tip, tip, 12 * s}, my[4] = {-8, -8, 8, 8};
        const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        const int dx[4] = {0, 1, 1, 0}, dy[4] = {0, 0, 1, 1};
        for (int k = 0; k < 4; k++) {
            Corner c{};
            lit(c.colour, h.mapx + dx[k], h.mapy + dy[k], Rig::swordfade(w));
            c.st[0] = st[k][0];
            c.st[1] = st[k][1];
            c.xy[0] = (float)(ox + mx[k] * std::cos(a) - my[k] * std::sin(a));
            c.xy[1] = (float)(oy + mx[k] * std::sin(a) + my[k] * std::cos(a));
            r.corners.push_back(c);
        }
    }
    void bar(QuadRun& r, Hahmo& h)
    {
        const float x = Rig::x(h), y = Rig::y(h), a = Rig::healtfade(h);
        if (!inscreen((int)x, (int)y) || !(a > 0) || !(h.healt > 0)) return;
        const float right = x + h.healt * 30 / 100;
        const float red[4] = {1, 0, 0, a}, end[4] = {(100 - h.healt) / 100, h.healt / 100, 0, a};
        const float px[4] = {x + 2, right, right, x + 2}, py[4] = {y - 5, y - 5, y - 1, y - 1};
        for (int k = 0; k < 4; k++) {
            Corner c{};
            for (int i = 0; i < 4; i++) c.colour[i] = (k == 1 || k == 2) ? end[i] : red[i];
            c.xy[0] = px[k] - Camera.x;
            c.xy[1] = py[k] - Camera.y;
            r.corners.push_back(c);
        }
    }
    void text(QuadRun& r, int x, int y, const char* s, bool red)
    {
        for (int i = 0; s[i]; i++) {
            const int g = (unsigned char)s[i] - 32;
            const float cx = float(g % 16) / 16.0f, cy = float(g / 16) / 16.0f;
            const float px[4] = {0, 16, 16, 0}, py[4] = {16, 16, 0, 0};
            const float st[4][2] = {{cx, 1 - cy - 0.0625f},
                                    {cx + 0.0625f, 1 - cy - 0.0625f},
                                    {cx + 0.0625f, 1 - cy},
                                    {cx, 1 - cy}};
            for (int k = 0; k < 4; k++) {
                Corner c{{1, red ? 0.0f : 1.0f, red ? 0.0f : 1.0f, 1}, {st[k][0], st[k][1]},
                         {x + 10.0f * i + px[k], y + py[k]}};
                r.corners.push_back(c);
            }
        }
    }
};

}   // namespace

std::vector<QuadRun> gatherquads()
{
    Gather g;
    g.layer(Rig::tile(), 0, true);
    g.layer(Rig::tile2(), 1, false);

    QuadRun& corpses = g.run(6, false, true);
    for (int n = 0; n < SLOTS; n++) {
        Corpse& c = Rig::corpse(n);
        const int x = Rig::x(c), y = Rig::y(c);
        if (Rig::type(c) <= 0 || !(Rig::decay(c) > 0) || !inscreen(x, y)) continue;
        const float s0 = Rig::d(c) < 0 ? 0.0f : 1.0f;
        const int mx = (int)((x + 16) / 32.0), my = (int)((y + 16) / 32.0);
        g.quad(corpses, (float)x, (float)y, s0, (Rig::type(c) - 1) / 16.0f, 1 - s0, Rig::type(c) / 16.0f,
               mx, my, Rig::decay(c));
    }

    QuadRun* bodies = &g.run(4, true, false);
    QuadRun* overlays = &g.run(5, true, false);
    for (int n = 0; n < SLOTS; n++) {
        Neutral& e = Rig::neutral(n);
        if (Rig::type(e) <= 0 || !inscreen((int)Rig::x(e), (int)Rig::y(e))) continue;
        const float band = (Rig::type(e) - 1) / 8.0f;
        g.body(*bodies, *overlays, e, Rig::frame(e) / 32.0f + band, (Rig::frame(e) + 1) / 32.0f + band);
    }
    bodies = &g.run(7, true, false);
    overlays = &g.run(8, true, false);
    for (int n = 0; n < SLOTS; n++) {
        Monster& m = Rig::monster(n);
        if (Rig::type(m) <= 0 || !inscreen((int)Rig::x(m), (int)Rig::y(m))) continue;
        const float band = (Rig::type(m) - 1) / 8.0f;
        g.body(*bodies, *overlays, m, Rig::frame(m) / 32.0f + band, (Rig::frame(m) + 1) / 32.0f + band);
    }
    Player& p = Rig::player();
    bodies = &g.run(9, true, false);
    overlays = &g.run(10, true, false);
    if (p.healt > 0) g.body(*bodies, *overlays, p, Rig::frame(p) / 4.0f, (Rig::frame(p) + 1) / 4.0f);

    g.layer(Rig::tile3(), 1, false);

    QuadRun& swords = g.run(11, false, true);
    for (int n = 0; n < SLOTS; n++)
        if (Rig::type(Rig::neutral(n)) > 0) g.sword(swords, Rig::neutral(n), Rig::neutral(n));
    g.sword(swords, p, p);
    QuadRun& bars = g.run(-1, false, true);
    for (int n = 0; n < SLOTS; n++)
        if (Rig::type(Rig::neutral(n)) > 0) g.bar(bars, Rig::neutral(n));
    for (int n = 0; n < SLOTS; n++)
        if (Rig::type(Rig::monster(n)) > 0) g.bar(bars, Rig::monster(n));
    g.bar(bars, p);

    char fp[SCORETEXT];
    scoretext(score, fp);
    QuadRun& text = g.run(3, true, false);
    g.text(text, 760, 700, "Pisteet:", false);
    g.text(text, 920, 700, fp, true);
    return g.runs;
}

void sendquads(const std::vector<QuadRun>& runs, bool apart)
{
    for (const QuadRun& r : runs) {
        if (r.corners.empty()) continue;
        if (r.slot >= 0) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, textures[r.slot].texID);
        }
        if (r.alphatest) {
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GREATER, 0.5f);
        }
        if (r.blend) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        glBegin(GL_QUADS);
        for (size_t i = 0; i < r.corners.size(); i++) {
            const Corner& c = r.corners[i];
            if (apart && !r.tiles && i > 0 && i % 4 == 0) {
                glEnd();
                glLoadIdentity();
                glBegin(GL_QUADS);
            }
            glColor4fv(c.colour);
            if (r.slot >= 0) glTexCoord2fv(c.st);
            glVertex2fv(c.xy);
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_BLEND);
    }
}

int countquads(const std::vector<QuadRun>& runs)
{
    int n = 0;
    for (const QuadRun& r : runs) n += (int)r.corners.size() / 4;
    return n;
}
