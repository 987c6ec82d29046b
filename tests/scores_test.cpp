// What the game shows and plays out of its frames: the table of the best at
// the dark end of a live game, and the pause with its notice and its sounds.
#include "rig.h"
#include "audio.h"
#include "display.h"
#include "games.h"
#include "input.h"
#include "pause.h"
#include "textures.h"
#include "world.h"

#include <signal.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

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
            SDL_Delay(100);   // four rests: the table is drawn at once, not after ten
            if (!ended) raise(SIGHUP);
        }
    });
    finishgame();
    ended = true;
    closer.join();
    closing = 0;

    std::vector<unsigned char> rgb;
    if (!shownpicture(rgb)) GTEST_SKIP() << "the picture is checked on llvmpipe";
    EXPECT_EQ(crc32(0, rgb.data(), (uInt)rgb.size()), 1367746286u) << "the table's picture";
    EXPECT_NEAR(shownat(rgb, 100, 100)[0], 128, 2) << "the last picture around the table";
    EXPECT_NEAR(shownat(rgb, 200, 170)[0], 51, 2) << "the band over it, at 0.6 black";
}

// A close during the check at the dark end ends the game there: no table,
// no wait for a key. The close comes in the first checked frame.
TEST_F(World, ACloseDuringTheEndsCheckEndsTheGame)
{
    const std::string data = scratchdir() + "/closed", folder = data + "/kuurakarpalo/games";
    for (const std::string& d : {data, data + "/kuurakarpalo", folder}) mkdir(d.c_str(), 0700);
    std::ifstream("tests/golden/death.rec", std::ios::binary) >>
        std::ofstream(folder + "/2026-01-01_00-00-00.rec", std::ios::binary).rdbuf();
    const Scopedenv xdg("XDG_DATA_HOME", data.c_str());
    keepgrey();
    night = 101;
    pushquit();
    std::atomic<bool> ended{false}, waited{false};
    std::thread closer([&] {
        for (int i = 0; i < 50 && !ended; i++) SDL_Delay(100);
        if (!ended) waited = true, raise(SIGHUP);
    });
    EXPECT_EQ(finishgame(), 0);
    ended = true;
    closer.join();
    EXPECT_FALSE(waited) << "the game waited after the close";
    EXPECT_TRUE(closing);
    closing = 0;
    EXPECT_EQ(keptgames(folder, false).at(0).state, Keptgame::UNCHECKED) << "the check stopped at the close";
}

// Nothing of the kept games' checks ends the program: a map file replaced
// after the start changes nothing, as the world comes from the map the game
// started with; without one, a map that cannot be read costs the checks,
// with one line, and leaves the games unchecked, not refused.
TEST_F(World, TheChecksNeverEndTheProgram)
{
    const std::string here = std::filesystem::current_path(), game = here + "/tests/golden/death.rec";
    const std::string elsewhere = scratchdir() + "/replaced", folder = elsewhere + "/games";
    for (const std::string& d : {elsewhere, folder}) mkdir(d.c_str(), 0700);
    std::ofstream(elsewhere + "/" + MAPFILE) << "not a map";
    std::ifstream(game, std::ios::binary) >> std::ofstream(folder + "/a.rec", std::ios::binary).rdbuf();
    std::filesystem::current_path(elsewhere);
    EXPECT_EQ(verifyrecording(game.c_str()).code, Verdict::NOMAP);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(keptgames(folder, true).at(0).state, Keptgame::UNCHECKED);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kuurakarpalo: map file \"kuurakarpalo.map\" "), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    std::filesystem::current_path(here);
    openworldmap();
    std::filesystem::current_path(elsewhere);
    const Verdict v = verifyrecording(game.c_str());
    std::filesystem::current_path(here);
    EXPECT_TRUE(v.code == Verdict::VERIFIES && v.score == 20) << v.line;
}

// The pause shows the last picture with the notice on a black band in the
// middle, until P; the same again for a window uncovered.
TEST_F(World, ThePauseShowsItsNotice)
{
    keepgrey();
    SDL_Event expose{SDL_VIDEOEXPOSE};
    SDL_PushEvent(&expose);
    pushkey(SDLK_p);
    pausegame();
    std::vector<unsigned char> rgb;
    if (!shownpicture(rgb)) GTEST_SKIP() << "the picture is checked on llvmpipe";
    EXPECT_EQ(crc32(0, rgb.data(), (uInt)rgb.size()), 813391679u) << "the paused picture";
    EXPECT_NEAR(shownat(rgb, 100, 100)[0], 128, 2) << "the last picture around the notice";
    EXPECT_EQ(shownat(rgb, SCREEN_WIDTH / 2 - 40, SCREEN_HEIGHT / 2 - 18)[0], 0) << "the band";
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
