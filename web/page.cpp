// What the page asks of the game: the pictures of chosen frames, and once it
// has ended the score to show and whether the game ended by itself, in the
// dark after the hero's death.
#include "main.h"

#include <emscripten.h>

extern "C" {

EMSCRIPTEN_KEEPALIVE int pagescore()
{
    return score;
}

EMSCRIPTEN_KEEPALIVE int pagedarkend()
{
    return darkend();
}

}

// The pictures the page asks for, by their places in the input (world frame,
// and box frame after it, 0 for the world frame itself): n pairs at places.
// Each picture, SCREEN_WIDTH by SCREEN_HEIGHT RGBA read from the drawing
// buffer bottom row first, goes to the page's Module.onpicture(index, pixels).
static void handpicture(size_t point, const unsigned char* rgba)
{
    EM_ASM({ if (Module.onpicture) Module.onpicture($0, HEAPU8.subarray($1, $1 + $2)); }, (int)point, rgba,
           SCREEN_WIDTH * SCREEN_HEIGHT * 4);
}

extern "C" EMSCRIPTEN_KEEPALIVE void pagepictures(const int* places, int n)
{
    std::vector<Picturepoint> points;
    for (int i = 0; i < n; i++) points.push_back(Picturepoint{places[2 * i], places[2 * i + 1]});
    takepictures(points, handpicture);
}
