// One frame of the main loop: the key state, the ways the loop ends, the
// score text and the pixel-exact projection.
#include "rig.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

static void pushevent(Uint8 type)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    SDL_PushEvent(&e);
}

TEST(Frame, ArrowsAreHeldUntilReleased)
{
    resetworld();
    bool quit = false;
    for (SDLKey k : {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) pushkey(k);
    pollevents(quit);
    pollevents(quit);   // no new events: still held
    EXPECT_TRUE(key[0] && key[1] && key[2] && key[3]);
    EXPECT_FALSE(key[4]);

    pushkey(SDLK_UP, false);
    pushkey(SDLK_RIGHT, false);
    pollevents(quit);
    EXPECT_TRUE(!key[0] && key[1] && key[2] && !key[3]);

    // Pressed and released before the poll: never seen.
    pushkey(SDLK_UP);
    pushkey(SDLK_UP, false);
    pollevents(quit);
    EXPECT_FALSE(key[0]);
    EXPECT_FALSE(quit);
}

TEST(Frame, OnlyEscapeAndWindowCloseQuit)
{
    resetworld();
    bool quit = false;
    for (SDLKey k : {SDLK_a, SDLK_RETURN, SDLK_1, SDLK_KP8}) pushkey(k);
    for (Uint8 t : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_ACTIVEEVENT})
        pushevent(t);
    // Key-ups of space and Escape are ignored.
    key[4] = true;
    pushkey(SDLK_SPACE, false);
    pushkey(SDLK_ESCAPE, false);
    pollevents(quit);
    EXPECT_FALSE(quit);
    EXPECT_TRUE(key[4]);
    EXPECT_FALSE(key[0] || key[1] || key[2] || key[3] || key[5] || key[6] || key[7] || key[8]);

    pushkey(SDLK_ESCAPE);
    pollevents(quit);
    EXPECT_TRUE(quit);

    quit = false;
    pushquit();
    pushkey(SDLK_ESCAPE, false);   // later events do not undo it
    pollevents(quit);
    EXPECT_TRUE(quit);
}

TEST(Frame, SpaceCountsOnlyInTheFrameOfItsPress)
{
    resetworld();
    pushkey(SDLK_SPACE);
    EXPECT_FALSE(runframe());
    EXPECT_TRUE(key[4]);

    // Still held: no new key-down, so nothing in the next frame.
    EXPECT_FALSE(runframe());
    EXPECT_FALSE(key[4]);

    // Pressed and released within one frame still counts for it.
    pushkey(SDLK_SPACE);
    pushkey(SDLK_SPACE, false);
    EXPECT_FALSE(runframe());
    EXPECT_TRUE(key[4]);
    EXPECT_FALSE(runframe());
    EXPECT_FALSE(key[4]);
}

TEST(Frame, RunframeEndsOnEscapeOrWindowClose)
{
    resetworld();
    EXPECT_FALSE(runframe());
    pushquit();
    EXPECT_TRUE(runframe());
    // The next frame is a fresh one.
    EXPECT_FALSE(runframe());
    pushkey(SDLK_ESCAPE);
    EXPECT_TRUE(runframe());
    drainevents();
}

TEST(Frame, NightAboveHundredEndsAfterTheFrame)
{
    resetworld();
    night = 100.0f;
    EXPECT_FALSE(runframe());
    // The living world's script set the daylight again.
    EXPECT_LT(night, 1.0f);

    night = std::nextafter(100.0f, 200.0f);
    EXPECT_TRUE(runframe());

    // After the player's death the world darkens a hundredth a frame: from
    // 99.5 the first frame passes 100, and the next one is the last.
    resetworld();
    Rig::player().healt = -100;
    night = 99.5f;
    EXPECT_FALSE(runframe());
    EXPECT_GT(night, 100.0f);
    EXPECT_TRUE(runframe());
}

TEST(Frame, FramesAreAtLeastTwentyFiveMilliseconds)
{
    resetworld();
    const Uint32 begin = SDL_GetTicks();
    for (int i = 0; i < 4; i++) runframe();
    EXPECT_GE(SDL_GetTicks() - begin, 100u);
}

TEST(Frame, ScoreText)
{
    char fp[SCORETEXT];
    scoretext(0, fp);
    EXPECT_STREQ("0", fp);
    scoretext(-7, fp);
    EXPECT_STREQ("-7", fp);
    scoretext(99999, fp);
    EXPECT_STREQ("99999", fp);
    // Longer than the five characters the corner was laid out for, and shown
    // whole.
    scoretext(123456, fp);
    EXPECT_STREQ("123456", fp);
    scoretext(INT_MIN, fp);
    EXPECT_STREQ("-2147483648", fp);
    scoretext(INT_MAX, fp);
    EXPECT_STREQ("2147483647", fp);
}

TEST(Frame, ProjectionIsPixelExact)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    clearscreen();
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(32, 0);
    glVertex2i(32, 32);
    glVertex2i(0, 32);
    glEnd();

    for (int p : {0, 31}) {
        for (int q : {0, 31}) {
            const Pixel in = readpixel(p, q);
            EXPECT_EQ(255, in.r) << p << "," << q;
            EXPECT_EQ(255, in.g) << p << "," << q;
            EXPECT_EQ(255, in.b) << p << "," << q;
        }
    }
    const int outside[][2] = {{32, 0}, {0, 32}, {32, 32}, {32, 31}, {31, 32}};
    for (const auto& o : outside) EXPECT_EQ(0, readpixel(o[0], o[1]).r) << o[0] << "," << o[1];
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
