// The gamepad as the arrows and space, in play and in boxes, and keys bound to
// actions recorded as the actions.
#include "rig.h"
#include "input.h"
#include "keys.h"
#include "messagebox.h"
#include "recording.h"

namespace {

// Events of the gamepad `which`: a hat's position, an axis's value, a
// button going down or up.
SDL_Event hat(Uint8 value, Uint8 which = 0)
{
    SDL_Event e{SDL_JOYHATMOTION};
    e.jhat.value = value;
    e.jhat.which = which;
    return e;
}

SDL_Event axis(Uint8 number, Sint16 value, Uint8 which = 0)
{
    SDL_Event e{SDL_JOYAXISMOTION};
    e.jaxis.axis = number;
    e.jaxis.value = value;
    e.jaxis.which = which;
    return e;
}

SDL_Event button(Uint8 number, bool down = true, Uint8 which = 0)
{
    SDL_Event e{Uint8(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP)};
    e.jbutton.button = number;
    e.jbutton.which = which;
    return e;
}

void push(std::vector<SDL_Event> events)
{
    for (SDL_Event& e : events) SDL_PushEvent(&e);
}

// The arrows and space held, as "UDLRS" with '-' for up.
std::string held()
{
    std::string out;
    for (int i = 0; i < 5; i++) out += key[i] ? "UDLRS"[i] : '-';
    return out;
}

std::string heldafter(std::vector<SDL_Event> events)
{
    push(events);
    bool quit = false;
    pollevents(quit);
    return held();
}

// Records the world frames' and boxes' input that run does and closes the
// recording mid-game, as a failure does, so the close writes the last run;
// returns the recording's text.
template <class Run>
std::string recorded(const char* name, Run run)
{
    const std::string path = scratchdir() + "/" + name;
    options.record = path.c_str();
    EXPECT_TRUE(openinput());
    run();
    EXPECT_EQ(closeinput(), 0);
    return filetext(path);
}

const char* const CHOICES[8] = {"", "", "", "", "", "", "yksi", "kaksi"};

}  // namespace

// Past the dead zone on each axis and back inside it; another axis, and
// every event of a second gamepad, do nothing; a button is space in the
// frame it goes down, and a key for the end's table.
TEST_F(World, GamepadHatAndStickAreArrowsButtonsAreSpace)
{
    const struct { std::vector<SDL_Event> events; const char* held; } cases[] = {
        {{hat(SDL_HAT_UP)}, "U----"},
        {{hat(SDL_HAT_RIGHTUP)}, "U--R-"},
        {{hat(SDL_HAT_DOWN)}, "-D---"},
        {{hat(SDL_HAT_CENTERED)}, "-----"},
        {{axis(0, -20000)}, "--L--"},
        {{axis(1, 32767)}, "-DL--"},
        {{axis(0, GAMEPADDEADZONE)}, "-D---"},
        {{axis(0, GAMEPADDEADZONE + 1)}, "-D-R-"},
        {{axis(2, -32768), axis(1, -3000), axis(0, 0)}, "-----"},
        {{button(3), button(3, false)}, "----S"},
        {{hat(SDL_HAT_UP, 1), axis(0, -32768, 1), button(0, true, 1)}, "-----"},
    };
    for (const auto& c : cases) {
        key[KEYSPACE] = false;
        EXPECT_EQ(heldafter(c.events), c.held) << c.held;
    }
    push({button(2)});
    EXPECT_TRUE(anykey() && !anykey());
}

// A question box leaves the arrows as they were, as it does with keys: the
// hat's right, let go inside the box, is still held afterwards.
TEST_F(World, GamepadWorksInBoxesAndIsRecorded)
{
    const std::string text = recorded("pad.rec", [] {
        bool quit = false;
        push({hat(SDL_HAT_RIGHT)});
        worldinput(quit);
        Box box;
        boxopen(box, CHOICES, true, 2);
        push({hat(SDL_HAT_CENTERED), hat(SDL_HAT_DOWN), button(0)});   // down the choices, every line at once
        boxinput(box);
        EXPECT_TRUE(box.valinta == 2 && box.y == 8);
        push({button(1)});
        boxinput(box);
        EXPECT_FALSE(box.repeat);
        push({hat(SDL_HAT_CENTERED)});
        worldinput(quit);
    });
    EXPECT_NE(text.find("\nw 1 ---R-\nk DS\nk S\nw 1 ---R-\n"), std::string::npos) << text;
}

// A game played with WASD, Return and Q is recorded as the actions, in
// world frames and box frames alike, so it plays back with any keys.
TEST_F(World, RecordingsHoldActionsNotKeys)
{
    const char* const bound[] = {"W", "S", "A", "D", "Return", "Q"};
    for (int a = 0; a < 6; a++) ASSERT_EQ(readbinding(bound[a], options.bindings[a]), nullptr) << bound[a];
    Box box;
    bool quit = false;
    const std::string text = recorded("wasd.rec", [&] {
        for (SDLKey k : {SDLK_w, SDLK_d, SDLK_UP, SDLK_LEFT, SDLK_ESCAPE, SDLK_RETURN}) pushkey(k);
        worldinput(quit);
        EXPECT_EQ(held(), "U--RS");
        EXPECT_FALSE(quit);   // Escape is no longer a quit key
        boxopen(box, CHOICES, true, 2);
        for (SDLKey k : {SDLK_s, SDLK_SPACE, SDLK_DOWN, SDLK_RETURN, SDLK_1, SDLK_w}) pushkey(k);
        boxinput(box);
        EXPECT_TRUE(box.valinta == 1 && box.y == 8);   // down, then 1, then up
        key[KEYSPACE] = false;
        pushkey(SDLK_w, false);
        pushkey(SDLK_q);
        worldinput(quit);
        EXPECT_TRUE(quit);
    });
    EXPECT_NE(text.find("\nw 1 U--RS\nk DS1U\nw 1 ---R-\n"), std::string::npos) << text;
}
