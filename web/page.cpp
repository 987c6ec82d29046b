// What the page asks of the game once it has ended: the score to show, and
// whether the game ended by itself, in the dark after the hero's death.
#include "main.h"

#include <emscripten.h>

extern "C" {

EMSCRIPTEN_KEEPALIVE int pagescore()
{
    return score;
}

EMSCRIPTEN_KEEPALIVE int pagedarkend()
{
    return night > 100.0f;
}

}
