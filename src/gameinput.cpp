// Where a run's input comes from and where it goes: a file recorded with
// --record, a recording played back, or a live game kept; and how the
// game that read it ended.
#include "frame.h"
#include "input.h"
#include "options.h"
#include "recording.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

InputSource inputsource = LIVEINPUT;

void (*recordingsaved)();

void worldframedone(bool quit)
{
    if (inputsource == RECORDINPUT) writecheckpoint(quit);
    if (inputsource == PLAYINPUT) comparecheckpoint();
}

bool openinput()
{
    worldframes = 0;
    if (options.record) {
        FILE* file = std::fopen(options.record, "wb");
        if (!file) {
            std::fprintf(stderr, "kuurakarpalo: cannot write the recording \"%s\": %s\n", options.record,
                         std::strerror(errno));
            return false;
        }
        return startrecording(file, options.record, false);
    }
    // A kept game starts recording with its first frame (keepgame).
    if (!options.play) return true;
    std::string text, error, unchecked;
    if (!readrecordingfile(options.play, text, error)) error = std::string("kuurakarpalo: recording \"") + options.play + "\" " + error;
    if (!error.empty() || !startplayback(text, options.play, error, unchecked)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!unchecked.empty()) std::fprintf(stderr, "%s\n", unchecked.c_str());
    fastframes = options.fast;
    // A game stopped before its first checkpoint has nothing to play.
    if (playbackresult().frames == 0) quitgame(0);
    return true;
}

Ending ending;

int closeinput()
{
    int code = 0;
    if (inputsource == PLAYINPUT) {
        const Played p = playbackresult();
        ending = !p.difference.empty() ? ENDDIFFERS : !p.ended ? ENDSTOPPED : p.cut ? ENDCUT : ENDPLAYED;
        if (!p.difference.empty()) {
            std::fprintf(stderr, "%s\n", p.difference.c_str());
            code = 3;
        } else if (p.ended && p.cut) {
            std::fprintf(stderr, "%s\n", p.cutline.c_str());
        }
    }
    stopplayback();
    const int written = closerecording();
    return code ? code : written;
}
