// Where the player's input comes from. Every read of it goes through
// worldinput (once per world frame) and boxinput (once per box frame): live
// from SDL's events, live and written to a recording, or read back from a
// recording while the keyboard only ends the game. The rest of the game
// cannot tell which. Keys are turned into the actions they are bound to as
// they come, so the world and the recordings see actions only. Here too is
// what every event loop takes alike: closing, the window's size and focus,
// pause and full screen.
#include "main.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

InputSource inputsource = LIVEINPUT;
bool fastframes;
void (*inputfeeder)(bool boxframe);
volatile std::sig_atomic_t closing;

static int worldframes;   // world frames whose input was read
static bool cutshort;     // playback: the watcher stopped it inside a box
static bool gameends;     // the game ends by itself after this frame
static bool shown = true; // this frame reaches the screen

// Pictures: the points asked for, where the input stands counted from the
// request, and the point the frame being drawn is (-1 none), set by
// beginframe. Rows of RGBA pixels are 4096 bytes, aligned as OpenGL packs.
static std::vector<Picturepoint> points;
static void (*picturetaken)(size_t point, const unsigned char* rgba);
static std::vector<unsigned char> picture;
static int pictureworld;   // world frames read
static int picturebox;     // box frames read since the last world frame
static int picturing = -1;

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
static std::vector<int> places;   // each digest entry's place in the checkpoints
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

// ---------------------------------------------------------------------------
// The keys of the game's actions, and what every event loop takes
// ---------------------------------------------------------------------------

