#include "pixelart.h"

#include "rng.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

const char* FACINGNAMES[4] = {"up", "down", "left", "right"};

int facingfromname(const std::string& name)
{
    for (int f = 0; f < 4; f++)
        if (name == FACINGNAMES[f]) return f;
    return -1;
}

std::string posekey(const std::string& figure, int facing, int frame)
{
    return figure + " " + std::to_string(facing) + " " + std::to_string(frame);
}

bool parsecolour(const std::string& text, Rgba* colour)
{
    if (text == "-") {
        *colour = {0, 0, 0, 0};
        return true;
    }
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    const unsigned long v = std::stoul(text, nullptr, 16);
    *colour = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), 255};
    return true;
}

Pose mirrored(const Pose& pose)
{
    Pose out = pose;
    for (std::string& row : out.rows) std::reverse(row.begin(), row.end());
    return out;
}

bool opaque(const Image& image, int x, int y)
{
    return image.at(x, y)[3] > 127;
}

}  // namespace

bool Spritebook::load(const std::string& path, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    std::string line;
    int lineno = 0;
    Palette* palette = nullptr;
    Pose* pose = nullptr;
    auto fail = [&](const std::string& what) {
        *error = path + ":" + std::to_string(lineno) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        lineno++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            palette = nullptr;
            pose = nullptr;
            continue;
        }
        if (line[0] == '#' && !palette && !pose) continue;
        std::istringstream words(line);
        std::string head;
        words >> head;
        if (pose) {
            if (line.find_first_of(" \t") != std::string::npos) return fail("space inside a pose row");
            if (!pose->rows.empty() && line.size() != pose->rows[0].size())
                return fail("pose row of another width");
            pose->rows.push_back(line);
        } else if (palette) {
            std::string value;
            words >> value;
            Rgba colour;
            if (head.size() != 1 || head == "." || !parsecolour(value, &colour))
                return fail("palette lines read: LETTER RRGGBB (or - for transparent)");
            palette->colours[head[0]] = colour;
        } else if (head == "palette") {
            std::string name;
            if (!(words >> name)) return fail("palette without a name");
            palette = &palettes[name];
        } else if (head == "pose") {
            std::string figure, facingname, eq, third;
            int frame = -1;
            words >> figure >> facingname >> frame;
            const int facing = facingfromname(facingname);
            if (figure.empty() || facing < 0 || frame < 0 || frame > 3)
                return fail("pose lines read: pose FIGURE up|down|left|right FRAME");
            if (words >> eq) {
                Copy copy{figure, facing, frame, -1, false, path + ":" + std::to_string(lineno)};
                if (eq != "=" || !(words >> third)) return fail("expected = N or = mirror N");
                if (third == "mirror") {
                    copy.mirror = true;
                    words >> copy.from;
                } else {
                    copy.from = std::atoi(third.c_str());
                }
                if (copy.from < 0 || copy.from > 3) return fail("copied frame out of 0..3");
                copies.push_back(copy);
            } else {
                pose = &poses[posekey(figure, facing, frame)];
                pose->rows.clear();
            }
        } else {
            return fail("unknown line: " + head);
        }
    }
    return true;
}

bool Spritebook::resolve(std::string* error)
{
    for (const Copy& copy : copies) {
        auto from = poses.find(posekey(copy.figure, copy.facing, copy.from));
        if (from == poses.end()) {
            *error = copy.where + ": copies a pose that is not drawn";
            return false;
        }
        poses[posekey(copy.figure, copy.facing, copy.frame)] =
            copy.mirror ? mirrored(from->second) : from->second;
    }
    std::vector<std::pair<std::string, Pose>> added;
    for (const auto& entry : poses) {
        std::istringstream words(entry.first);
        std::string figure;
        int facing, frame;
        words >> figure >> facing >> frame;
        if (facing == RIGHT && !poses.count(posekey(figure, LEFT, frame)))
            added.emplace_back(posekey(figure, LEFT, frame), mirrored(entry.second));
    }
    for (auto& entry : added) poses.insert(entry);
    return true;
}

const Palette* Spritebook::palette(const std::string& name) const
{
    auto it = palettes.find(name);
    return it == palettes.end() ? nullptr : &it->second;
}

const Pose* Spritebook::pose(const std::string& figure, int facing, int frame) const
{
    auto it = poses.find(posekey(figure, facing, frame));
    return it == poses.end() ? nullptr : &it->second;
}

bool drawpose(Image& image, int left, int top, const Pose& pose, const Palette& palette,
              std::string* error)
{
    const int w = pose.width(), h = pose.height();
    if (w < 1 || h < 1 || w > CELL - 2 || h > CELL - 2) {
        *error = "pose does not fit a 32x32 cell with its outline";
        return false;
    }
    const int x0 = left + (CELL - w) / 2;
    const int y0 = top + CELL - 1 - h;
    for (int r = 0; r < h; r++) {
        for (int c = 0; c < w; c++) {
            const char letter = pose.rows[r][c];
            if (letter == '.') continue;
            auto it = palette.colours.find(letter);
            if (it == palette.colours.end()) {
                *error = std::string("palette has no colour for '") + letter + "'";
                return false;
            }
            std::copy(it->second.begin(), it->second.end(), image.at(x0 + c, y0 + r));
        }
    }
    // Outline: every empty pixel of the cell that touches the figure across an
    // edge turns dark, so the figure reads against any ground.
    auto outline = palette.colours.find('#');
    if (outline == palette.colours.end()) return true;
    std::vector<char> edge(size_t(CELL) * CELL, 0);
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            if (opaque(image, left + x, top + y)) continue;
            const bool touches = (x > 0 && opaque(image, left + x - 1, top + y)) ||
                                 (x < CELL - 1 && opaque(image, left + x + 1, top + y)) ||
                                 (y > 0 && opaque(image, left + x, top + y - 1)) ||
                                 (y < CELL - 1 && opaque(image, left + x, top + y + 1));
            edge[size_t(y) * CELL + x] = touches;
        }
    }
    for (int y = 0; y < CELL; y++)
        for (int x = 0; x < CELL; x++)
            if (edge[size_t(y) * CELL + x])
                std::copy(outline->second.begin(), outline->second.end(),
                          image.at(left + x, top + y));
    return true;
}

