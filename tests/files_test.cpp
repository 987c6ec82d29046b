// Every reader closes the file it opened, whether the file was good or not:
// a game that loads again and again must not run out of file handles.
#include "rig.h"

#include <dirent.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// The file descriptors this process holds open.
int openfiles()
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int n = 0;
    while (readdir(dir)) n++;
    closedir(dir);
    return n;
}

void loadtexture(const char* path)
{
    TextureImage t{};
    if (LoadTGA(&t, path)) glDeleteTextures(1, &t.texID);
    std::free(t.imageData);
}

void readback(const char* path)
{
    Recording r;
    std::string error;
    readrecording(path, r, error);
}

}  // namespace

TEST(Files, ReadersCloseWhatTheyOpen)
{
    const std::string damaged = writefile(tgafile(4, 4, 32, "short"), "damaged.tga");
    const std::string notrecording = writefile("kuurakarpalo recording 9\n", "bad.rec");
    const struct {
        const char* what;
        std::function<void()> read;
    } readers[] = {
        {"a texture", [] { loadtexture("DATA/kirves.tga"); }},
        {"a damaged texture", [&] { loadtexture(damaged.c_str()); }},
        {"the map file", [] { checkmapfile(MAPFILE); }},
        {"a map file too short", [&] { checkmapfile(damaged.c_str()); }},
        {"a recording", [] { readback("tests/golden/messages.rec"); }},
        {"a bad recording", [&] { readback(notrecording.c_str()); }},
    };
    for (const auto& r : readers) {
        const int before = openfiles();
        for (int i = 0; i < 3; i++) r.read();
        EXPECT_EQ(openfiles(), before) << r.what;
    }
}
