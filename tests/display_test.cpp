// The display: the picture in the largest centred 4:3 rectangle of any window,
// full screen and back with the textures kept, and the keys of the actions.
#include "rig.h"
#include "display.h"
#include "font.h"
#include "input.h"
#include "messagebox.h"
#include "recording.h"
#include "textures.h"

#include <climits>

namespace {

struct Display : World {};

::testing::AssertionResult isviewport(const Viewport& v, int x, int y, int w, int h)
{
    if (v.x == x && v.y == y && v.w == w && v.h == h) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "viewport " << v.w << "x" << v.h << " at " << v.x << "," << v.y
                                         << ", expected " << w << "x" << h << " at " << x << "," << y;
}

}  // namespace

TEST(Viewport, LargestCentredFourThirds)
{
    const struct { int w, h; Viewport want; } cases[] = {
        {1024, 768, {0, 0, 1024, 768}},       {1920, 1080, {240, 0, 1440, 1080}},
        {3840, 2160, {480, 0, 2880, 2160}},   {800, 400, {133, 0, 533, 400}},
        {1024, 1000, {0, 116, 1024, 768}},    {640, 480, {0, 0, 640, 480}},
        {10000, 10000, {0, 1250, 10000, 7500}}, {1, 1, {0, 0, 1, 1}},
        {0, 0, {0, 0, 1, 1}},                 {-5, 300, {0, 149, 1, 1}},
        {INT_MAX, 3, {(INT_MAX - 4) / 2, 0, 4, 3}}, {3, INT_MAX, {0, (INT_MAX - 2) / 2, 3, 2}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(isviewport(fitviewport(c.w, c.h), c.want.x, c.want.y, c.want.w, c.want.h))
            << c.w << "x" << c.h;
}

// Alt+Enter switches in a world frame, a box frame and a playback alike;
// Enter alone does nothing. The textures and the font's lists live on.
TEST_F(Display, AltEnterSwitchesAndTexturesSurvive)
{
    freetexture(textures[TEXPANEL]);
    ASSERT_TRUE(LoadTGA(&textures[TEXPANEL], picturefile(TEXSWORD)));
    const GLuint panel = textures[TEXPANEL].texID;
    bool quit = false;
    pushkey(SDLK_RETURN);
    pollevents(quit);
    EXPECT_FALSE(fullscreen);
    pushkey(SDLK_RETURN, true, KMOD_LALT);
    pollevents(quit);
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(glIsTexture(panel));
    EXPECT_TRUE(glIsList(base));
    const char* const lines[8] = {"", "", "", "", "", "", "", ""};
    Box box;
    boxopen(box, lines, false, 1);
    pushkey(SDLK_KP_ENTER, true, KMOD_RALT);
    boxinput(box);
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(box.repeat);
    EXPECT_FALSE(quit);
    EXPECT_TRUE(isviewport(viewport, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT));
    EXPECT_EQ(panel, textures[TEXPANEL].texID);
}

TEST(Keys, ActionsOfKeys)
{
    const struct {
        SDLKey sym;
        int mod;
        int action;   // -1: none
    } cases[] = {
        {SDLK_UP, KMOD_NONE, ACTIONUP},          {SDLK_DOWN, KMOD_LSHIFT, ACTIONDOWN},
        {SDLK_LEFT, KMOD_NONE, ACTIONLEFT},      {SDLK_RIGHT, KMOD_LCTRL, ACTIONRIGHT},
        {SDLK_SPACE, KMOD_LSHIFT, ACTIONSWING},  {SDLK_ESCAPE, KMOD_NONE, ACTIONQUIT},
        {SDLK_p, KMOD_NONE, ACTIONPAUSE},        {SDLK_p, KMOD_CAPS, ACTIONPAUSE},
        {SDLK_RETURN, KMOD_NONE, -1},            {SDLK_RETURN, KMOD_LALT, ACTIONFULLSCREEN},
        {SDLK_RETURN, KMOD_RALT, ACTIONFULLSCREEN}, {SDLK_KP_ENTER, KMOD_LALT, ACTIONFULLSCREEN},
        {SDLK_RETURN, KMOD_LCTRL, -1},           {SDLK_a, KMOD_NONE, -1},
        {SDLK_KP8, KMOD_NONE, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyactions(c.sym, c.mod), c.action < 0 ? 0u : 1u << c.action) << c.sym << " " << c.mod;
}

// Pictures come at their points, counted from the request: world frames
// read, then box frames since the last world frame. Each is the viewport's
// pixels, from its corner, not the whole window's from (0, 0): the bars are
// cleared black and the viewport red, so any bar in the picture shows.
TEST_F(Display, PicturesAtTheirPointsReadTheViewport)
{
    static std::vector<size_t> taken;
    static int width, height, notred;
    resizewindow(800, 400);
    ASSERT_TRUE(isviewport(viewport, 133, 0, 533, 400));
    countinput(true);   // before the request: not counted
    takepictures({{0, 1}, {1, 0}, {1, 2}}, [](size_t point, const unsigned char* rgba, int w, int h) {
        taken.push_back(point);
        width = w, height = h;
        for (int i = 0; i < w * h; i++) notred += rgba[4 * i] != 255 || rgba[4 * i + 1] != 0;
    });
    for (bool box : {true, false, true, true}) {
        countinput(box);
        ASSERT_TRUE(beginframe(box));
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport.x, viewport.y, viewport.w, viewport.h);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        showframe();
    }
    takepictures({}, nullptr);
    resizewindow(SCREEN_WIDTH, SCREEN_HEIGHT);
    EXPECT_EQ(taken, (std::vector<size_t>{0, 1, 2}));
    EXPECT_TRUE(width == 533 && height == 400 && notred == 0) << width << "x" << height << ", " << notred;
}
