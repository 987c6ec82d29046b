// The gamepad: its hat and left stick act as the arrow keys and its buttons
// as space, in play and in message boxes, and recordings keep what it did.
#include "rig.h"

#include <fstream>
#include <sstream>

namespace {

void pushhat(Uint8 value)
{
    SDL_Event e{};
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = value;
    SDL_PushEvent(&e);
}

void pushaxis(Uint8 axis, Sint16 value)
{
    SDL_Event e{};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.axis = axis;
    e.jaxis.value = value;
    SDL_PushEvent(&e);
}

void pushbutton(Uint8 button, bool down = true)
{
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.button = button;
    SDL_PushEvent(&e);
}

// The arrows held after the pending events, as "UDLR" with '-' for up.
std::string arrows()
{
    bool quit = false;
    pollevents(quit);
    std::string held;
    for (int i = 0; i < 4; i++) held += key[i] ? "UDLR"[i] : '-';
    return held;
}

}  // namespace

TEST(Gamepad, HatAndStickAreArrowsButtonsAreSpace)
{
    resetworld();
    pushhat(SDL_HAT_UP);
    EXPECT_EQ(arrows(), "U---");
    pushhat(SDL_HAT_RIGHTUP);
    EXPECT_EQ(arrows(), "U--R");
    pushhat(SDL_HAT_DOWN);
    EXPECT_EQ(arrows(), "-D--");
    pushhat(SDL_HAT_CENTERED);
    EXPECT_EQ(arrows(), "----");

    // The stick: past the dead zone on each axis, and back inside it.
    pushaxis(0, -20000);
    EXPECT_EQ(arrows(), "--L-");
    pushaxis(1, 32767);
    EXPECT_EQ(arrows(), "-DL-");
    pushaxis(0, GAMEPADDEADZONE);
    EXPECT_EQ(arrows(), "-D--");
    pushaxis(0, GAMEPADDEADZONE + 1);
    EXPECT_EQ(arrows(), "-D-R");
    pushaxis(2, -32768);   // another axis does nothing
    pushaxis(1, -3000);
    pushaxis(0, 0);
    EXPECT_EQ(arrows(), "----");

    // Any button swings the sword in the frame it goes down.
    key[KEYSPACE] = false;
    pushbutton(3);
    pushbutton(3, false);
    arrows();
    EXPECT_TRUE(key[KEYSPACE]);

    // Only the first gamepad plays: a second one's hat, stick and buttons
    // do nothing.
    key[KEYSPACE] = false;
    SDL_Event hat{}, axis{}, button{};
    hat.type = SDL_JOYHATMOTION;
    hat.jhat.which = 1;
    hat.jhat.value = SDL_HAT_UP;
    axis.type = SDL_JOYAXISMOTION;
    axis.jaxis.which = 1;
    axis.jaxis.value = -32768;
    button.type = SDL_JOYBUTTONDOWN;
    button.jbutton.which = 1;
    for (SDL_Event* e : {&hat, &axis, &button}) SDL_PushEvent(e);
    EXPECT_EQ(arrows(), "----");
    EXPECT_FALSE(key[KEYSPACE]);
}

TEST(Gamepad, WorksInBoxesAndIsRecorded)
{
    resetworld();
    const std::string path = scratchdir() + "/pad.rec";
    resetoptions();
    options.record = path.c_str();
    ASSERT_TRUE(openinput());

    bool quit = false;
    pushhat(SDL_HAT_RIGHT);
    worldinput(quit);
    const char* const lines[8] = {"", "", "", "", "", "", "yksi", "kaksi"};
    Box box;
    boxopen(box, lines, true, 2);
    pushhat(SDL_HAT_CENTERED);
    pushhat(SDL_HAT_DOWN);   // down the choices
    pushbutton(0);           // space: every line at once
    boxinput(box);
    EXPECT_EQ(box.valinta, 2);
    EXPECT_EQ(box.y, 8);
    pushbutton(1);
    boxinput(box);
    EXPECT_FALSE(box.repeat);
    // A question box leaves the arrows as they were, as it does with keys:
    // the hat's right, let go inside the box, is still held afterwards.
    pushhat(SDL_HAT_CENTERED);
    worldinput(quit);
    worldframedone(true);
    ASSERT_EQ(closeinput(), 0);
    resetoptions();

    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nw 1 ---R-\nk DS\nk S\nw 1 ---R-\n"), std::string::npos) << text.str();
}

