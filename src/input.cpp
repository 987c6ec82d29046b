// Where the player's input comes from. Every read of it goes through
// worldinput (once per world frame) and boxinput (once per box frame): live
// from SDL's events, live and written to a recording, or read back from a
// recording while the keyboard only ends the game. The rest of the game
// cannot tell which.
#include "main.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

InputSource inputsource = LIVEINPUT;
bool fastframes;
void (*inputfeeder)(bool boxframe);

static int worldframes;   // world frames whose input was read
static bool stopasked;    // playback: Escape or a window close came
static bool shown = true; // this frame reaches the screen

// Recording: the open file and the run of alike frames not yet written.
static FILE* recordfile;
static bool writefailed;
static struct {
    bool box;
    int count;
    std::string keys;
} run;

// Playback: the recording, the entry being read and how many of its frames
// are left, and the next checkpoint to compare.
static Recording playback;
static size_t entry;
static int left;
static size_t checkpoint;

static void write(const std::string& line)
{
    if (std::fputs(line.c_str(), recordfile) == EOF) writefailed = true;
}

static void flushrun()
{
    if (run.count == 0) return;
    write(run.box ? boxline(run.count, run.keys) : worldline(run.count, run.keys));
    run.count = 0;
}

// Adds one frame's input to the run, starting a new run when it differs.
// A box frame with keys is a line of its own.
static void addframe(bool box, const std::string& keys)
{
    if (run.count > 0 && (run.box != box || run.keys != keys || run.count == RUNMAX)) flushrun();
    run.box = box;
    run.keys = keys;
    run.count++;
    if (box && !keys.empty()) flushrun();
}

[[noreturn]] static void mismatch(const std::string& what)
{
    std::fprintf(stderr, "kuurakarpalo: recording \"%s\" no longer matches the game: %s\n",
                 options.play, what.c_str());
    quitgame(3);
}

// Takes the next recorded frame, which must be of the kind the game reads.
static const RecordedInput& nextrecorded(bool box)
{
    if (entry < playback.input.size() && left == 0) {
        entry++;
        if (entry < playback.input.size()) left = playback.input[entry].count;
    }
    const std::string where = "in frame " + std::to_string(worldframes + (box ? 0 : 1)) + ", ";
    if (entry >= playback.input.size())
        mismatch(where + "the game reads on after the recording's end");
    const RecordedInput& r = playback.input[entry];
    if (r.box != box) {
        if (box) mismatch(where + "the game shows a message box that the recording does not");
        mismatch(where + "the recording shows a message box that the game does not");
    }
    left--;
    return r;
}

// In playback the keyboard only ends the game: Escape, or closing the window.
static void watchkeyboard()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if ((e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) || e.type == SDL_QUIT)
            stopasked = true;
    }
}

void worldinput(bool& quit)
{
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        const RecordedInput& r = nextrecorded(false);
        for (int i = 0; i < 5; i++) key[i] = r.keys[i] == WORLDKEYS[i];
        worldframes++;
        if (stopasked || worldframes == playback.frames) quit = true;
        return;
    }
    if (inputfeeder) inputfeeder(false);
    pollevents(quit);
    worldframes++;
    if (inputsource == RECORDINPUT) {
        std::string keys;
        for (int i = 0; i < 5; i++) keys += key[i] ? WORLDKEYS[i] : '-';
        addframe(false, keys);
    }
}

void pushkey(SDLKey sym, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

// The letter a box key is written as, or 0 for a key boxes do not take.
static char boxletter(SDLKey sym)
{
    switch (sym) {
    case SDLK_SPACE: return 'S';
    case SDLK_1: return '1';
    case SDLK_2: return '2';
    case SDLK_3: return '3';
    case SDLK_UP: return 'U';
    case SDLK_DOWN: return 'D';
    default: return 0;
    }
}

static SDLKey boxsym(char letter)
{
    static const SDLKey syms[] = {SDLK_SPACE, SDLK_1, SDLK_2, SDLK_3, SDLK_UP, SDLK_DOWN};
    return syms[std::strchr(BOXKEYS, letter) - BOXKEYS];
}

void boxinput(Box& box)
{
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        for (char c : nextrecorded(true).keys) boxpress(box, boxsym(c));
        return;
    }
    if (inputfeeder) inputfeeder(true);
    std::string keys;
    while (SDL_PollEvent(&event)) {
        if (event.type != SDL_KEYDOWN) continue;
        const char c = boxletter(event.key.keysym.sym);
        if (c == 0 || keys.size() == (size_t)BOXKEYMAX) continue;
        keys += c;
        boxpress(box, event.key.keysym.sym);
    }
    if (inputsource == RECORDINPUT) addframe(true, keys);
}

