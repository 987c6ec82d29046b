// Playing a recording back: its input fed to the game frame by frame, and
// every checkpoint compared with the world's digest, the first difference
// ending the playback.
#include "digest.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "mapfile.h"
#include "messagebox.h"
#include "recording.h"

#include <algorithm>
#include <cstdio>

// The recording, the entry being read and how many of its frames are left,
// the next checkpoint to compare, and how the playback went.
static Recording playback;

static std::string playpath;

static std::vector<int> places;   // each digest entry's place in the checkpoints

static size_t entry;

static int left;

static size_t checkpoint;

static bool cutshort;     // the watcher stopped it inside a box

static std::string difference;   // the first difference found, as a line

static bool closedbydifference;  // closing was set by the difference, not by the player
static bool gameends;            // the game ends by itself after this world frame

// Refuses a recording for the reason given.
static bool refused(std::string& error, const std::string& why)
{
    error = why;
    return false;
}

// Ends the playback at the first difference: every loop ends as when the
// game closes, and the line is given once the game has stopped.
static void mismatch(const std::string& what)
{
    if (difference.empty())
        difference = "kuurakarpalo: recording \"" + playpath + "\" no longer matches the game: " + what;
    closedbydifference = closedbydifference || !closing;
    closing = 1;
}

// Takes the next recorded frame, which must be of the kind the game reads;
// nullptr once it differs.
static const RecordedInput* nextrecorded(bool box)
{
    if (!difference.empty()) return nullptr;
    if (entry < playback.input.size() && left == 0) {
        entry++;
        if (entry < playback.input.size()) left = playback.input[entry].count;
    }
    const std::string where = "in frame " + std::to_string(worldframes) + ", ";
    if (entry >= playback.input.size()) {
        mismatch(where + "the game reads on after the recording's end");
        return nullptr;
    }
    const RecordedInput& r = playback.input[entry];
    if (r.box != box) {
        mismatch(where + (box ? "the game shows a message box that the recording does not"
                              : "the recording shows a message box that the game does not"));
        return nullptr;
    }
    left--;
    return &r;
}

void playworld(bool& quit)
{
    gameends = quit;
    const RecordedInput* r = nextrecorded(false);
    for (int i = 0; i < 5; i++) key[i] = r && r->keys[i] == WORLDKEYS[i];
    if (closing || worldframes == playback.frames) quit = true;
}

bool playbox(Box& box)
{
    const RecordedInput* r = closing ? nullptr : nextrecorded(true);
    if (!r) {
        // The watcher's stop, or a difference: the world is left as it
        // stands, unlike the recorded game's, so its checkpoint is not
        // compared.
        cutshort = true;
        box.repeat = false;
        return false;
    }
    for (char c : r->keys) {
        if (c == BOXCLOSE) {
            box.repeat = false;
            return false;
        }
        boxpress(box, boxsym(c));
    }
    return true;
}

bool startplayback(const std::string& text, const std::string& label, std::string& error, std::string& unchecked)
{
    std::string why;
    const std::string name = "kuurakarpalo: recording \"" + label + "\" ";
    if (!parserecording(text.data(), text.size(), playback, why)) return refused(error, name + why);
    if (playback.mapsize != MAPFILESIZE || playback.mapcrc != mapcrc) {
        char made[96];
        std::snprintf(made, sizeof made, "was made on another map (CRC-32 %08x); this map file's is %08x",
                      (unsigned)playback.mapcrc, (unsigned)mapcrc);
        error = name + made;
        return false;
    }
    if (!setlanguage(playback.language))
        return refused(error, name + "was made in the language " + playback.language + ", which the game has no texts in");
    // A field added to the game or taken from it leaves the others to check.
    places = digestplaces(playback.names);
    if (std::none_of(places.begin(), places.end(), [](int p) { return p >= 0; }))
        return refused(error, name + "shares no digest field with this game");
    const std::string notshared = digestunchecked(playback.names);
    unchecked = notshared.empty() ? "" : name.substr(0, name.size() - 1) + ": fields left unchecked: " + notshared;
    playpath = label;
    difference.clear();
    closedbydifference = false;
    cutshort = false;
    inputsource = PLAYINPUT;
    entry = 0;
    left = playback.input.empty() ? 0 : playback.input[0].count;
    checkpoint = 0;
    return true;
}

Played playbackresult()
{
    Played p;
    p.difference = difference;
    p.closedbydifference = closedbydifference;
    p.cut = playback.cut;
    p.ended = difference.empty() && worldframes == playback.frames && checkpoint == playback.checkpoints.size();
    p.frames = playback.frames;
    p.endedbygame = playback.endedbygame;
    p.score = 0;
    if (!playback.checkpoints.empty()) {
        const int at = places.empty() || places[0] < 0 ? -1 : places[0];
        if (at >= 0) p.score = (int)playback.checkpoints.back().value[at];
    }
    if (p.cut)
        p.cutline = "kuurakarpalo: recording \"" + playpath + "\" ends at frame " + std::to_string(playback.frames) +
                    " without an end: the game that made it did not finish";
    return p;
}

void stopplayback()
{
    inputsource = LIVEINPUT;
    fastframes = false;
    worldframes = 0;
    cutshort = false;
    difference.clear();
    playback = Recording{};
    places.clear();
}

void comparecheckpoint()
{
    if (cutshort || !difference.empty()) return;
    if (checkpoint < playback.checkpoints.size() && playback.checkpoints[checkpoint].frame == worldframes) {
        Digest d;
        takedigest(d);
        const std::string diff = digestdiff(playback.checkpoints[checkpoint], places, d);
        if (!diff.empty()) return mismatch("at frame " + std::to_string(worldframes) + " " + diff);
        checkpoint++;
    }
    if (gameends && worldframes < playback.frames)
        return mismatch("the game ended at frame " + std::to_string(worldframes) +
                        "; the recording goes on to frame " + std::to_string(playback.frames));
    if (!gameends && worldframes == playback.frames && playback.endedbygame)
        mismatch("the recorded game ended by itself at frame " + std::to_string(worldframes) + "; the game goes on");
}
