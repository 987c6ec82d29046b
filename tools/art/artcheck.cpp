// Checks that the characters', interface and sound data have the layouts the
// game reads: picture sizes and TGA form, figures standing in their cells the
// right way up, walking frames that move, overlays that cover their sheets,
// the corpse pictures, the font grid with its letters beyond ASCII, the blade's direction, a
// dark panel behind the text lines, a short hit sound and a music track of a
// minute or more. Usage: artcheck DIR, the directory that holds DATA/; each
// file is the one the game loads.
#include "font.h"
#include "fontletters.h"
#include "language.h"
#include "layer.h"
#include "main.h"
#include "options.h"
#include "textures.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int failures = 0;

void fail(const std::string& what)
{
    std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    failures++;
}

std::vector<uint8_t> readfile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A 32-bit picture as the game loads it: rows in stored order, so row 0 is
// texture coordinate t = 0.
struct Picture {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int x, int row) const { return &rgba[(size_t(row) * width + x) * 4]; }
    bool solid(int x, int row) const { return at(x, row)[3] > 127; }
};

// Loads a picture with the game's own reader and checks its size and depth;
// returns false (after reporting) if it cannot be used at all.
bool loadpicture(const std::string& dir, const std::string& name, int width, int height, Picture* p)
{
    p->name = name;
    FILE* f = std::fopen((dir + "/" + name).c_str(), "rb");
    TextureImage image{};
    const bool read = f && readtga(f, &image);
    // Nothing after the pixels: the file is exactly what the header says.
    const bool whole = read && std::fgetc(f) == EOF;
    if (f) std::fclose(f);
    if (!read) {
        fail(name + ": missing, or not the uncompressed true-colour TGA the game reads");
        return false;
    }
    p->width = int(image.width);
    p->height = int(image.height);
    p->rgba.assign(image.imageData, image.imageData + size_t(image.width) * image.height * (image.bpp / 8));
    std::free(image.imageData);
    if (image.bpp != 32) {
        fail(name + ": not 32 bits a pixel");
        return false;
    }
    if (p->width != width || p->height != height) {
        fail(name + ": " + std::to_string(p->width) + "x" + std::to_string(p->height) + ", expected " +
             std::to_string(width) + "x" + std::to_string(height));
        return false;
    }
    if (!whole) {
        fail(name + ": bytes follow the pixel data");
        return false;
    }
    return true;
}

// Opaque pixels in the w x h box at (x, row).
int countsolid(const Picture& p, int x, int row, int w, int h)
{
    int n = 0;
    for (int r = row; r < row + h; r++)
        for (int c = x; c < x + w; c++) n += p.solid(c, r);
    return n;
}

bool samebox(const Picture& p, int x1, int r1, int x2, int r2, int w, int h)
{
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++)
            for (int k = 0; k < 4; k++)
                if (p.at(x1 + c, r1 + r)[k] != p.at(x2 + c, r2 + r)[k]) return false;
    return true;
}

// A band of four walking frames in four facings: every cell drawn, the figure
// standing on the cell's bottom (so the rows are not upside down), the
// walking frames 1 and 3 different from the standing frame 0, and the four
// facings different from each other.
void checkband(const Picture& p, int band, const std::string& what)
{
    const std::string where = p.name + " " + what;
    for (int frame = 0; frame < 4; frame++) {
        for (int facing = 0; facing < 4; facing++) {
            const int x = facing * 32, row = (band * 4 + frame) * 32;
            const std::string cell = where + " facing " + std::to_string(facing) + " frame " + std::to_string(frame);
            if (countsolid(p, x, row, 32, 32) < 150) {
                fail(cell + ": cell nearly empty");
                continue;
            }
            if (countsolid(p, x, row + 26, 32, 6) == 0 || countsolid(p, x, row, 32, 3) > 12)
                fail(cell + ": figure does not stand on the bottom of its cell");
            for (int r = row; r < row + 32; r++)
                for (int c = x; c < x + 32; c++)
                    if (p.at(c, r)[3] != 0 && p.at(c, r)[3] != 255)
                        return fail(cell + ": half-transparent pixel, lost to the alpha test");
        }
    }
    for (int facing = 0; facing < 4; facing++) {
        const int x = facing * 32, row = band * 128;
        if (samebox(p, x, row, x, row + 32, 32, 32) || samebox(p, x, row, x, row + 96, 32, 32))
            fail(where + " facing " + std::to_string(facing) + ": walking frames do not move");
        for (int other = facing + 1; other < 4; other++)
            if (samebox(p, x, row, other * 32, row, 32, 32))
                fail(where + ": facings " + std::to_string(facing) + " and " + std::to_string(other) + " look the same");
    }
}

