// The window or the screen the picture is shown on, the frames shown on it
// and the pictures taken of them. The game draws in
// SCREEN_WIDTH by SCREEN_HEIGHT logical pixels whatever the display's size;
// the viewport scales them into the largest centred 4:3 rectangle, and the
// frame's clear paints the bars around it black. Full screen takes the
// desktop's own resolution, so no video mode ever changes.
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "main.h"
#include "messagebox.h"
#include "options.h"
#include "pause.h"
#include "textures.h"

#include <SDL/SDL.h>
#include <GL/gl.h>


#include <cstdio>
#include <cstdlib>

Viewport viewport = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
bool fullscreen;

// The desktop's size as SDL saw it before the game set a mode; the
// window's size while playing full screen, to go back to.
static int desktopwidth = SCREEN_WIDTH, desktopheight = SCREEN_HEIGHT;
static int windowwidth = SCREEN_WIDTH, windowheight = SCREEN_HEIGHT;

Viewport fitviewport(int w, int h)
{
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    // Products in 64 bits: a side may be any int an event carries.
    const long long wide = (long long)w * SCREEN_HEIGHT, tall = (long long)h * SCREEN_WIDTH;
    int vw = w, vh = h;
    if (wide > tall)
        vw = (int)(tall / SCREEN_HEIGHT);
    else
        vh = (int)(wide / SCREEN_WIDTH);
    if (vw < 1) vw = 1;
    if (vh < 1) vh = 1;
    return Viewport{(w - vw) / 2, (h - vh) / 2, vw, vh};
}

void clampwindow(int& w, int& h)
{
    const int maxw = desktopwidth > SCREEN_WIDTH ? desktopwidth : SCREEN_WIDTH;
    const int maxh = desktopheight > SCREEN_HEIGHT ? desktopheight : SCREEN_HEIGHT;
    if (w < WINDOWMINWIDTH) w = WINDOWMINWIDTH;
    if (h < WINDOWMINHEIGHT) h = WINDOWMINHEIGHT;
    if (w > maxw) w = maxw;
    if (h > maxh) h = maxh;
}

// Sets the video mode: full screen at the desktop's size, or a resizable
// window of w by h pixels; then the viewport for the size SDL gave. False,
// with SDL's reason in SDL_GetError, when no such mode could be set.
static bool setmode(bool full, int w, int h)
{
    if (!full) clampwindow(w, h);
    const Uint32 flags = full ? SDL_OPENGL | SDL_FULLSCREEN : SDL_OPENGL | SDL_RESIZABLE;
    const SDL_Surface* surface = SDL_SetVideoMode(full ? desktopwidth : w, full ? desktopheight : h, SCREEN_BPP, flags);
    if (!surface) return false;
    fullscreen = full;
    if (!full) {
        windowwidth = surface->w;
        windowheight = surface->h;
    }
    viewport = fitviewport(surface->w, surface->h);
    glViewport(viewport.x, viewport.y, viewport.w, viewport.h);
    return true;
}

bool opendisplay()
{
    // Before the first mode, SDL tells the desktop's size; later it tells
    // the game's own. An unknown size counts as the logical screen's.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && info->current_w > 0 && info->current_h > 0) {
        desktopwidth = info->current_w;
        desktopheight = info->current_h;
    }
    return setmode(!options.window, options.windowwidth, options.windowheight);
}

// A mode change may give a new OpenGL context (not on SDL 1.2's X11 driver,
// nor on sdl12-compat, but elsewhere): then what the old one held is made
// again. The font's display lists stand for all of it.
static void changemode(bool full, int w, int h)
{
    const bool held = base != 0 && glIsList(base);
    const bool wasfull = fullscreen;
    const int wasw = windowwidth, wash = windowheight;
    if (!setmode(full, w, h)) {
        std::fprintf(stderr, "kuurakarpalo: cannot change the display: %s\n", SDL_GetError());
        // Back to what worked; without it there is nothing left to draw on.
        if (!setmode(wasfull, wasw, wash)) quitgame(1);
    }
    if (held && !glIsList(base)) restorecontext();
    // The first picture shown after a change of size can land where the old
    // size had it (Mesa's software rasteriser under X does so): a black one
    // goes first, and the next frame is in place.
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
}

