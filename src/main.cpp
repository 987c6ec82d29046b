// The process-wide state, the start-up loading order and one frame of the
// main loop. The entry function that strings them together is in
// kuurakarpalo.cpp.
#include "main.h"

#include <cstdio>

bool key[9];
SDL_Event event;
int score;
int finalscore;
float night = 1.0f;
int lastmonster;
int lastneutral;
Mix_Music* music;
Mix_Chunk* hit1;

// The world is read from its file during static initialisation, before any
// window exists; a bad file ends the program there with a message.
Map map(MAPFILE);
Timer fps;

float ABS(float a)
{
    if (a < 0) a = -a;
    return a;
}

void LoadTextures()
{
    for (TextureImage& t : textures) t = TextureImage{};
    LoadTGA(&textures[2], "DATA/message.tga");
    LoadTGA(&textures[9], "DATA/player.tga");
    LoadTGA(&textures[10], "DATA/playerl.tga");
    LoadTGA(&textures[7], "DATA/vauva.tga");
    LoadTGA(&textures[8], "DATA/vauval.tga");
    LoadTGA(&textures[6], "DATA/ruumiit.tga");
    LoadTGA(&textures[11], "DATA/kirves.tga");
    LoadTGA(&textures[3], "DATA/fontti.tga");
    LoadTGA(&textures[4], "DATA/tonttu.tga");
    LoadTGA(&textures[5], "DATA/tonttul.tga");
}

void startup()
{
    SDL_ShowCursor(SDL_DISABLE);
    LoadTextures();
    // The map was built before the GL context existed: only now can its tile
    // sets become textures. The script's second run leaves the monsters and
    // the corpse of the first run in place.
    map.loadtextures();
    map.initscript();
    BuildFont();
    Camera.set(992, 0);
    music = Mix_LoadMUS("DATA/main.mp3");
    if (Mix_PlayingMusic() == 0) Mix_PlayMusic(music, -1);
    hit1 = Mix_LoadWAV_RW(SDL_RWFromFile("DATA/hit1.wav", "rb"), 1);
}

void pollevents(bool& quit)
{
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN) {
            switch (event.key.keysym.sym) {
            case SDLK_UP: key[0] = true; break;
            case SDLK_DOWN: key[1] = true; break;
            case SDLK_LEFT: key[2] = true; break;
            case SDLK_RIGHT: key[3] = true; break;
            case SDLK_SPACE: key[4] = true; break;
            case SDLK_ESCAPE: quit = true; break;
            default: break;
            }
        } else if (event.type == SDL_KEYUP) {
            // Space counts once per press and is cleared each frame, so only
            // the arrows are released here.
            switch (event.key.keysym.sym) {
            case SDLK_UP: key[0] = false; break;
            case SDLK_DOWN: key[1] = false; break;
            case SDLK_LEFT: key[2] = false; break;
            case SDLK_RIGHT: key[3] = false; break;
            default: break;
            }
        } else if (event.type == SDL_QUIT) {
            quit = true;
        }
    }
}

void scoretext(int value, char fp[SCORETEXT])
{
    std::snprintf(fp, SCORETEXT, "%d", value);
}

bool runframe()
{
    bool quit = false;
    char fp[SCORETEXT];

    fps.start();
    key[4] = false;
    if (night > 100.0f) quit = true;
    if (Mix_PlayingMusic() == 0) Mix_PlayMusic(music, -1);
    pollevents(quit);

    glClear(GL_COLOR_BUFFER_BIT);
    map.control();
    map.show();

    scoretext(score, fp);
    glPrint(760, 700, "Pisteet:", 0, 0);
    glPrint(920, 700, fp, 0, 1);

    SDL_GL_SwapBuffers();
    waitframe();
    return quit;
}
