// Checking a recording by playing it back without a picture or sound: the
// world made new, the sounds and the language put aside and back.
#include "audio.h"
#include "display.h"
#include "frame.h"
#include "games.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "mapfile.h"
#include "recording.h"
#include "world.h"

#include <SDL/SDL_mixer.h>

Verdict verifytext(const std::string& text, const std::string& label)
{
    Verdict v{Verdict::UNPLAYABLE, false, 0, 0, 0, "", "", "", 0, 0};
    Recording r;
    std::string why;
    if (!parserecording(text.data(), text.size(), r, why)) {
        v.line = "kuurakarpalo: recording \"" + label + "\" " + why;
        return v;
    }
    v.language = r.language;
    v.version = r.game;
    v.mapsize = r.mapsize;
    v.mapcrc = r.mapcrc;
    const std::string language = gamelanguage;
    // Nothing of the check is heard: a game played back keeps its sounds.
    Mix_Chunk* const hit = hit1;
    Mix_Music* const track = music;
    hit1 = nullptr;
    music = nullptr;
    headless = true;
    fastframes = true;
    if (const char* problem = newworld()) {
        v.code = Verdict::NOMAP;
        v.line = std::string("kuurakarpalo: map file \"") + MAPFILE + "\" " + problem;
    } else {
        worldframes = 0;
        std::string unchecked;
        if (startplayback(text, label, v.line, unchecked)) {
            bool quit = false;
            if (playbackresult().frames > 0)
                while (!quit) quit = runframe();
            const Played p = playbackresult();
            v.score = score;
            v.frames = p.frames;
            v.reached = worldframes;
            v.finished = !p.cut;
            if (!p.difference.empty()) {
                v.code = Verdict::DIFFERS;
                v.line = p.difference;
                if (p.closedbydifference) closing = 0;
            } else if (!p.ended && p.frames > 0) {
                v.code = Verdict::INTERRUPTED;
                v.line = "kuurakarpalo: the check of recording \"" + label + "\" was interrupted at frame " +
                         std::to_string(worldframes) + " of " + std::to_string(p.frames) + ": it is not verified";
            } else {
                v.code = Verdict::VERIFIES;
                v.line = p.cutline;
            }
            stopplayback();
        }
    }
    headless = false;
    fastframes = false;
    hit1 = hit;
    music = track;
    setlanguage(language);
    return v;
}

Verdict verifyrecording(const char* path)
{
    std::string text, why;
    if (readrecordingfile(path, text, why)) return verifytext(text, path);
    Verdict v{Verdict::UNPLAYABLE, false, 0, 0, 0, "", "", "", 0, 0};
    v.line = std::string("kuurakarpalo: recording \"") + path + "\" " + why;
    return v;
}