void checkoverlay(const Picture& sheet, const Picture& overlay)
{
    for (int r = 0; r < sheet.height; r++) {
        for (int c = 0; c < sheet.width; c++) {
            if (sheet.solid(c, r) != overlay.solid(c, r))
                return fail(overlay.name + ": silhouette differs from " + sheet.name + " at " +
                            std::to_string(c) + "," + std::to_string(r));
            const uint8_t* o = overlay.at(c, r);
            if (overlay.solid(c, r) && (o[0] < 200 || o[1] < 200 || o[2] < 200))
                return fail(overlay.name + ": overlay pixel not light, the flash colour would not show");
        }
    }
}

// Glyph n of the font, counted from the top of the picture: the game's
// texture rows run from t = 1 downwards, i.e. from the last stored row.
int glyphsolid(const Picture& font, int glyph, int cellrow, int cellcolumn0, int cellcolumn1)
{
    const int row = font.height - 1 - ((glyph / 16) * 16 + cellrow);
    int n = 0;
    for (int c = cellcolumn0; c <= cellcolumn1; c++) n += font.solid((glyph % 16) * 16 + c, row);
    return n;
}

bool sameglyph(const Picture& font, int a, int b)
{
    for (int r = 0; r < 16; r++)
        for (int c = 0; c < 16; c++)
            if (glyphsolid(font, a, r, c, c) != glyphsolid(font, b, r, c, c)) return false;
    return true;
}

void checkfont(const Picture& font)
{
    // Only the two sets' rows 0..5 and 8..13 hold glyphs, and the cells of
    // the letters beyond ASCII.
    const auto letterat = [](int cell) {
        for (const FontLetter& l : FONTLETTERS)
            if (l.cell == cell % 128) return true;
        return false;
    };
    for (int row : {6, 7, 14, 15})
        for (int g = row * 16; g < row * 16 + 16; g++)
            for (int r = 0; r < 16; r++)
                if (!letterat(g) && glyphsolid(font, g, r, 0, 15))
                    return fail("font: grid row " + std::to_string(row) + " from the top is not empty");
    for (int set = 0; set < 2; set++) {
        const int base = 128 * set - 32;
        const std::string s = "font set " + std::to_string(set);
        int total = 0;
        for (int r = 0; r < 16; r++) total += glyphsolid(font, base + 'A', r, 0, 15);
        if (total < 20) fail(s + ": no glyph for A in grid row " + std::to_string(2 + 8 * set) + ", column 1 from the top");
        if (glyphsolid(font, base + ' ', 0, 0, 15) + glyphsolid(font, base + ' ', 8, 0, 15) != 0)
            fail(s + ": the space is not blank");
        // "_" lies low in its cell and "'" high: a flipped grid or upside-down
        // glyphs move them.
        int low = 0, high = 0;
        for (int r = 0; r < 16; r++) {
            (r < 8 ? high : low) += glyphsolid(font, base + '_', r, 0, 15);
            (r < 8 ? low : high) += glyphsolid(font, base + '\'', r, 0, 15);
        }
        if (low == 0 || high != 0) fail(s + ": glyphs are not upright in their cells");
        for (int code = 32; code < 128; code++)
            for (int r = 0; r < 16; r++)
                if (glyphsolid(font, base + code, r, 11, 15))
                    return fail(s + ": glyph " + std::to_string(code) + " wider than the 10-pixel pen step");
        // Each letter beyond ASCII is drawn, within the pen step, and is not
        // its letter without the marks (ä is not a, Å is not A).
        static const char PLAIN[][2] = {{(char)0xE4, 'a'}, {(char)0xF6, 'o'}, {(char)0xC4, 'A'},
                                        {(char)0xD6, 'O'}, {(char)0xC5, 'A'}, {(char)0xE5, 'a'}};
        for (const FontLetter& l : FONTLETTERS) {
            const int cell = 128 * set + l.cell;
            int n = 0, wide = 0;
            for (int r = 0; r < 16; r++) {
                n += glyphsolid(font, cell, r, 0, 15);
                wide += glyphsolid(font, cell, r, 11, 15);
            }
            char plain = 0;
            for (const auto& p : PLAIN)
                if ((unsigned char)p[0] == l.code) plain = p[1];
            if (n < 20 || wide > 0 || plain == 0 || sameglyph(font, cell, base + plain)) {
                char code[16];
                std::snprintf(code, sizeof code, "U+%04X", l.code);
                fail(s + ": no letter " + code + " drawn in cell " + std::to_string(l.cell));
            }
        }
    }
}

