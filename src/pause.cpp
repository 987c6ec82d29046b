// Pausing: the frame that asked for it is kept as a picture and shown still,
// with the pause notice, until P goes on. Drawing the world again would show
// nothing new, so the paused picture is the frame read back once and redrawn
// from its texture when the window needs it.
#include "pause.h"
#include "audio.h"
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "text.h"

#include <GL/gl.h>

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

int noticewidth(const char* text)
{
    return 10 * (int)textlength(text) + 6;
}

// The notice, white in the game's font on a black band across the middle.
static void drawnotice()
{
    const char* const notice = _("Tauko");
    const int width = noticewidth(notice);
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

static void showpaused()
{
    showkept();
    drawnotice();
    swapframe();
}

void pausegame()
{
    keepframe();
    pauseaudio();
    showpaused();
    pausing = true;
    bool paused = true, redraw = false;
    while (paused && !closing) {
        paused = pausedinput(redraw);
        if (redraw) showpaused();
        if (paused && !closing) rest();
    }
    pausing = false;
    dropkept();
    // Going on is the player's: whatever the window lost is back.
    pauseasked = false;
    focuslost = 0;
    awayframes = 0;
    resumeaudio();
}
