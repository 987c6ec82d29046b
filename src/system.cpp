// The desktop's system: the C library's heap, the program's path through
// /proc, and syncs to the disk.
#include "system.h"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

// Bytes. Mesa's software rasteriser takes and gives back large buffers
// every frame; by default the C library trims the heap after each and
// grows it again, some six times a frame, and every regrown page faults.
// Freed memory up to this much stays in the heap (the peak memory does not
// change) and large buffers come from it, not from fresh mappings.
const int KEEPHEAP = 64 << 20;

void keepheap()
{
    mallopt(M_MMAP_THRESHOLD, KEEPHEAP);
    mallopt(M_TRIM_THRESHOLD, KEEPHEAP);
}

std::string programpath()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : exe.string();
}

bool syncfile(FILE* file)
{
    if (std::fflush(file) != 0) return false;
    // A pipe or a terminal holds nothing to sync.
    return fsync(fileno(file)) == 0 || errno == EINVAL || errno == EROFS;
}

bool syncfolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}
