// Opening and closing SDL, the video mode, audio and the fixed OpenGL state.
#include "main.h"

bool init()
{
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
