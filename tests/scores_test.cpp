// What the game shows and plays out of its frames: the table of the best at
// the dark end of a live game, and the pause with its notice and its sounds.
#include "rig.h"

#include <signal.h>
#include <sys/stat.h>
#include <zlib.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

namespace {

// The picture just shown, as grey levels from the top row down, and its
// CRC-32. On llvmpipe, the reference renderer, the back buffer still holds
// it after the swap; elsewhere it is undefined, and the test is skipped.
bool shown(std::vector<unsigned char>& grey, uLong& crc)
{
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer || !std::strstr(renderer, "llvmpipe")) return false;
    std::vector<unsigned char> rgb(SCREEN_WIDTH * SCREEN_HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    grey.resize(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < grey.size(); i++)
        grey[i] = rgb[((SCREEN_HEIGHT - 1 - i / SCREEN_WIDTH) * SCREEN_WIDTH + i % SCREEN_WIDTH) * 3];
    crc = crc32(0, rgb.data(), (uInt)rgb.size());
    return true;
}

// The game's pictures loaded, and a last picture of mid grey kept for what
// comes over it.
void keepgrey()
{
    LoadTextures();
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    keepframe();
}

}  // namespace

// One finished game kept: at the dark end the table is drawn at once over the
// last picture, dimmed, until a close. The picture is exact on llvmpipe, the
// reference renderer.
TEST_F(World, TheTableOfTheBestAtTheDarkEnd)
{
    const std::string data = scratchdir() + "/table", folder = data + "/kuurakarpalo/games";
    for (const std::string& d : {data, data + "/kuurakarpalo", folder}) mkdir(d.c_str(), 0700);
    std::ifstream("tests/golden/death.rec", std::ios::binary) >>
        std::ofstream(folder + "/2026-01-01_00-00-00-elsewhere.rec", std::ios::binary).rdbuf();
    const Scopedenv xdg("XDG_DATA_HOME", data.c_str());
    keptgames(folder, true);   // checked now, so that the table comes at once
    keepgrey();
    night = 101;
    std::atomic<bool> ended{false};
    std::thread closer([&ended] {
        while (!ended) {
            SDL_Delay(300);
            if (!ended) raise(SIGHUP);
        }
    });
    finishgame();
    ended = true;
    closer.join();
    closing = 0;

    std::vector<unsigned char> grey;
    uLong crc;
    if (!shown(grey, crc)) GTEST_SKIP() << "the picture is checked on llvmpipe";
    EXPECT_EQ(crc, 1367746286u) << "the table's picture";
    EXPECT_NEAR(grey[100 * SCREEN_WIDTH + 100], 128, 2) << "the last picture around the table";
    EXPECT_NEAR(grey[170 * SCREEN_WIDTH + 200], 51, 2) << "the band over it, at 0.6 black";
}

// The pause shows the last picture with the notice on a black band in the
// middle, until P.
TEST_F(World, ThePauseShowsItsNotice)
{
    keepgrey();
    pushkey(SDLK_p);
    pausegame();
    std::vector<unsigned char> grey;
    uLong crc;
    if (!shown(grey, crc)) GTEST_SKIP() << "the picture is checked on llvmpipe";
    EXPECT_EQ(crc, 813391679u) << "the paused picture";
    EXPECT_NEAR(grey[100 * SCREEN_WIDTH + 100], 128, 2) << "the last picture around the notice";
    EXPECT_EQ(grey[(SCREEN_HEIGHT / 2 - 18) * SCREEN_WIDTH + SCREEN_WIDTH / 2 - 40], 0) << "the band";
}

// A pause holds the effects with the music; going on lets them go.
TEST_F(World, APauseHoldsTheSounds)
{
    static Uint8 silence[4096];
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(silence, sizeof silence);
    ASSERT_GE(Mix_PlayChannel(-1, chunk, -1), 0) << Mix_GetError();
    pauseaudio();
    EXPECT_EQ(Mix_Paused(-1), 1);
    resumeaudio();
    EXPECT_EQ(Mix_Paused(-1), 0);
    Mix_HaltChannel(-1);
    Mix_FreeChunk(chunk);
}