void resizewindow(int w, int h)
{
    if (fullscreen) return;
    changemode(false, w, h);
}

void togglefullscreen()
{
    changemode(!fullscreen, windowwidth, windowheight);
}

void restorecontext()
{
    init_GL();
    glViewport(viewport.x, viewport.y, viewport.w, viewport.h);
    for (TextureImage& t : textures) {
        t.texID = 0;
        if (t.imageData) uploadtexture(&t);
    }
    NTEXTURE = -2;
    BuildFont();
}

bool hasdisplay()
{
    return SDL_GetVideoSurface() != nullptr;
}

// ---------------------------------------------------------------------------
// The frame, and pictures of it
// ---------------------------------------------------------------------------

bool headless;

static bool shown = true;   // this frame reaches the screen

// Pictures: the points asked for, where the input stands counted from the
// request, and the point the frame being drawn is (-1 none), set by
// beginframe.
static std::vector<Picturepoint> points;
static void (*picturetaken)(size_t point, const unsigned char* rgba, int width, int height);
static std::vector<unsigned char> picture;
static int pictureworld;   // world frames read
static int picturebox;     // box frames read since the last world frame
static int picturing = -1;

void countinput(bool boxframe)
{
    if (boxframe) {
        picturebox++;
    } else {
        pictureworld++;
        picturebox = 0;
    }
}

void takepictures(const std::vector<Picturepoint>& npoints,
                  void (*taken)(size_t point, const unsigned char* rgba, int width, int height))
{
    points = npoints;
    picturetaken = taken;
    pictureworld = 0;
    picturebox = 0;
    picturing = -1;   // a frame begun before the call is no longer one of them
}

// The index of the point the frame about to be drawn is, or -1.
static int pictureat(bool boxframe)
{
    const int box = boxframe ? picturebox : 0;
    for (size_t i = 0; i < points.size(); i++)
        if (points[i].world == pictureworld && points[i].box == box) return (int)i;
    return -1;
}

// A fast frame that is not shown is still drawn, into a one-pixel
// scissor: Mesa's software rasteriser (llvmpipe) can round a later frame's
// pixels differently when the frames before it drew less.
bool beginframe(bool boxframe)
{
    if (headless) {
        picturing = -1;
        shown = false;
        return false;
    }
    picturing = pictureat(boxframe);
    shown = !fastframes || (!boxframe && worldframes % FRAMES_PER_SECOND == 0) || picturing >= 0;
    if (shown) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
    }
    return true;
}

void showframe()
{
    if (picturing >= 0) {
        picture.resize((size_t)viewport.w * viewport.h * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(viewport.x, viewport.y, viewport.w, viewport.h, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
        picturetaken((size_t)picturing, picture.data(), viewport.w, viewport.h);
    }
    if (!shown) return;
    if (endsinpause())
        pausegame();
    else
        swapframe();
}

void swapframe()
{
    SDL_GL_SwapBuffers();
}

void keepframe()
{
    TextureImage& t = textures[TEXKEPT];
    freetexture(t);
    GLint most = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    if (viewport.w > most || viewport.h > most) return;
    t.imageData = (GLubyte*)std::malloc((size_t)viewport.w * (size_t)viewport.h * 4);
    if (!t.imageData) return;
    t.width = (GLuint)viewport.w;
    t.height = (GLuint)viewport.h;
    t.bpp = 32;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(viewport.x, viewport.y, viewport.w, viewport.h, GL_RGBA, GL_UNSIGNED_BYTE, t.imageData);
    uploadtexture(&t);
}

// The kept picture over the whole logical screen, its first row read the
// bottom one.
void showkept()
{
    glClear(GL_COLOR_BUFFER_BIT);
    if (textures[TEXKEPT].texID == 0) return;
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    bindtexture(TEXKEPT);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2i(0, 0);
    glTexCoord2f(1, 1);
    glVertex2i(SCREEN_WIDTH, 0);
    glTexCoord2f(1, 0);
    glVertex2i(SCREEN_WIDTH, SCREEN_HEIGHT);
    glTexCoord2f(0, 0);
    glVertex2i(0, SCREEN_HEIGHT);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void dropkept()
{
    freetexture(textures[TEXKEPT]);
}
