// Opening and closing SDL, the video mode, audio and the fixed OpenGL state.
#include "main.h"

#include <malloc.h>

// Bytes. Mesa's software rasteriser takes and gives back large buffers
// every frame; by default the C library trims the heap after each and
// grows it again, some six times a frame, and every regrown page faults.
// Freed memory up to this much stays in the heap (the peak memory does not
// change) and large buffers come from it, not from fresh mappings.
const int KEEPHEAP = 64 << 20;

bool init()
{
    mallopt(M_MMAP_THRESHOLD, KEEPHEAP);
    mallopt(M_TRIM_THRESHOLD, KEEPHEAP);
    if (SDL_Init(SDL_INIT_EVERYTHING) < 0) return false;

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    if (!SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, SDL_FULLSCREEN | SDL_OPENGL))
        return false;
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) == -1) return false;
    if (!init_GL()) return false;

    SDL_WM_SetCaption("Kuurakarpalo", nullptr);
    return true;
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
    KillFont();
    Mix_FreeMusic(music);
    Mix_FreeChunk(hit1);
    music = nullptr;
    hit1 = nullptr;
    Mix_CloseAudio();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    SDL_Quit();
}