void worldframedone(bool quit)
{
    if (inputsource == RECORDINPUT) {
        if (worldframes % CHECKPOINTEVERY != 0 && !quit) return;
        Digest d;
        takedigest(d);
        flushrun();
        write(checkpointline(worldframes, d));
        if (quit) write(endline(worldframes));
        if (std::fflush(recordfile) != 0) writefailed = true;
        return;
    }
    if (inputsource != PLAYINPUT) return;
    if (checkpoint < playback.checkpoints.size() && playback.checkpoints[checkpoint].frame == worldframes) {
        Digest d;
        takedigest(d);
        const std::string diff = digestdiff(playback.checkpoints[checkpoint], d);
        if (!diff.empty()) mismatch("at frame " + std::to_string(worldframes) + " " + diff);
        checkpoint++;
    }
    if (quit && !stopasked && worldframes < playback.frames)
        mismatch("the game ended at frame " + std::to_string(worldframes) + "; the recording goes on to frame " +
                 std::to_string(playback.frames));
}

// Names the fields one list has and the other lacks.
static std::string missing(const std::vector<std::string>& from, const std::vector<std::string>& in)
{
    std::string out;
    for (const std::string& name : from) {
        bool found = false;
        for (const std::string& other : in) found = found || other == name;
        if (!found) out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

bool openinput(int& code)
{
    code = 1;
    worldframes = 0;
    run.count = 0;
    if (options.record) {
        recordfile = std::fopen(options.record, "wb");
        if (!recordfile) {
            std::fprintf(stderr, "kuurakarpalo: cannot write the recording \"%s\": %s\n", options.record,
                         std::strerror(errno));
            return false;
        }
        inputsource = RECORDINPUT;
        write(recordingheader(MAPFILESIZE, mapcrc));
        return true;
    }
    if (!options.play) return true;

    std::string error;
    if (!readrecording(options.play, playback, error)) {
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\" %s\n", options.play, error.c_str());
        return false;
    }
    if (playback.mapsize != MAPFILESIZE || playback.mapcrc != mapcrc) {
        std::fprintf(stderr,
                     "kuurakarpalo: recording \"%s\" was made on another map (CRC-32 %08x); "
                     "this map file's is %08x\n",
                     options.play, (unsigned)playback.mapcrc, (unsigned)mapcrc);
        return false;
    }
    const std::vector<std::string>& names = digestnames();
    if (playback.names != names) {
        const std::string extra = missing(playback.names, names);
        const std::string lacking = missing(names, playback.names);
        std::fprintf(stderr,
                     "kuurakarpalo: recording \"%s\" no longer matches the game: its checkpoints %s%s%s%s\n",
                     options.play, extra.empty() ? "" : "hold fields the game does not have: ",
                     extra.c_str(), !extra.empty() && !lacking.empty() ? "; and " : "",
                     lacking.empty() ? (extra.empty() ? "list the fields in another order" : "")
                                     : ("lack " + lacking).c_str());
        code = 3;
        return false;
    }
    inputsource = PLAYINPUT;
    fastframes = options.fast;
    entry = 0;
    left = playback.input[0].count;
    checkpoint = 0;
    return true;
}

bool closeinput()
{
    inputsource = LIVEINPUT;
    fastframes = false;
    worldframes = 0;
    stopasked = false;
    playback = Recording{};
    if (!recordfile) return true;
    flushrun();
    const bool closed = std::fclose(recordfile) == 0;
    recordfile = nullptr;
    if (!closed || writefailed) {
        writefailed = false;
        std::fprintf(stderr, "kuurakarpalo: the recording \"%s\" could not be written whole\n", options.record);
        return false;
    }
    return true;
}

void beginframe(bool boxframe)
{
    shown = !fastframes || (!boxframe && worldframes % 40 == 0);
    if (shown) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
    }
}

void showframe()
{
    if (shown) SDL_GL_SwapBuffers();
}