unsigned keyactions(SDLKey sym, int mod)
{
    // Alt+Enter switches full screen, whatever Enter is bound to.
    if ((sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (mod & KMOD_ALT)) return 1u << ACTIONFULLSCREEN;
    unsigned actions = 0;
    for (int a = 0; a < ACTIONS; a++) {
        const Binding& b = options.bindings[a];
        for (int i = 0; i < b.count; i++)
            if (b.keys[i] == sym) actions |= 1u << a;
    }
    return actions;
}

void walkkeys(unsigned actions, bool down)
{
    for (int a = ACTIONUP; a <= ACTIONRIGHT; a++)
        if (actions & 1u << a) key[a] = down;
}

static void onsignal(int)
{
    closing = 1;
}

void catchsignals()
{
    struct sigaction action {};
    action.sa_handler = onsignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

// An action pushed by pushaction: a user event whose code is the action and
// whose first datum is set while it goes down.
static bool actionevent(const SDL_Event& e)
{
    return e.type == SDL_USEREVENT && e.user.code >= 0 && e.user.code <= ACTIONTAP;
}

unsigned downactions(const SDL_Event& e)
{
    if (e.type == SDL_KEYDOWN) return keyactions(e.key.keysym.sym, e.key.keysym.mod);
    if (actionevent(e) && e.user.data1) return 1u << e.user.code;
    return 0;
}

bool commonevent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT:
        closing = 1;
        return true;
    case SDL_VIDEORESIZE:
        resizewindow(e.resize.w, e.resize.h);
        return true;
    case SDL_VIDEOEXPOSE:
        return true;
    case SDL_ACTIVEEVENT: {
        // The keyboard, or the window shown at all; the mouse is nothing.
        const int state = e.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE);
        focuslost = e.active.gain ? focuslost & ~state : focuslost | state;
        return true;
    }
    case SDL_KEYDOWN:
    case SDL_USEREVENT: {
        const unsigned actions = downactions(e);
        if (actions & 1u << ACTIONFULLSCREEN) {
            togglefullscreen();
            return true;
        }
        if (!(actions & 1u << ACTIONPAUSE)) return false;
        if (canpause()) pauseasked = true;
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// The gamepad
// ---------------------------------------------------------------------------

enum { PADUP = 1, PADDOWN = 2, PADLEFT = 4, PADRIGHT = 8 };

static SDL_Joystick* gamepad;
static int hatheld;     // directions the hat holds down
static int stickheld;   // directions the left stick holds down

void opengamepad()
{
    if (SDL_NumJoysticks() < 1) return;
    gamepad = SDL_JoystickOpen(0);
    SDL_JoystickEventState(SDL_ENABLE);
    hatheld = stickheld = 0;
}

// Presses and releases the walking actions whose directions differ between
// the held set and the new one.
static int steer(int& held, int now, Keypress press[GAMEPADPRESSES])
{
    static const struct {
        int bit;
        Action action;
    } arrows[4] = {{PADUP, ACTIONUP}, {PADDOWN, ACTIONDOWN}, {PADLEFT, ACTIONLEFT}, {PADRIGHT, ACTIONRIGHT}};
    int n = 0;
    for (const auto& a : arrows)
        if ((held ^ now) & a.bit) press[n++] = Keypress{SDLK_UNKNOWN, (now & a.bit) != 0, 1u << a.action};
    held = now;
    return n;
}

// The stick's directions along one axis, outside the dead zone.
static int stickdirections(int value, int less, int more)
{
    if (value < -GAMEPADDEADZONE) return less;
    if (value > GAMEPADDEADZONE) return more;
    return 0;
}

int keypresses(const SDL_Event& e, Keypress press[GAMEPADPRESSES])
{
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        press[0] = Keypress{e.key.keysym.sym, e.type == SDL_KEYDOWN, keyactions(e.key.keysym.sym, e.key.keysym.mod)};
        return 1;
    case SDL_JOYHATMOTION:
        if (e.jhat.which != 0 || e.jhat.hat != 0) return 0;
        return steer(hatheld,
                     (e.jhat.value & SDL_HAT_UP ? PADUP : 0) | (e.jhat.value & SDL_HAT_DOWN ? PADDOWN : 0) |
                         (e.jhat.value & SDL_HAT_LEFT ? PADLEFT : 0) |
                         (e.jhat.value & SDL_HAT_RIGHT ? PADRIGHT : 0),
                     press);
    case SDL_JOYAXISMOTION:
        if (e.jaxis.which != 0) return 0;
        if (e.jaxis.axis == 0)
            return steer(stickheld, (stickheld & (PADUP | PADDOWN)) | stickdirections(e.jaxis.value, PADLEFT, PADRIGHT),
                         press);
        if (e.jaxis.axis == 1)
            return steer(stickheld, (stickheld & (PADLEFT | PADRIGHT)) | stickdirections(e.jaxis.value, PADUP, PADDOWN),
                         press);
        return 0;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (e.jbutton.which != 0) return 0;
        press[0] = Keypress{SDLK_UNKNOWN, e.type == SDL_JOYBUTTONDOWN, 1u << ACTIONSWING};
        return 1;
    case SDL_USEREVENT:
        if (!actionevent(e)) return 0;
        press[0] = Keypress{SDLK_UNKNOWN, e.user.data1 != nullptr, 1u << e.user.code};
        return 1;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Playback
// ---------------------------------------------------------------------------

// In playback the keyboard only ends the game (a quit key, or any way of
// closing), besides pausing it and switching full screen.
static void watchkeyboard()
{
    SDL_Event e;
    while (!pauseasked && SDL_PollEvent(&e)) {
        if (commonevent(e)) continue;
        if (downactions(e) & 1u << ACTIONQUIT) closing = 1;
    }
}

void worldinput(bool& quit)
{
    // The frame already knows whether the game ends by itself after it.
    gameends = quit;
    pictureworld++;
    picturebox = 0;
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        const RecordedInput& r = nextrecorded(false);
        for (int i = 0; i < 5; i++) key[i] = r.keys[i] == WORLDKEYS[i];
        worldframes++;
        if (closing || worldframes == playback.frames) quit = true;
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

void pushkey(SDLKey sym, bool down, SDLMod mod)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void pushaction(Action action, bool down)
{
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    e.user.code = action;
    e.user.data1 = down ? &e : nullptr;
    SDL_PushEvent(&e);
}

// The letter a box's key-down is written as: the action it stands for, or
// the digit that chooses an option; 0 for a press boxes do not take.
static char boxletter(const Keypress& press)
{
    if (press.actions & (1u << ACTIONSWING | 1u << ACTIONTAP)) return 'S';
    if (press.sym == SDLK_1) return '1';
    if (press.sym == SDLK_2) return '2';
    if (press.sym == SDLK_3) return '3';
    if (press.actions & 1u << ACTIONUP) return 'U';
    if (press.actions & 1u << ACTIONDOWN) return 'D';
    return 0;
}

// The key a box takes for a letter: the action's key as the box knows it.
static SDLKey boxsym(char letter)
{
    static const SDLKey syms[] = {SDLK_SPACE, SDLK_1, SDLK_2, SDLK_3, SDLK_UP, SDLK_DOWN};
    return syms[std::strchr(BOXKEYS, letter) - BOXKEYS];
}

// A box ends at once when the game closes, and its frame says so with
// BOXCLOSE after the keys it took; a box opened while the game closes
// runs that one frame. Playback ends the box where the recording does.
bool boxinput(Box& box)
{
    picturebox++;
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        if (closing) {
            // The watcher's stop: the world is left as it stands, unlike
            // the recorded game's, so the frame's checkpoint is not compared.
            cutshort = true;
            box.repeat = false;
            return false;
        }
        for (char c : nextrecorded(true).keys) {
            if (c == BOXCLOSE) {
                box.repeat = false;
                return false;
            }
            boxpress(box, boxsym(c));
        }
        return true;
    }
    if (inputfeeder) inputfeeder(true);
    std::string keys;
    Keypress press[GAMEPADPRESSES];
    while (!closing && !pauseasked && SDL_PollEvent(&event)) {
        if (commonevent(event)) continue;
        const int n = keypresses(event, press);
        for (int i = 0; i < n; i++) {
            const char c = press[i].down ? boxletter(press[i]) : 0;
            if (c == 0 || keys.size() == (size_t)BOXKEYMAX) continue;
            keys += c;
            // The box takes the key as played back, so that both go alike.
            boxpress(box, boxsym(c));
        }
    }
    const bool closed = closing != 0;
    if (closed) {
        keys += BOXCLOSE;
        box.repeat = false;
    }
    if (inputsource == RECORDINPUT) addframe(true, keys);
    return !closed;
}

void worldframedone(bool quit)
{
    if (inputsource == RECORDINPUT) {
        if (worldframes % CHECKPOINTEVERY != 0 && !quit) return;
        Digest d;
        takedigest(d);
        flushrun();
        write(checkpointline(worldframes, d));
        if (quit) write(endline(worldframes, gameends));
        if (std::fflush(recordfile) != 0) writefailed = true;
        return;
    }
    if (inputsource != PLAYINPUT || cutshort) return;
    if (checkpoint < playback.checkpoints.size() && playback.checkpoints[checkpoint].frame == worldframes) {
        Digest d;
        takedigest(d);
        const std::string diff = digestdiff(playback.checkpoints[checkpoint], places, d);
        if (!diff.empty()) mismatch("at frame " + std::to_string(worldframes) + " " + diff);
        checkpoint++;
    }
    if (gameends && worldframes < playback.frames)
        mismatch("the game ended at frame " + std::to_string(worldframes) + "; the recording goes on to frame " +
                 std::to_string(playback.frames));
    if (!gameends && worldframes == playback.frames && playback.endedbygame)
        mismatch("the recorded game ended by itself at frame " + std::to_string(worldframes) +
                 "; the game goes on");
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

bool openinput()
{
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
        write(recordingheader(MAPFILESIZE, mapcrc, gamelanguage));
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
    if (!setlanguage(playback.language)) {
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\" was made in the language %s, which the game has no texts in\n",
                     options.play, playback.language.c_str());
        return false;
    }
    // A field added to the game or taken from it leaves the others to check.
    const std::vector<std::string>& names = digestnames();
    places = digestplaces(playback.names);
    if (std::count(places.begin(), places.end(), -1) == (long)places.size()) {
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\" shares no digest field with this game\n",
                     options.play);
        return false;
    }
    const std::string lacking = missing(names, playback.names);
    const std::string gone = missing(playback.names, names);
    if (!lacking.empty() || !gone.empty())
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\": fields left unchecked: %s%s%s%s%s\n", options.play,
                     lacking.empty() ? "" : "it lacks ", lacking.c_str(),
                     !lacking.empty() && !gone.empty() ? "; " : "",
                     gone.empty() ? "" : "the game no longer has ", gone.c_str());
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
    cutshort = false;
    playback = Recording{};
    places.clear();
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

void takepictures(const std::vector<Picturepoint>& npoints,
                  void (*taken)(size_t point, const unsigned char* rgba))
{
    points = npoints;
    picturetaken = taken;
    picture.assign(points.empty() ? 0 : (size_t)SCREEN_WIDTH * SCREEN_HEIGHT * 4, 0);
    pictureworld = 0;
    picturebox = 0;
}

// The index of the point the frame about to be drawn is, or -1.
static int pictureat(bool boxframe)
{
    const int box = boxframe ? picturebox : 0;
    for (size_t i = 0; i < points.size(); i++)
        if (points[i].world == pictureworld && points[i].box == box) return (int)i;
    return -1;
}

void beginframe(bool boxframe)
{
    picturing = pictureat(boxframe);
    shown = !fastframes || (!boxframe && worldframes % FRAMES_PER_SECOND == 0) || picturing >= 0;
    if (shown) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
    }
}

void showframe()
{
    if (picturing >= 0) {
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
        picturetaken((size_t)picturing, picture.data());
    }
    if (!shown) return;
    if (endsinpause())
        pausegame();
    else
        SDL_GL_SwapBuffers();
}
