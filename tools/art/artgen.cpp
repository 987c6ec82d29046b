// Makes the characters', interface and sound data of the game and its icon
// from their sources: the sprite text under sprites/, and the drawing and
// synthesis code of this folder.
// Usage: artgen SOURCEDIR DATADIR DOCSDIR MUSICWAV ICONDIR
// The music is written as a WAV file for the MP3 encoder to turn into main.mp3;
// the icon as ICONDIR/NxN.png for each of its sizes.
#include "icon.h"
#include "imagefile.h"
#include "interface.h"
#include "pixelart.h"
#include "sound.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sheets {
    Image player, tonttu, vauva, corpses;
};

bool loadbook(const std::string& sourcedir, Spritebook* book, std::string* error)
{
    for (const char* name : {"palettes.txt", "humanoid.txt", "beast.txt", "icon.txt"})
        if (!book->load(sourcedir + "/" + name, error)) return false;
    return book->resolve(error);
}

bool makesheets(const Spritebook& book, Sheets* out, std::string* error)
{
    // Neutral type 1 is the enemy, type 2 the friend; the later bands are
    // variants that the current game does not place.
    const std::vector<std::string> neutrals = {"raider", "villager", "bandit", "farmer",
                                               "raider", "villager", "bandit", "farmer"};
    const std::vector<std::string> beasts = {"purplebeast", "swampbeast", "stonebeast",
                                             "firebeast",   "purplebeast", "swampbeast",
                                             "stonebeast",  "firebeast"};
    if (!makesheet(book, "humanoid", {"hero"}, &out->player, error)) return false;
    if (!makesheet(book, "humanoid", neutrals, &out->tonttu, error)) return false;
    if (!makesheet(book, "beast", beasts, &out->vauva, error)) return false;
    // Corpse kinds: 1 enemy neutral, 2 the hero's side, 3 monster; the other
    // thirteen pictures stay empty.
    out->corpses = Image(CELL, 16 * CELL);
    const Pose* human = book.pose("humanoid", DOWN, 0);
    const Pose* beast = book.pose("beast", DOWN, 0);
    return drawcorpse(out->corpses, 0 * CELL, *human, *book.palette("raider"), false, 11, error) &&
           drawcorpse(out->corpses, 1 * CELL, *human, *book.palette("villager"), false, 12, error) &&
           drawcorpse(out->corpses, 2 * CELL, *beast, *book.palette("purplebeast"), true, 13, error);
}

// All sprite pictures side by side, three times enlarged, over a grassy
// chequer, with the overlays in their two flash colours beside their sheets.
Image makecontactsheet(const Sheets& s, const Image& blade)
{
    const int scale = 3, gap = 12;
    Image tonttu(128, 256), vauva(128, 128), overlay(128, 128);
    blitscaled(tonttu, s.tonttu, 0, 0, 1);
    blitscaled(vauva, s.vauva, 0, 0, 1);
    Image corpses(32, 96);
    blitscaled(corpses, s.corpses, 0, 0, 1);
    const Image over = makeoverlay(s.player);
    for (int y = 0; y < 128; y++) {
        for (int x = 0; x < 128; x++) {
            if (!over.at(x, y)[3]) continue;
            const bool blue = (x / 32 + y / 32) % 2 == 0;
            uint8_t* p = overlay.at(x, y);
            p[0] = blue ? 0 : 255, p[1] = blue ? 77 : 128, p[2] = blue ? 204 : 255, p[3] = 255;
        }
    }
    const std::vector<const Image*> parts = {&s.player, &overlay, &tonttu, &vauva, &corpses};
    int width = gap, height = 256 * scale + 2 * gap + blade.height * scale + gap;
    for (const Image* part : parts) width += part->width * scale + gap;
    Image sheet(width, height);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint8_t* p = sheet.at(x, y);
            const bool dark = ((x / (16 * scale)) + (y / (16 * scale))) % 2 != 0;
            p[0] = dark ? 70 : 86, p[1] = dark ? 112 : 130, p[2] = dark ? 52 : 62, p[3] = 255;
        }
    }
    int x = gap;
    for (const Image* part : parts) {
        blitscaled(sheet, *part, x, gap, scale);
        x += part->width * scale + gap;
    }
    blitscaled(sheet, blade, gap, 256 * scale + 2 * gap, scale);
    return sheet;
}

bool writeicons(const Spritebook& book, const std::string& icondir, std::string* error)
{
    Image icon;
    if (!makeicon(book, &icon, error)) return false;
    for (int size : iconsizes()) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size) + ".png";
        if (!writepng(icondir + "/" + name, iconat(icon, size), error)) return false;
    }
    return true;
}

bool writeall(const std::string& sourcedir, const std::string& datadir, const std::string& docsdir,
              const std::string& musicwav, const std::string& icondir, std::string* error)
{
    Spritebook book;
    Sheets s;
    if (!loadbook(sourcedir, &book, error) || !makesheets(book, &s, error) ||
        !writeicons(book, icondir, error))
        return false;
    Image font;
    if (!makefont(&font, error)) return false;
    const Image blade = makeblade();
    const Image panel = makepanel();
    const RowOrder top = RowOrder::TopFirst;
    const std::string d = datadir + "/";
    const bool pictures =
        writetga(d + "player.tga", s.player, top, true, error) &&
        writetga(d + "playerl.tga", makeoverlay(s.player), top, true, error) &&
        writetga(d + "tonttu.tga", s.tonttu, top, true, error) &&
        writetga(d + "tonttul.tga", makeoverlay(s.tonttu), top, true, error) &&
        writetga(d + "vauva.tga", s.vauva, top, true, error) &&
        writetga(d + "vauval.tga", makeoverlay(s.vauva), top, true, error) &&
        writetga(d + "ruumiit.tga", s.corpses, top, true, error) &&
        writetga(d + "kirves.tga", blade, top, true, error) &&
        writetga(d + "message.tga", panel, top, true, error) &&
        writetga(d + "fontti.tga", font, RowOrder::BottomFirst, true, error) &&
        writepng(docsdir + "/sprites.png", makecontactsheet(s, blade), error);
    if (!pictures) return false;
    const Sound hit = makehit();
    const Sound music = makemusic();
    return writewav(d + "hit1.wav", hit, error) && writewav(musicwav, music, error);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s SOURCEDIR DATADIR DOCSDIR MUSICWAV ICONDIR\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!writeall(argv[1], argv[2], argv[3], argv[4], argv[5], &error)) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