// A recording keeps alike frames together: a run of world frames with the
// same keys, up to 50 a line, and a run of box frames without keys; a box
// frame with keys is a line of its own.
TEST(Recording, AlikeFramesShareALine)
{
    resetworld();
    const std::string path = scratchdir() + "/runs.rec";
    resetoptions();
    options.record = path.c_str();
    ASSERT_TRUE(openinput());
    bool quit = false;
    const char* const lines[8] = {"", "", "", "", "", "", "", ""};
    Box box;
    boxopen(box, lines, true, 1);   // a question box leaves the arrows held

    for (int i = 0; i < 3; i++) worldinput(quit);
    boxinput(box);
    boxinput(box);
    pushkey(SDLK_SPACE);
    boxinput(box);
    boxinput(box);
    pushkey(SDLK_UP);
    for (int i = 0; i < 52; i++) worldinput(quit);
    pushkey(SDLK_SPACE);
    worldinput(quit);
    worldframedone(true);
    ASSERT_EQ(closeinput(), 0);
    resetoptions();
    drainevents();

    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nw 3 -----\nb 2\nk S\nb 1\nw 50 U----\nw 2 U----\nw 1 U---S\nc 56 "),
              std::string::npos)
        << text.str();
}

// Keys bound to actions are recorded as the actions, in world frames and
// box frames alike, so a game played with WASD plays back with any keys.
TEST(Bindings, RecordingsHoldActionsNotKeys)
{
    resetworld();
    const std::string path = scratchdir() + "/wasd.rec";
    resetoptions();
    const char* const bound[][2] = {{"W", "up"}, {"S", "down"}, {"A", "left"}, {"D", "right"},
                                    {"Return", "swing"}, {"Q", "quit"}};
    for (int a = 0; a < 6; a++) ASSERT_EQ(readbinding(bound[a][0], options.bindings[a]), nullptr) << bound[a][1];
    options.record = path.c_str();
    ASSERT_TRUE(openinput());

    bool quit = false;
    key[KEYSPACE] = false;
    for (SDLKey k : {SDLK_w, SDLK_d, SDLK_UP, SDLK_LEFT, SDLK_ESCAPE, SDLK_RETURN}) pushkey(k);
    worldinput(quit);
    EXPECT_EQ(std::string(key, key + 5), std::string({1, 0, 0, 1, 1}));
    EXPECT_FALSE(quit);   // Escape is no longer a quit key

    const char* const lines[8] = {"", "", "", "", "", "", "yksi", "kaksi"};
    Box box;
    boxopen(box, lines, true, 2);
    for (SDLKey k : {SDLK_s, SDLK_SPACE, SDLK_DOWN, SDLK_RETURN, SDLK_1, SDLK_w}) pushkey(k);
    boxinput(box);
    EXPECT_EQ(box.valinta, 1);   // down, then 1, then up
    EXPECT_EQ(box.y, 8);

    key[KEYSPACE] = false;
    pushkey(SDLK_w, false);
    pushkey(SDLK_q);
    worldinput(quit);
    EXPECT_TRUE(quit);
    worldframedone(true);
    ASSERT_EQ(closeinput(), 0);

    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nw 1 U--RS\nk DS1U\nw 1 ---R-\n"), std::string::npos) << text.str();

    // Played back with the default keys, the same actions come.
    resetoptions();
    options.play = path.c_str();
    ASSERT_TRUE(openinput());
    quit = false;
    key[KEYSPACE] = false;
    worldinput(quit);
    EXPECT_EQ(std::string(key, key + 5), std::string({1, 0, 0, 1, 1}));
    boxopen(box, lines, true, 2);
    boxinput(box);
    EXPECT_EQ(box.valinta, 1);
    EXPECT_EQ(box.y, 8);
    key[KEYSPACE] = false;
    worldinput(quit);
    EXPECT_EQ(std::string(key, key + 5), std::string({0, 0, 0, 1, 0}));
    EXPECT_TRUE(quit);
    worldframedone(true);
    closeinput();
    resetoptions();
}
