// The player's input, from SDL's events into the game's actions: the keys
// as bound, the first gamepad, the actions a touch screen pushes, and what
// every event loop takes alike (closing, the window's size and focus, pause
// and full screen). Every read of the input goes through worldinput (once
// a world frame) and boxinput (once a box frame); in playback the recording
// stands in for the events and the keyboard only ends the game. The world
// and the recordings see actions only.
#include "input.h"
#include "display.h"
#include "main.h"
#include "messagebox.h"
#include "options.h"
#include "pause.h"
#include "recording.h"

#include <SDL/SDL.h>

#include <signal.h>

#include <cstring>

bool fastframes;
void (*inputfeeder)(bool boxframe);
volatile std::sig_atomic_t closing;
int worldframes;

// ---------------------------------------------------------------------------
// Keys into actions, and what every event loop takes
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

// ---------------------------------------------------------------------------
// The frames' input
// ---------------------------------------------------------------------------

// The events after a pause's P wait for the pause, which takes them.
void pollevents(bool& quit)
{
    Keypress press[GAMEPADPRESSES];
    while (!pauseasked && SDL_PollEvent(&event)) {
        if (commonevent(event)) continue;
        const int n = keypresses(event, press);
        for (int i = 0; i < n; i++) {
            const unsigned actions = press[i].actions;
            // The swing counts once per press and is cleared each frame, so
            // only the walking actions are let go of here.
            walkkeys(actions, press[i].down);
            if (press[i].down && actions & 1u << ACTIONSWING) key[KEYSPACE] = true;
            if (press[i].down && actions & 1u << ACTIONQUIT) quit = true;
        }
    }
    if (closing) quit = true;
}

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
    const bool ends = quit;
    worldframes++;
    countinput(false);
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        playworld(quit);
        return;
    }
    if (inputfeeder) inputfeeder(false);
    pollevents(quit);
    if (inputsource == RECORDINPUT) recordworld(ends);
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

SDLKey boxsym(char letter)
{
    static const SDLKey syms[] = {SDLK_SPACE, SDLK_1, SDLK_2, SDLK_3, SDLK_UP, SDLK_DOWN};
    const char* at = std::strchr(BOXKEYS, letter);
    return at && letter ? syms[at - BOXKEYS] : SDLK_UNKNOWN;
}

// A box ends at once when the game closes, and its frame says so with
// BOXCLOSE after the keys it took; a box opened while the game closes runs
// that one frame. Playback ends the box where the recording does.
bool boxinput(Box& box)
{
    countinput(true);
    if (inputsource == PLAYINPUT) {
        watchkeyboard();
        return playbox(box);
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
    if (inputsource == RECORDINPUT) recordbox(keys);
    return !closed;
}

bool pausedinput(bool& redraw)
{
    SDL_Event e;
    redraw = false;
    while (!closing && SDL_PollEvent(&e)) {
        const unsigned actions = downactions(e);
        if (actions & 1u << ACTIONPAUSE) return false;
        if (actions & 1u << ACTIONQUIT) {
            closing = 1;
            return true;
        }
        const bool shown =
            e.type == SDL_VIDEOEXPOSE || e.type == SDL_VIDEORESIZE || (actions & 1u << ACTIONFULLSCREEN) != 0;
        if (commonevent(e)) {
            redraw = redraw || shown;
            continue;
        }
        Keypress press[GAMEPADPRESSES];
        const int n = keypresses(e, press);
        for (int i = 0; i < n; i++) walkkeys(press[i].actions, press[i].down);
    }
    return true;
}

bool anykey()
{
    SDL_Event e;
    bool pressed = false;
    while (!closing && SDL_PollEvent(&e)) {
        if (commonevent(e)) continue;
        Keypress press[GAMEPADPRESSES];
        const int n = keypresses(e, press);
        for (int i = 0; i < n; i++) pressed = pressed || press[i].down;
    }
    return pressed;
}