bool makesheet(const Spritebook& book, const std::string& figure,
               const std::vector<std::string>& bands, Image* sheet, std::string* error)
{
    *sheet = Image(4 * CELL, int(bands.size()) * 4 * CELL);
    for (size_t band = 0; band < bands.size(); band++) {
        const Palette* palette = book.palette(bands[band]);
        if (!palette) {
            *error = "no palette named " + bands[band];
            return false;
        }
        for (int frame = 0; frame < 4; frame++) {
            for (int facing = 0; facing < 4; facing++) {
                const Pose* pose = book.pose(figure, facing, frame);
                if (!pose) {
                    *error = figure + ": no pose for facing " + FACINGNAMES[facing] + " frame " +
                             std::to_string(frame);
                    return false;
                }
                const int top = (int(band) * 4 + frame) * CELL;
                if (!drawpose(*sheet, facing * CELL, top, *pose, *palette, error)) {
                    *error = figure + " " + FACINGNAMES[facing] + " " + std::to_string(frame) +
                             " in " + bands[band] + ": " + *error;
                    return false;
                }
            }
        }
    }
    return true;
}

Image makeoverlay(const Image& sheet)
{
    Image out(sheet.width, sheet.height);
    for (int y = 0; y < sheet.height; y++) {
        for (int x = 0; x < sheet.width; x++) {
            if (!opaque(sheet, x, y)) continue;
            uint8_t* p = out.at(x, y);
            p[0] = p[1] = p[2] = p[3] = 255;
        }
    }
    return out;
}

bool drawcorpse(Image& strip, int top, const Pose& pose, const Palette& palette, bool onback,
                uint64_t seed, std::string* error)
{
    Image standing(CELL, CELL);
    if (!drawpose(standing, 0, 0, pose, palette, error)) return false;
    // Turn the figure: a quarter turn lays a human on its side with the head to
    // the left; a half turn leaves a beast on its back with its feet up.
    Image lying(CELL, CELL);
    int minx = CELL, maxx = -1, miny = CELL, maxy = -1;
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            const int sx = onback ? x : CELL - 1 - y;
            const int sy = onback ? CELL - 1 - y : x;
            const uint8_t* s = standing.at(sx, sy);
            if (s[3] == 0) continue;
            uint8_t* d = lying.at(x, y);
            // Death greys and darkens the colours a little.
            const int grey = (s[0] + s[1] + s[2]) / 3;
            for (int k = 0; k < 3; k++) d[k] = uint8_t((s[k] * 3 + grey) * 3 / 16);
            d[3] = 255;
            minx = std::min(minx, x), maxx = std::max(maxx, x);
            miny = std::min(miny, y), maxy = std::max(maxy, y);
        }
    }
    if (maxx < 0) {
        *error = "corpse pose is empty";
        return false;
    }
    const int dx = (CELL - 1 - maxx - minx) / 2, dy = (CELL - 1 - maxy - miny) / 2;
    // Blood under the body: a ragged dark-red pool, half transparent at its rim
    // because corpses are blended, not alpha-tested.
    Rng noise(seed);
    const double cx = 15.5 + noise.signedunit() * 2.0, cy = 18.0 + noise.signedunit();
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            const double ex = (x - cx) / 13.0, ey = (y - cy) / 8.0;
            const double r = std::sqrt(ex * ex + ey * ey) + noise.signedunit() * 0.08;
            if (r >= 1.0) continue;
            uint8_t* d = strip.at(x, top + y);
            const double shade = 0.75 + 0.25 * noise.unit();
            d[0] = uint8_t(110 * shade);
            d[1] = uint8_t(10 * shade);
            d[2] = uint8_t(14 * shade);
            d[3] = uint8_t(r > 0.8 ? 120 : 200);
        }
    }
    for (int y = 0; y < CELL; y++) {
        for (int x = 0; x < CELL; x++) {
            const int sx = x - dx, sy = y - dy;
            if (sx < 0 || sy < 0 || sx >= CELL || sy >= CELL) continue;
            const uint8_t* s = lying.at(sx, sy);
            if (s[3] == 0) continue;
            std::copy(s, s + 4, strip.at(x, top + y));
        }
    }
    return true;
}

void blitscaled(Image& dst, const Image& src, int x, int y, int scale)
{
    for (int sy = 0; sy < src.height; sy++) {
        for (int sx = 0; sx < src.width; sx++) {
            const uint8_t* s = src.at(sx, sy);
            if (s[3] == 0) continue;
            for (int k = 0; k < scale * scale; k++) {
                const int px = x + sx * scale + k % scale, py = y + sy * scale + k / scale;
                if (px < 0 || py < 0 || px >= dst.width || py >= dst.height) continue;
                uint8_t* d = dst.at(px, py);
                // Blend over the background so blended pictures show as in the game.
                for (int c = 0; c < 3; c++) d[c] = uint8_t((s[c] * s[3] + d[c] * (255 - s[3])) / 255);
                d[3] = 255;
            }
        }
    }
}
