// Fuzz target: the recording reader. What it takes must hang together as
// playback relies on, digest fields matched by name. One that fits this game
// plays through worldinput and boxinput for up to 300 world frames, each
// checkpoint compared with the world; others' checkpoints are compared with
// the world as it stands.
#include "harness.h"
#include "digest.h"
#include "input.h"
#include "messagebox.h"
#include "recording.h"

#include <cstdio>
#include <string>
#include <vector>

// What playback takes for granted of a recording the reader took.
static void checkshape(const Recording& r)
{
    // A game stopped before its first checkpoint leaves nothing to play.
    if (r.cut && r.input.empty()) {
        expect(r.frames == 0 && r.checkpoints.empty(), "a recording cut before its first checkpoint plays frames");
        return;
    }
    expect(!r.input.empty() && !r.input[0].box, "a recording does not start with a world frame");
    long frames = 0;
    for (const RecordedInput& in : r.input) {
        expect(in.count >= 1 && in.count <= RUNMAX, "a run outside 1..50 frames");
        if (in.box) {
            expect(in.keys.size() <= (size_t)BOXKEYMAX && in.keys.find_first_not_of(BOXKEYS) == std::string::npos,
                   "a box key outside S123UD");
            expect(in.keys.empty() || in.count == 1, "box keys on a run of box frames");
        } else {
            expect(in.keys.size() == 5, "world keys are not five letters");
            for (int i = 0; i < 5; i++)
                expect(in.keys[i] == '-' || in.keys[i] == WORLDKEYS[i], "a world key out of place");
            frames += in.count;
        }
    }
    expect(frames == r.frames && r.frames >= 1, "the world frames do not add up to the end line's");
    expect(!r.checkpoints.empty() && r.checkpoints.size() == r.checkpointat.size(), "checkpoints out of step");
    expect(r.checkpoints.back().frame == r.frames && r.checkpointat.back() == r.input.size(),
           "the last frame has no checkpoint");
    for (size_t i = 0; i < r.checkpoints.size(); i++) {
        expect(r.checkpoints[i].value.size() == r.names.size(), "a checkpoint of another length than the names");
        expect(i == 0 || (r.checkpoints[i].frame > r.checkpoints[i - 1].frame &&
                          r.checkpointat[i] >= r.checkpointat[i - 1]),
               "checkpoints out of order");
    }
}

// Each of the game's digest entries found under its own name, or not at all.
static void checkplaces(const Recording& r, const std::vector<int>& places)
{
    const std::vector<std::string>& names = digestnames();
    expect(places.size() == names.size(), "not every digest entry has a place");
    for (size_t i = 0; i < places.size(); i++) {
        const int at = places[i];
        expect(at == -1 || (at >= 0 && at < (int)r.names.size() && r.names[at] == names[i]),
               "a digest entry matched to a field of another name");
    }
}

static void play(const Recording& r, const uint8_t* data, size_t size, const std::vector<int>& places)
{
    const std::string path = scratch() + "play.rec";
    FILE* f = std::fopen(path.c_str(), "wb");
    expect(f && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0, "cannot write the recording");

    freshworld();
    options.play = path.c_str();
    mapcrc = r.mapcrc;
    expect(openinput(), "a recording of this game and map was refused by playback");

    static const char* const lines[8] = {"", "", "", "", "", "", "", ""};
    Box box{};
    bool quit = false;
    int frames = 0;
    size_t checkpoint = 0;
    for (size_t i = 0; i < r.input.size() && !quit && frames < 300; i++) {
        const RecordedInput& in = r.input[i];
        for (int n = 0; n < in.count && !quit && frames < 300; n++) {
            if (in.box) {
                // A box closed by its keys gives way to the next, as in the story.
                if (!box.repeat) boxopen(box, lines, i % 2 == 1, 3);
                boxinput(box);
                expect(box.valinta >= 1 && box.valinta <= box.num, "a question box chose outside its options");
                continue;
            }
            box.repeat = false;
            key[4] = false;
            worldinput(quit);
            frames++;
            for (int k = 0; k < 5; k++)
                expect(key[k] == (in.keys[k] == WORLDKEYS[k]), "a world frame's keys differ from the recording");
            expect(quit == (frames == r.frames), "playback did not end at the recording's last frame");
            if (checkpoint < r.checkpoints.size() && r.checkpoints[checkpoint].frame == frames) {
                Digest d;
                takedigest(d);
                digestdiff(r.checkpoints[checkpoint], places, d);
                checkpoint++;
            }
        }
    }
    closeinput();
    options.play = nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Recording r;
    std::string error;
    if (!parserecording(reinterpret_cast<const char*>(data), size, r, error)) {
        expect(!error.empty(), "a recording was refused without a reason");
        return 0;
    }
    expect(error.empty(), "a recording was taken with an error");
    checkshape(r);
    const std::vector<int> places = digestplaces(r.names);
    checkplaces(r, places);
    if (r.input.empty()) return 0;
    if (r.mapsize == MAPFILESIZE && r.names == digestnames()) {
        play(r, data, size, places);
    } else {
        Digest d;
        takedigest(d);
        for (const Checkpoint& c : r.checkpoints) digestdiff(c, places, d);
    }
    return 0;
}
