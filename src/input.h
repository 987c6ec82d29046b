// Input: SDL's events into the game's actions, the keys, the gamepad and
// the page's pushed actions, the closing signals, and each loop's reading.
#ifndef KUURAKARPALO_INPUT_H
#define KUURAKARPALO_INPUT_H

#include "main.h"

#include <SDL/SDL.h>

#include <csignal>
#include <string>

struct Box;

extern SDL_Event event;      // main.cpp: the record every event loop polls into

// Input: SDL's events into the game's actions (input.cpp)

// The actions a key stands for, pressed with the modifiers mod, a bit
// (1 << Action) each: those options.bindings binds it to, or with Alt held
// Enter full screen alone.
unsigned keyactions(SDLKey sym, int mod = KMOD_NONE);
// The actions an event starts: a key going down, or an action pushed going
// down; 0 for any other event.
unsigned downactions(const SDL_Event& e);
// A key going down or up, from the keyboard or standing in for a gamepad or
// a touch screen, with the actions it stands for.
struct Keypress {
    SDLKey sym;         // the key; SDLK_UNKNOWN for a gamepad or a pushed action
    bool down;
    unsigned actions;   // a bit (1 << Action) for each action it stands for
};
const int GAMEPADPRESSES = 4;        // the most presses one event stands for
const int GAMEPADDEADZONE = 8000;    // stick travel, of 32767, that counts as centred
// The key presses an event stands for: a key for the actions it is bound
// to; from the first gamepad, whatever the keys are bound to, the hat and
// the left stick as walking (each direction going down when it starts and
// up when it ends) and any button as the sword's swing; a pushed action.
int keypresses(const SDL_Event& e, Keypress press[GAMEPADPRESSES]);
// Opens the first gamepad, if there is one, for its events.
void opengamepad();
// The walking actions among actions going down or up set or clear their
// entries of key.
void walkkeys(unsigned actions, bool down);
// Puts a key going down (or up) into SDL's queue, as the keyboard sends it,
// with the modifiers mod held.
void pushkey(SDLKey sym, bool down = true, SDLMod mod = KMOD_NONE);
// Puts an action going down (or up) into SDL's queue, as a key bound to it
// would: how controls that are no keys (a touch screen's) play.
void pushaction(Action action, bool down);

// Set when the game must close at once: the window's close button, SIGTERM,
// SIGINT or SIGHUP, Escape while paused, the watcher of a playback stopping
// it, or a playback that no longer matches the game. Every frame loop reads
// it: the world frame running is the last, an open box ends in the box frame
// that sees it, and so does a pause.
extern volatile std::sig_atomic_t closing;   // input.cpp
// Installs handlers for SIGTERM, SIGINT and SIGHUP that only set closing.
void catchsignals();
// What every event loop takes alike, besides its own keys: a window close
// sets closing; a new window size is taken; a pause key asks for a pause;
// the window losing or regaining focus is noted in focuslost; Alt+Enter
// switches full screen. True if the event was one of these.
bool commonevent(const SDL_Event& e);

// Every read of the player's input goes through worldinput and boxinput. In
// live play they read SDL's events; while recording they also write what
// they read; in playback they read the recording instead and the keyboard
// only ends the game.
enum InputSource { LIVEINPUT, RECORDINPUT, PLAYINPUT };
extern InputSource inputsource;   // recording.cpp: where this run's input comes from
extern int worldframes;           // input.cpp: world frames whose input was read
// Takes the pending events into key, up to a pause asked for: sets quit on
// a quit key, a window close or a closing signal; asks for a pause on a
// pause key or when the window loses focus; switches full screen on
// Alt+Enter; follows the window's size.
void pollevents(bool& quit);
// One world frame's input: key[0..4] and, on Escape, a window close or a
// closing signal, quit. In playback quit is also set in the recording's
// last frame.
void worldinput(bool& quit);
// One box frame's input: every key-down the box takes, handed to boxpress.
// Once the game is closing the box ends at once: false, and the box frame
// draws nothing more.
bool boxinput(Box& box);
// The key a box takes for a letter of BOXKEYS, as the box knows it.
SDLKey boxsym(char letter);
// The events while paused: false once the pause key goes down; redraw set
// when the picture must be shown again. The arrows pressed and let go count
// when the game goes on.
bool pausedinput(bool& redraw);
// Whether a key, a button or an action went down among the pending events.
bool anykey();
// Whether frames run without waiting and mostly undrawn (fast playback, a
// check of a recording and the scripted player): only one world frame a
// second (every FRAMES_PER_SECOND-th) is drawn and reaches the screen.
extern bool fastframes;   // input.cpp
// Called before live input is read, with true in a box frame; a scripted
// player pushes its keys into SDL's queue here. Empty in the game.
extern void (*inputfeeder)(bool boxframe);   // input.cpp

#endif
