// Message and question boxes: a panel over the lower third of the screen that
// types its eight lines one character per frame over the frozen world. Each
// box runs its own paced frame loop inside the frame that opened it.
#include "messagebox.h"
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "main.h"
#include "text.h"
#include "textures.h"

#include <SDL/SDL.h>
#include <GL/gl.h>

void boxopen(Box& box, const char* const lines[8], bool question, int num)
{
    box.repeat = true;
    box.question = question;
    // A message box forgets the arrows held when it opened, so the player
    // stands still afterwards; a question box leaves them as they were.
    if (!question)
        for (int i = KEYUP; i <= KEYRIGHT; i++) key[i] = false;
    for (int i = 0; i < 8; i++) {
        box.lines[i] = lines[i] ? lines[i] : "";
        box.lx[i] = textlength(box.lines[i]);
    }
    box.x = 0;
    box.y = 0;
    box.valinta = 1;
    if (num < 1) num = 1;
    if (num > 3) num = 3;
    box.num = num;
}

void boxpress(Box& box, SDLKey sym)
{
    if (sym == SDLK_SPACE) {
        if (box.y > 7)
            box.repeat = false;
        else
            box.y = 8;
    } else if (box.question) {
        if (sym == SDLK_1) box.valinta = 1;
        if (sym == SDLK_2 && box.num > 1) box.valinta = 2;
        if (sym == SDLK_3 && box.num > 2) box.valinta = 3;
        if (sym == SDLK_UP && box.valinta > 1) box.valinta--;
        if (sym == SDLK_DOWN && box.valinta < box.num) box.valinta++;
    }
}

static void drawpanel()
{
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    bindtexture(TEXPANEL);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 512);
    glTexCoord2f(1, 0);
    glVertex2i(1024, 512);
    glTexCoord2f(1, 1);
    glVertex2i(1024, 768);
    glTexCoord2f(0, 1);
    glVertex2i(0, 768);
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

// Whether a finished line is printed red: the eighth line of a message, or
// the chosen option of a question.
static int linecolor(const Box& box, int i)
{
    if (!box.question) return i == 7;
    if (i == 5) return box.valinta == 1;
    if (i == 6) return box.num >= 2 && box.valinta == 2;
    if (i == 7) return box.num >= 3 && box.valinta == 3;
    return 0;
}

void boxframe(Box& box)
{
    fps.start();
    if (!boxinput(box)) return;

    const bool drawn = beginframe(true);
    if (drawn) glClear(GL_COLOR_BUFFER_BIT);
    map.showframe(drawn);
    if (drawn) drawpanel();

    // Typing: one more character, or on to the next line.
    if (box.y <= 7) {
        if (box.lx[box.y] > (size_t)box.x) {
            box.x++;
        } else {
            box.y++;
            box.x = 0;
        }
    }

    if (drawn) {
        for (int i = 0; i < box.y && i < 8; i++)
            glPrint(196, 596 + 20 * i, box.lines[i], 0, linecolor(box, i));
        if (box.y <= 7) glPrintn(196, 596 + 20 * box.y, box.lines[box.y], box.x, 0, 0);
    }

    showframe();
    if (!fastframes) waitframe();
}

int Messagebox(const char* line1, const char* line2, const char* line3, const char* line4,
               const char* line5, const char* line6, const char* line7, const char* line8)
{
    const char* const lines[8] = {line1, line2, line3, line4, line5, line6, line7, line8};
    Box box;
    boxopen(box, lines, false, 1);
    while (box.repeat) boxframe(box);
    return 0;
}

int Questionbox(const char* line1, const char* line2, const char* line3, const char* line4,
                const char* line5, const char* line6, const char* line7, const char* line8,
                int num)
{
    const char* const lines[8] = {line1, line2, line3, line4, line5, line6, line7, line8};
    Box box;
    boxopen(box, lines, true, num);
    while (box.repeat) boxframe(box);
    return box.valinta;
}
