// The TGA loader's refusals, and every reader closing the file it opened, good
// or not, so that loading again and again never runs out of file handles.
#include "rig.h"
#include "recording.h"
#include "textures.h"
#include "world.h"

#include <dirent.h>

#include <cstdio>
#include <functional>
#include <string>

// The largest the process's address space has been, in kilobytes.
static long vmpeak()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmPeak: %ld", &kb) == 1) break;
    if (f) std::fclose(f);
    return kb;
}

TEST(Textures, DamagedOrForeignFilesAreRefused)
{
    const std::string rgb = "123456789abc";   // 2x2, 24 bits
    std::string origin = tgafile(2, 2, 24, rgb);
    origin[8] = 1;   // x origin
    const struct { const char* what; std::string file; } bad[] = {
        {"run-length encoded", tgafile(2, 2, 24, rgb, 10)},
        {"with an ID field", tgafile(2, 2, 24, rgb, 2, 3)},
        {"with an origin", origin},
        {"16 bits deep", tgafile(2, 2, 16, rgb.substr(0, 8))},
        {"zero wide", tgafile(0, 2, 24, rgb)},
        {"one byte short", tgafile(2, 2, 24, rgb.substr(0, 11))},
        {"header cut short", tgafile(2, 2, 24, "").substr(0, 17)},
        {"empty", ""},
        // 65535 by 65535 at 32 bits would be 17 GB; the file holds 2 bytes.
        {"a huge claim", tgafile(65535, 65535, 32, "ab")},
    };
    const long before = vmpeak();
    for (const auto& b : bad) {
        const std::string path = writefile(b.file, "bad.tga");
        TextureImage t{};
        EXPECT_FALSE(LoadTGA(&t, path.c_str())) << b.what;
        EXPECT_TRUE(t.texID == 0 && t.imageData == nullptr) << b.what;
    }
    // Each of the first twelve bytes must be as an uncompressed picture
    // without extras has it: any one byte changed is refused.
    for (int at = 0; at < 12; at++) {
        std::string file = tgafile(2, 2, 24, rgb);
        file[at] = (char)(file[at] + 1);
        TextureImage t{};
        EXPECT_FALSE(LoadTGA(&t, writefile(file, "bad.tga").c_str())) << "byte " << at;
        EXPECT_EQ(nullptr, t.imageData) << "byte " << at;
    }
    const long after = vmpeak();
    EXPECT_TRUE(before <= 0 || after <= 0 || after - before < 1024L * 1024) << after - before << " kB of address space";
}

// The file descriptors this process holds open.
static int openfiles()
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int n = 0;
    while (readdir(dir)) n++;
    closedir(dir);
    return n;
}

TEST(Files, ReadersCloseWhatTheyOpen)
{
    const std::string damaged = writefile(tgafile(4, 4, 32, "short"), "damaged.tga");
    const std::string notrecording = writefile("kuurakarpalo recording 9\n", "bad.rec");
    const auto texture = [](const char* path) {
        TextureImage t{};
        LoadTGA(&t, path);
        freetexture(t);
    };
    const auto recording = [](const char* path) {
        Recording r;
        std::string error;
        readrecording(path, r, error);
    };
    const std::function<void()> readers[] = {
        [&] { texture(picturefile(TEXSWORD)); },   [&] { texture(damaged.c_str()); },
        [] { checkmapfile(MAPFILE); },          [&] { checkmapfile(damaged.c_str()); },
        [&] { recording("tests/golden/messages.rec"); }, [&] { recording(notrecording.c_str()); },
    };
    int n = 0;
    for (const auto& read : readers) {
        const int before = openfiles();
        for (int i = 0; i < 3; i++) read();
        EXPECT_EQ(openfiles(), before) << "reader " << n++;
    }
}
