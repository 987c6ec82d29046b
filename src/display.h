// The display: a window or the whole screen, the frames shown on it and
// pictures taken of them.
#ifndef KUURAKARPALO_DISPLAY_H
#define KUURAKARPALO_DISPLAY_H

#include "main.h"

#include <cstddef>
#include <vector>

// The display: a window or the whole screen (display.cpp). The game draws in
// SCREEN_WIDTH by SCREEN_HEIGHT logical pixels; the viewport scales them into
// the largest centred 4:3 rectangle, with black bars beside or above it.

const int SCREEN_BPP = 32;          // bits per pixel
const int WINDOWMINWIDTH = 320;    // pixels: the smallest window kept
const int WINDOWMINHEIGHT = 240;   // pixels

// A rectangle of the display in its own pixels, from its bottom-left
// corner, as glViewport takes it.
struct Viewport {
    int x, y, w, h;
};
extern Viewport viewport;   // display.cpp: where the picture lies on the display
extern bool fullscreen;     // display.cpp: the display is the whole screen, not a window

// The largest 4:3 rectangle centred in a display of w by h pixels.
Viewport fitviewport(int w, int h);
// Moves a window's size into bounds: at least WINDOWMINWIDTH by
// WINDOWMINHEIGHT, at most the desktop (or the logical screen, if larger).
void clampwindow(int& w, int& h);
// Sets the display options ask for: full screen at the desktop's own
// resolution, or a resizable window of options.windowwidth by
// options.windowheight. False, with SDL's reason in SDL_GetError, if none.
bool opendisplay();
// The window as the player resized it, clamped; nothing in full screen.
void resizewindow(int w, int h);
// Between full screen and the window, as Alt+Enter asks.
void togglefullscreen();
// After a mode change that gave a new OpenGL context: the fixed GL state,
// every texture slot uploaded again from its pixels and the font's lists.
void restorecontext();

// The frame on the display, and pictures of it (display.cpp)

// Whether the world runs without a picture: no frame is drawn while a
// recording is checked (the world moves on exactly as when drawn).
extern bool headless;   // display.cpp
// Whether a display is open to draw on.
bool hasdisplay();
// Starts and ends one frame on the display: true if this frame is drawn.
// In fast frames only one in FRAMES_PER_SECOND is drawn and shown, and a
// frame a picture is taken of. A frame shown while a pause is asked for
// ends in the pause.
bool beginframe(bool boxframe);
void showframe();
// Shows the back buffer.
void swapframe();
// Notes a world frame's input (or a box frame's) read, for takepictures.
void countinput(bool boxframe);

// A frame to take a picture of, by its place in the input read since
// takepictures: world frame world (the first is 1), or with box >= 1 the
// box-th box frame read after that world frame's input (box frames read
// before the first world frame count as world frame 0).
struct Picturepoint {
    int world;
    int box;
};
// Takes pictures of the frames at points: each is drawn whole, fast or not,
// and just before it is shown the viewport's pixels, width by height RGBA
// read from the back buffer, bottom row first, are handed to taken with the
// point's index. Places count from this call; no points, no pictures.
void takepictures(const std::vector<Picturepoint>& points,
                  void (*taken)(size_t point, const unsigned char* rgba, int width, int height));

// Keeps the frame just drawn, the viewport's pixels of the back buffer, in
// texture slot TEXKEPT; a picture larger than a texture may be, or without
// memory for it, leaves the slot empty.
void keepframe();
// Draws the kept frame over the whole logical screen, or black without one.
void showkept();
// Frees the kept frame.
void dropkept();

#endif
