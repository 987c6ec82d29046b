// The process-wide state, the start-up loading order and one frame of the
// main loop. The entry function that strings them together is in
// kuurakarpalo.cpp.
#include "main.h"
#include "audio.h"
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "language.h"
#include "options.h"
#include "recording.h"
#include "textures.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <GL/gl.h>

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

// The world starts empty: the entry function reads it from its file once the
// data directory is found, before any window exists.
Map map;
Timer fps;

float ABS(float a)
{
    if (a < 0) a = -a;
    return a;
}

void LoadTextures()
{
    for (TextureImage& t : textures) freetexture(t);
    for (const PictureFile& p : PICTURES) LoadTGA(&textures[p.slot], p.file);
}

const char* picturefile(int slot)
{
    for (const PictureFile& p : PICTURES)
        if (p.slot == slot) return p.file;
    return nullptr;
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
    Camera.set(STARTVIEWX, STARTVIEWY);
    if (!options.sound) return;
    music = Mix_LoadMUS(MUSICFILE);
    if (music && Mix_PlayingMusic() == 0) Mix_PlayMusic(music, -1);
    hit1 = Mix_LoadWAV_RW(SDL_RWFromFile(HITFILE, "rb"), 1);
}

void scoretext(int value, char fp[SCORETEXT])
{
    std::snprintf(fp, SCORETEXT, "%d", value);
}

bool darkend()
{
    return night > 100.0f;
}

bool runframe()
{
    bool quit = false;
    char fp[SCORETEXT];

    fps.start();
    key[KEYSPACE] = false;
    if (darkend()) quit = true;
    // The track restarts whenever it stopped; one that did not load is not
    // handed to the mixer at all.
    if (music && Mix_PlayingMusic() == 0) Mix_PlayMusic(music, -1);
    worldinput(quit);
    map.control();

    // Drawn after the update, and so after any box the update opened, from
    // a cleared buffer.
    const bool drawn = beginframe(false);
    if (drawn) glClear(GL_COLOR_BUFFER_BIT);
    map.showframe(drawn);
    if (drawn) {
        scoretext(score, fp);
        glPrint(760, 700, _("Pisteet:"), 0, 0);
        glPrint(920, 700, fp, 0, 1);
    }
    // The last picture of a game that ended by itself stays under the table
    // of the best games.
    if (drawn && quit && darkend() && inputsource != PLAYINPUT) keepframe();

    showframe();
    if (!fastframes) waitframe();
    // The game closed in a box or a pause of this frame.
    if (closing) quit = true;
    worldframedone(quit);
    // A playback that no longer matches ends with this frame.
    return quit || closing;
}
