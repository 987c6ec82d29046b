// Opening and closing SDL, the video mode, audio and the fixed OpenGL state.
#include "audio.h"
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "main.h"
#include "options.h"
#include "recording.h"
#include "system.h"
#include "textures.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

// One line on stderr naming the step that failed and SDL's reason.
static bool failed(const char* what, const char* reason)
{
    std::fprintf(stderr, "kuurakarpalo: %s: %s\n", what, reason);
    return false;
}

bool init()
{
    keepheap();
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
    setvolumes();
    if (!init_GL()) return failed("cannot set up OpenGL", "the driver reported an error");

    SDL_WM_SetCaption("Kuurakarpalo", nullptr);
    opengamepad();
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
    // Without a window there is no GL context and nothing drawn to close.
    if (hasdisplay()) {
        for (TextureImage& t : textures) freetexture(t);
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

bool initheadless()
{
    catchsignals();
    if (SDL_Init(0) < 0) return failed("cannot start SDL", SDL_GetError());
    return true;
}

void (*gameending)();

void quitgame(int code)
{
    const int ended = closeinput();
    if (code == 0) code = ended;
    if (gameending) gameending();
    clean_up();
    std::exit(code);
}
