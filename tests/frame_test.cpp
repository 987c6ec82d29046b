// One frame of the main loop: the key state, the ways the loop ends and the
// pixel-exact projection.
#include "rig.h"
#include "audio.h"
#include "display.h"
#include "font.h"
#include "input.h"
#include "recording.h"
#include "textures.h"

#include <cmath>
#include <vector>

struct Frame : World {};

TEST_F(Frame, KeyStateAndQuitting)
{
    bool quit = false;
    for (SDLKey k : {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) pushkey(k);
    pollevents(quit);
    pollevents(quit);   // no new events: still held
    EXPECT_TRUE(key[0] && key[1] && key[2] && key[3]);
    for (SDLKey k : {SDLK_UP, SDLK_RIGHT}) pushkey(k, false);
    // Pressed and released before the poll: never seen.
    for (bool down : {false, true, false}) pushkey(SDLK_LEFT, down);
    pollevents(quit);
    EXPECT_TRUE(!key[0] && key[1] && !key[2] && !key[3]);

    // Other keys and key-ups of space and Escape do nothing.
    key[4] = true;
    for (SDLKey k : {SDLK_a, SDLK_RETURN, SDLK_KP8}) pushkey(k);
    for (SDLKey k : {SDLK_SPACE, SDLK_ESCAPE}) pushkey(k, false);
    pollevents(quit);
    EXPECT_TRUE(!quit && key[4] && !(key[5] || key[6] || key[7] || key[8]));

    pushkey(SDLK_ESCAPE);
    pollevents(quit);
    EXPECT_TRUE(quit);
    quit = false;
    pushquit();
    pushkey(SDLK_ESCAPE, false);   // later events do not undo it
    pollevents(quit);
    EXPECT_TRUE(quit);
}

TEST_F(Frame, SpaceCountsOnlyInTheFrameOfItsPress)
{
    pushkey(SDLK_SPACE);
    EXPECT_TRUE(!runframe() && key[4]);
    EXPECT_TRUE(!runframe() && !key[4]);   // still held: nothing in the next frame
    // Pressed and released within one frame still counts for it.
    for (bool down : {true, false}) pushkey(SDLK_SPACE, down);
    EXPECT_TRUE(!runframe() && key[4]);
    pushquit();
    EXPECT_TRUE(runframe() && !key[4]);
}

TEST_F(Frame, NightAboveHundredEndsAfterTheFrame)
{
    night = 100.0f;
    EXPECT_FALSE(runframe());
    EXPECT_LT(night, 1.0f);   // the living world's script set the daylight again
    night = std::nextafter(100.0f, 200.0f);
    EXPECT_TRUE(runframe());
}

// A frame starts a stopped track again and leaves a paused one paused;
// without a track the mixer is left alone. The settings' volumes reach it.
TEST_F(Frame, MusicStartsWhenStoppedAndIsLeftWhilePlaying)
{
    Rig::time() = 100;   // past the opening message
    music = Mix_LoadMUS(MUSICFILE);
    ASSERT_TRUE(music) << Mix_GetError();
    EXPECT_TRUE(!runframe() && Mix_PlayingMusic() == 1);
    Mix_PauseMusic();
    EXPECT_TRUE(!runframe() && Mix_PausedMusic() == 1);

    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
    EXPECT_TRUE(!runframe() && Mix_PlayingMusic() == 0);
    options.musicvolume = 40, options.effectsvolume = 30;
    setvolumes();
    EXPECT_TRUE(Mix_VolumeMusic(-1) == 40 && Mix_Volume(-1, -1) == 30);
}

// Fast frames reach the screen once a second of world frames, box frames
// never: the rest are drawn into the one-pixel scissor.
TEST_F(Frame, FastFramesAreShownOnceASecond)
{
    closeinput();   // the world frame count from 0
    fastframes = true;
    std::vector<int> shown;
    bool quit = false;
    for (int f = 1; f <= 2 * FRAMES_PER_SECOND; f++) {
        worldinput(quit);
        beginframe(true);
        EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << f;
        beginframe(false);
        if (!glIsEnabled(GL_SCISSOR_TEST)) shown.push_back(f);
    }
    EXPECT_EQ(shown, (std::vector<int>{FRAMES_PER_SECOND, 2 * FRAMES_PER_SECOND}));
}

// The frame's wait ends at FRAMEMS, however much of the frame is left; a late
// frame returns at once. Pacing is under test: the bounds allow a busy machine.
TEST_F(Frame, WaitEndsAtAFramesLength)
{
    const int slack = 1000;   // milliseconds
    for (int spent : {0, FRAMEMS / 2, FRAMEMS - SLEEPMARGIN - 1, FRAMEMS - 1, 3000}) {
        fps.start();
        Rig::startTicks(fps) -= spent;
        waitframe();
        const int ticks = fps.get_ticks(), due = spent > FRAMEMS ? spent : FRAMEMS;
        EXPECT_TRUE(ticks >= FRAMEMS && ticks < due + slack) << spent << ": " << ticks;
    }
}

// The stopwatch: stopped it reads 0; paused it holds its reading, unpaused it
// goes on from there. The start is moved back; the bounds allow a busy machine.
TEST_F(Frame, TimerPausesAndGoesOn)
{
    const auto near = [](int ticks, int want) { return ticks >= want && ticks < want + 1000; };
    Timer t;
    t.pause();   // a stopped watch does not pause
    EXPECT_TRUE(!t.is_started() && !t.is_paused() && t.get_ticks() == 0);
    t.start();
    Rig::startTicks(t) -= 500;
    t.pause();
    const int held = t.get_ticks();
    EXPECT_TRUE(t.is_started() && t.is_paused() && near(held, 500)) << held;
    Rig::startTicks(t) -= 3000;   // time passing while paused does not count
    t.pause();
    EXPECT_EQ(t.get_ticks(), held);
    t.unpause();
    EXPECT_TRUE(!t.is_paused() && Rig::pausedTicks(t) == 0 && near(t.get_ticks(), held));
    t.unpause();   // not paused: nothing changes
    EXPECT_TRUE(near(t.get_ticks(), held));
    t.stop();
    EXPECT_TRUE(!t.is_started() && !t.is_paused() && t.get_ticks() == 0);
}

// Start-up fills every texture slot the game draws from, builds the font,
// hides the pointer, puts the camera on the village, loads music and hit sound.
TEST_F(Frame, StartUpLoadsEveryPictureAndHidesThePointer)
{
    const auto live = [] {
        int n = 0;
        for (GLuint id = 1; id < 4096; id++) n += glIsTexture(id);
        return n;
    };
    startup();
    const int made = live();
    Mix_FreeMusic(music);
    Mix_FreeChunk(hit1);
    startup();   // loading again frees what it loaded before
    EXPECT_EQ(live(), made);
    EXPECT_EQ(made, std::count_if(textures, textures + TEXTURESLOTS, [](const TextureImage& t) { return t.texID; }))
        << "every texture the run made and still holds is in a slot";
    for (int slot = TEXGROUND; slot <= TEXSWORD; slot++) EXPECT_NE(textures[slot].texID, 0u) << "slot " << slot;
    for (int slot = TEXSWORD + 1; slot < TEXTURESLOTS; slot++) EXPECT_EQ(textures[slot].texID, 0u) << "slot " << slot;
    EXPECT_TRUE(glIsList(base) && glIsList(base + 255));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_TRUE(Camera.x == 992 && Camera.y == 0);
    EXPECT_TRUE(music && hit1);

    SDL_ShowCursor(SDL_ENABLE);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_FreeChunk(hit1);
    music = nullptr, hit1 = nullptr;
}
