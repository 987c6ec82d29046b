// The entry function: open everything, run frames until the game ends, close.
#include "main.h"

int main(int, char*[])
{
    bool quit = false;

    if (!init()) return 1;
    startup();
    while (!quit) quit = runframe();
    clean_up();
    return 0;
}