void checkblade(const Picture& blade)
{
    // The guard, the tallest part, near s = 0 (left); a narrow tip at s = 1.
    int tallest = 0, at = -1;
    for (int c = 0; c < 64; c++) {
        const int n = countsolid(blade, c, 0, 1, 16);
        if (n > tallest) tallest = n, at = c;
    }
    if (countsolid(blade, 0, 0, 2, 16) == 0 || countsolid(blade, 62, 0, 2, 16) == 0)
        fail("kirves.tga: blade does not span the picture");
    if (at < 0 || at >= 20 || countsolid(blade, 62, 0, 2, 16) > 10)
        fail("kirves.tga: the guard is not at the left edge and the tip at the right");
    if (blade.solid(0, 0) || blade.solid(63, 15) || blade.solid(63, 0) || blade.solid(0, 15))
        fail("kirves.tga: corners are not transparent");
}

void checkpanel(const Picture& panel)
{
    // Screen rectangle of the text lines, mapped onto the stretched panel.
    for (int y = 590; y <= 765; y++) {
        for (int x = 190; x <= 1000; x++) {
            const int c = x * panel.width / 1024, r = (y - 512) * panel.height / 256;
            const uint8_t* p = panel.at(c, r);
            if (!panel.solid(c, r) || p[0] + p[1] + p[2] > 3 * 110)
                return fail("message.tga: not dark and opaque behind the text at screen " +
                            std::to_string(x) + "," + std::to_string(y));
        }
    }
}

uint32_t le(const std::vector<uint8_t>& d, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; k--) v = v << 8 | d[at + k];
    return v;
}

void checkhit(const std::string& dir)
{
    const std::string name = HITFILE;
    const std::vector<uint8_t> d = readfile(dir + "/" + name);
    if (d.size() < 44 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
        std::string(d.begin() + 8, d.begin() + 16) != "WAVEfmt ")
        return fail(name + ": not a RIFF WAVE file");
    const uint32_t channels = le(d, 22, 2), rate = le(d, 24, 4), bits = le(d, 34, 2), bytes = le(d, 40, 4);
    if (le(d, 20, 2) != 1 || bits != 16 || channels != 2 || rate != 22050)
        return fail(name + ": not 16-bit stereo PCM at the game's 22050 Hz");
    if (std::string(d.begin() + 36, d.begin() + 40) != "data" || 44 + size_t(bytes) != d.size())
        return fail(name + ": data chunk length does not match the file");
    const double seconds = double(bytes) / (rate * channels * 2);
    if (seconds <= 0.05 || seconds >= 1.0) fail(name + ": " + std::to_string(seconds) + " s long");
    int peak = 0;
    for (size_t i = 44; i + 1 < d.size(); i += 2) peak = std::max(peak, std::abs(int(int16_t(le(d, i, 2)))));
    if (peak < 3000) fail(name + ": nearly silent");
}

