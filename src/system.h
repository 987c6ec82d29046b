// The system under the game: what the desktop asks of the operating system
// and the web build of the browser, each in its own form (system.cpp here,
// web/system.cpp for the web).
#ifndef KUURAKARPALO_SYSTEM_H
#define KUURAKARPALO_SYSTEM_H

#include <cstdio>
#include <string>

// Keeps freed memory in the heap for the drawing's large buffers.
void keepheap();
// The running program's own path, links resolved; "" where it cannot be known.
std::string programpath();
// Asks the disk to hold what was written into the open file, or the folder's
// names; false when it cannot say it does. A file that holds nothing to sync
// (a pipe) is synced.
bool syncfile(FILE* file);
bool syncfolder(const std::string& folder);

#endif
