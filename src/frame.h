// The frame: start-up and shutdown, the frame loop and its pacing. The
// entry function strings them together: init, startup, runframe until the
// game ends, quitgame.
#ifndef KUURAKARPALO_FRAME_H
#define KUURAKARPALO_FRAME_H

#include "main.h"

const int SLEEPMARGIN = 2;          // milliseconds before a frame's end polled, not slept

// Millisecond stopwatch over SDL_GetTicks. The one instance, fps, paces every
// frame loop: start() at the top of a frame, waitframe() at its end.
class Timer {
    int startTicks;    // SDL_GetTicks() at start, shifted forward by unpause
    int pausedTicks;   // elapsed milliseconds frozen by pause; 0 otherwise
    bool paused;
    bool started;
    friend struct Rig;

public:
    constexpr Timer() : startTicks(0), pausedTicks(0), paused(false), started(false) {}
    void start();
    void stop();
    void pause();
    void unpause();
    int get_ticks();
    bool is_started();
    bool is_paused();
};

extern Timer fps;            // main.cpp: the frame timer, built right after map

// Waits until fps counts FRAMEMS: asleep while more than SLEEPMARGIN
// milliseconds remain, then polling. A late frame returns at once.
void waitframe();

// Sleeps a frame's length: how a loop that waits for the player gives the
// processor away.
void rest();

// Keeps freed memory in the heap; catches the signals that close the game;
// opens SDL, the display (opendisplay), audio (unless options.sound is
// false) at the options' volumes, the fixed GL state and the caption. False
// at the first step that fails, after one line on stderr naming the step
// and SDL's or the mixer's reason.
bool init();
// Sets the clear colour and the pixel-exact projection; false on a GL error.
bool init_GL();
// For a world without a picture: catches the signals that close the game
// and starts SDL with nothing of it open, no display and no audio. False
// after one line on stderr.
bool initheadless();
// Closes everything init and start-up opened, in reverse.
void clean_up();
// Ends the program from anywhere with code: closes what init opened (the
// display above all) and finishes the recording first.
[[noreturn]] void quitgame(int code);
// Called by quitgame before it closes anything, while everything the game
// holds can still be read; empty but on the web, where the page takes the
// table of the kept games then.
extern void (*gameending)();   // init.cpp

// Start-up loading between init and the first frame, in its fixed order.
void startup();

// The decimal text of a score; fp holds any int whole.
const int SCORETEXT = 12;    // characters, terminator included
void scoretext(int value, char fp[SCORETEXT]);
// Whether the world has gone dark after the hero's death: the game ends by
// itself after this frame.
bool darkend();
// One frame of the main loop, paced to at least FRAMEMS. Returns true once the
// loop must end after this frame.
bool runframe();

#endif
