// The message and question boxes typed out over the frozen world.
#ifndef KUURAKARPALO_MESSAGEBOX_H
#define KUURAKARPALO_MESSAGEBOX_H

#include <SDL/SDL.h>

#include <cstddef>

// A modal panel of eight lines typed out over the frozen world; one press of
// space shows all lines, the next closes it. Always returns 0.
int Messagebox(const char* line1, const char* line2, const char* line3, const char* line4,
               const char* line5, const char* line6, const char* line7, const char* line8);
// The same panel with a choice among lines 6 to 8; returns the option, 1..num.
int Questionbox(const char* line1, const char* line2, const char* line3, const char* line4,
                const char* line5, const char* line6, const char* line7, const char* line8,
                int num);

// The state of one open box, advanced one box frame at a time.
struct Box {
    const char* lines[8];
    size_t lx[8];      // line lengths, characters
    int x;             // characters of line y shown
    int y;             // line being typed, 8 once all are shown
    bool repeat;       // the box stays open while true
    bool question;     // a question box: choice keys, no red eighth line
    int num;           // question box: number of options, 1..3
    int valinta;       // question box: the chosen option
};

// Opens a box: the arrow flags are cleared for a message box only.
void boxopen(Box& box, const char* const lines[8], bool question, int num);
// One key-down taken by an open box: space shows every line, then closes
// it; a question box also takes 1, 2, 3 and the up and down arrows.
void boxpress(Box& box, SDLKey sym);
// Runs one paced box frame: events, the frozen world, the panel, typing.
void boxframe(Box& box);

#endif
