// Opening and closing SDL, the video mode, audio and the fixed OpenGL state.
#include "main.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

// Bytes. Mesa's software rasteriser takes and gives back large buffers
// every frame; by default the C library trims the heap after each and
// grows it again, some six times a frame, and every regrown page faults.
// Freed memory up to this much stays in the heap (the peak memory does not
// change) and large buffers come from it, not from fresh mappings.
const int KEEPHEAP = 64 << 20;

// One line on stderr naming the step that failed and SDL's reason.
static bool failed(const char* what, const char* reason)
{
    std::fprintf(stderr, "kuurakarpalo: %s: %s\n", what, reason);
    return false;
}

bool init()
{
    mallopt(M_MMAP_THRESHOLD, KEEPHEAP);
    mallopt(M_TRIM_THRESHOLD, KEEPHEAP);
    // Before SDL starts: it leaves handlers of the game's own in place.
    catchsignals();
    // Every subsystem, but audio on its own, so that its failure can say how
    // to play without it.
    if (SDL_Init(SDL_INIT_EVERYTHING & ~SDL_INIT_AUDIO) < 0) return failed("cannot start SDL", SDL_GetError());

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    if (!opendisplay()) return failed("cannot open an OpenGL display", SDL_GetError());
    if (options.sound && (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) == -1)) {
        std::fprintf(stderr, "kuurakarpalo: cannot open the audio device: %s (--no-sound plays without it)\n",
                     Mix_GetError());
        return false;
    }
    if (options.sound) setvolumes();
    if (!init_GL()) return failed("cannot set up OpenGL", "the driver reported an error");

    SDL_WM_SetCaption("Kuurakarpalo", nullptr);
    opengamepad();
    return true;
}

void setvolumes()
{
    Mix_VolumeMusic(options.musicvolume);
    Mix_Volume(-1, options.effectsvolume);
}

bool init_GL()
{
    glClearColor(0, 0, 0, 0);

    // Pixels with the origin at the top left and y growing downwards.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, -1, 1);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    return glGetError() == GL_NO_ERROR;
}

void clean_up()
{
    // Without a window there is no GL context and nothing drawn to close.
    if (SDL_GetVideoSurface()) {
        KillFont();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    Mix_FreeMusic(music);
    Mix_FreeChunk(hit1);
    music = nullptr;
    hit1 = nullptr;
    Mix_CloseAudio();
    SDL_Quit();
}

void quitgame(int code)
{
    if (!closeinput() && code == 0) code = 1;
    clean_up();
    std::exit(code);
}
