// Pausing: the frame that asked for it is kept as a picture and shown still,
// with the pause notice, until P goes on. The world's drawing routines move
// the world, so the paused picture is never drawn by them again: it is read
// back once and redrawn from its texture when the window needs it.
#include "main.h"

#include <cstdlib>
#include <cstring>

bool pauseasked;
bool pausing;
int focuslost;
static int awayframes;   // shown frames in a row with focus lost

bool canpause()
{
    return !inputfeeder && !fastframes;
}

bool focuspauses()
{
    return canpause() && inputsource != PLAYINPUT;
}

bool endsinpause()
{
    awayframes = focuslost != 0 && focuspauses() ? awayframes + 1 : 0;
    return pauseasked || awayframes >= AWAYFRAMES;
}

// Reads the viewport's pixels of the back buffer into TEXPAUSE. A picture
// larger than a texture may be, or without memory for it, leaves the slot
// empty, and the pause shows the notice on black.
static void keeppicture()
{
    TextureImage& t = textures[TEXPAUSE];
    t = TextureImage{};
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

static void droppicture()
{
    TextureImage& t = textures[TEXPAUSE];
    if (t.texID != 0) glDeleteTextures(1, &t.texID);
    std::free(t.imageData);
    t = TextureImage{};
}

// The notice, white in the game's font on a black band across the middle.
static void drawnotice()
{
    const char* const notice = _("Tauko");
    const int width = 10 * (int)std::strlen(notice) + 6;
    const int x = (SCREEN_WIDTH - width) / 2;
    const int y = SCREEN_HEIGHT / 2 - 8;
    glLoadIdentity();
    glColor4f(0, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2i(x - 20, y - 12);
    glVertex2i(x + width + 20, y - 12);
    glVertex2i(x + width + 20, y + 28);
    glVertex2i(x - 20, y + 28);
    glEnd();
    glPrint(x, y, notice, 0, 0);
}

// The kept picture over the whole logical screen, its first row read the
// bottom one, then the notice; shown at once.
static void showpaused()
{
    glClear(GL_COLOR_BUFFER_BIT);
    if (textures[TEXPAUSE].texID != 0) {
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        bindtexture(TEXPAUSE);
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
    drawnotice();
    SDL_GL_SwapBuffers();
}

// One event while paused; false once the game goes on.
static bool pausedevent(const SDL_Event& e)
{
    const unsigned actions = downactions(e);
    if (actions & 1u << ACTIONPAUSE) return false;
    if (actions & 1u << ACTIONQUIT) {
        closing = 1;
        return true;
    }
    const bool redraw =
        e.type == SDL_VIDEOEXPOSE || e.type == SDL_VIDEORESIZE || (actions & 1u << ACTIONFULLSCREEN) != 0;
    if (commonevent(e)) {
        if (redraw) showpaused();
        return true;
    }
    Keypress press[GAMEPADPRESSES];
    const int n = keypresses(e, press);
    for (int i = 0; i < n; i++) walkkeys(press[i].actions, press[i].down);
    return true;
}

void pausegame()
{
    keeppicture();
    // Without sound the mixer was never opened.
    if (options.sound) {
        Mix_PauseMusic();
        Mix_Pause(-1);
    }
    showpaused();
    pausing = true;
    bool paused = true;
    SDL_Event e;
    while (paused && !closing) {
        while (paused && !closing && SDL_PollEvent(&e)) paused = pausedevent(e);
        if (paused && !closing) SDL_Delay(FRAMEMS);
    }
    pausing = false;
    droppicture();
    // Going on is the player's: whatever the window lost is back.
    pauseasked = false;
    focuslost = 0;
    awayframes = 0;
    if (options.sound) {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
}