// Walks the MPEG audio frames of the track and returns its length in seconds,
// or -1 if the frames do not run cleanly to the end of the file.
double mp3seconds(const std::vector<uint8_t>& d, int* rate, bool* mono)
{
    static const int rates1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int rates2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static const int freqs[3] = {44100, 48000, 32000};
    size_t at = 0;
    if (d.size() > 10 && d[0] == 'I' && d[1] == 'D' && d[2] == '3')
        at = 10 + (size_t(d[6] & 127) << 21 | size_t(d[7] & 127) << 14 | size_t(d[8] & 127) << 7 | (d[9] & 127));
    double seconds = 0;
    int frames = 0;
    while (at + 4 <= d.size()) {
        if (d.size() - at == 128 && d[at] == 'T' && d[at + 1] == 'A' && d[at + 2] == 'G') break;
        if (d[at] != 0xff || (d[at + 1] & 0xe0) != 0xe0) return -1;
        const int version = (d[at + 1] >> 3) & 3, layer = (d[at + 1] >> 1) & 3;
        const int bitrate = d[at + 2] >> 4, freq = (d[at + 2] >> 2) & 3, padding = (d[at + 2] >> 1) & 1;
        if (version == 1 || layer != 1 || bitrate == 0 || bitrate == 15 || freq == 3) return -1;
        const bool mpeg1 = version == 3;
        const int hz = freqs[freq] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
        const int kbps = mpeg1 ? rates1[bitrate] : rates2[bitrate];
        const size_t length = size_t((mpeg1 ? 144 : 72) * kbps * 1000 / hz + padding);
        seconds += (mpeg1 ? 1152.0 : 576.0) / hz;
        *rate = hz;
        *mono = (d[at + 3] >> 6) == 3;
        at += length;
        frames++;
    }
    return at >= d.size() && frames > 0 ? seconds : -1;
}

void checkmusic(const std::string& dir)
{
    int rate = 0;
    bool mono = false;
    const std::string name = MUSICFILE;
    const double seconds = mp3seconds(readfile(dir + "/" + name), &rate, &mono);
    if (seconds < 0) fail(name + ": missing or not a clean sequence of MPEG layer III frames");
    else if (seconds < 60.0) fail(name + ": only " + std::to_string(seconds) + " s long");
    // The game mixes at 22050 Hz in stereo; music in that form needs no conversion.
    if (seconds >= 0 && (rate != 22050 || mono)) fail(name + ": not stereo at 22050 Hz");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR (the directory that holds DATA/)\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    Picture player, playerl, tonttu, tonttul, vauva, vauval, corpses, blade, panel, font;
    const auto load = [&dir](int slot, int width, int height, Picture* p) {
        return loadpicture(dir, picturefile(slot), width, height, p);
    };
    if (load(TEXPLAYER, 128, 128, &player)) checkband(player, 0, "hero");
    if (load(TEXNEUTRAL, 128, 1024, &tonttu)) {
        checkband(tonttu, RAIDER - 1, "enemy");
        checkband(tonttu, FRIEND - 1, "friend");
        if (samebox(tonttu, 0, 0, 0, 128, 128, 128)) fail(tonttu.name + ": enemy and friend look the same");
    }
    if (load(TEXMONSTER, 128, 1024, &vauva)) checkband(vauva, MONSTER - 1, "monster");
    if (load(TEXPLAYERFLASH, 128, 128, &playerl) && !player.rgba.empty()) checkoverlay(player, playerl);
    if (load(TEXNEUTRALFLASH, 128, 1024, &tonttul) && !tonttu.rgba.empty()) checkoverlay(tonttu, tonttul);
    if (load(TEXMONSTERFLASH, 128, 1024, &vauval) && !vauva.rgba.empty()) checkoverlay(vauva, vauval);
    if (load(TEXCORPSE, 32, 512, &corpses))
        for (int kind : {RAIDERCORPSE, VILLAGERCORPSE, MONSTERCORPSE})
            if (countsolid(corpses, 0, (kind - 1) * 32, 32, 32) < 100)
                fail(corpses.name + ": corpse kind " + std::to_string(kind) + " is empty");
    if (load(TEXSWORD, 64, 16, &blade)) checkblade(blade);
    if (load(TEXPANEL, 512, 128, &panel)) checkpanel(panel);
    if (load(TEXFONT, 256, 256, &font)) checkfont(font);
    checkhit(dir);
    checkmusic(dir);
    if (failures) std::fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
