// The browser's system. Its heap grows as the module's memory does; the game
// has no path of its own; and what the game writes is in the page's memory
// until the page stores its file system in the browser (at each checkpoint
// and at the end), so a sync has nothing to do.
#include "system.h"

void keepheap() {}

std::string programpath()
{
    return "";
}

bool syncfile(FILE* file)
{
    return std::fflush(file) == 0;
}

bool syncfolder(const std::string&)
{
    return true;
}
