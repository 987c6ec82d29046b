// Pausing: who may pause, the window's focus and the events a pause takes.
#include "rig.h"
#include "display.h"
#include "input.h"
#include "pause.h"
#include "textures.h"

namespace {

struct Pause : World {};

SDL_Event activeevent(int gain, int state)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.gain = (Uint8)gain;
    e.active.state = (Uint8)state;
    return e;
}

void nofeeder(bool) {}

}  // namespace

// Whether the frame being shown ends in a pause, after the event and as
// many frames as the window's focus needs.
bool pausesafter(const SDL_Event& e)
{
    pauseasked = false;
    focuslost = 0;
    EXPECT_TRUE(commonevent(e));
    bool paused = false;
    for (int f = 0; f < AWAYFRAMES; f++) paused = endsinpause();
    return paused;
}

// P pauses what a person plays, live or watched; the window losing the
// keyboard or minimised pauses only a live game; scripts and fast never pause.
TEST_F(Pause, WhatMayPause)
{
    SDL_Event p{SDL_KEYDOWN};
    p.key.keysym.sym = SDLK_p;
    const SDL_Event lost = activeevent(0, SDL_APPINPUTFOCUS), minimised = activeevent(0, SDL_APPACTIVE),
                    mouse = activeevent(0, SDL_APPMOUSEFOCUS), back = activeevent(1, SDL_APPINPUTFOCUS);
    const struct {
        InputSource source;
        bool feeder, fast;
        const char* pauses;   // for P, focus lost, minimised, mouse gone, focus back: 'P' pauses
    } cases[] = {
        {LIVEINPUT, false, false, "PPP--"},   {RECORDINPUT, false, false, "PPP--"},
        {PLAYINPUT, false, false, "P----"},   {PLAYINPUT, false, true, "-----"},
        {LIVEINPUT, true, false, "-----"},
    };
    for (const auto& c : cases) {
        inputsource = c.source;
        fastframes = c.fast;
        inputfeeder = c.feeder ? nofeeder : nullptr;
        std::string pauses;
        for (const SDL_Event* e : std::initializer_list<const SDL_Event*>{&p, &lost, &minimised, &mouse, &back})
            pauses += pausesafter(*e) ? 'P' : '-';
        EXPECT_EQ(pauses, c.pauses) << "source " << c.source << (c.feeder ? ", scripted" : "")
                                    << (c.fast ? ", fast" : "");
    }
}

// Focus lost for AWAYFRAMES shown frames pauses; focus that goes and comes
// back sooner, as when a window is mapped, does not. Going on with P gives
// the focus back, whatever the window said.
TEST_F(Pause, TheWindowAwayPausesAfterSomeFrames)
{
    const SDL_Event lost = activeevent(0, SDL_APPINPUTFOCUS), back = activeevent(1, SDL_APPINPUTFOCUS),
                    shown = activeevent(1, SDL_APPACTIVE), hidden = activeevent(0, SDL_APPACTIVE);
    commonevent(lost);
    for (int f = 1; f < AWAYFRAMES; f++) EXPECT_FALSE(endsinpause());
    commonevent(back);
    for (int f = 0; f < 2; f++) EXPECT_FALSE(endsinpause());
    // Hidden, then shown again, but still without the keyboard.
    for (const SDL_Event& e : {hidden, lost, shown}) commonevent(e);
    for (int f = 1; f < AWAYFRAMES; f++) EXPECT_FALSE(endsinpause());
    pushkey(SDLK_p);
    showframe();
    EXPECT_EQ(focuslost, 0);
    EXPECT_FALSE(endsinpause());
    SDL_Event e;
    EXPECT_EQ(SDL_PollEvent(&e), 0);
}

// What a pause takes: P goes on, Escape and every way of closing end it
// with the game closing, the arrows count as held or let go, and the other
// keys, space among them, do nothing.
TEST_F(Pause, EventsWhilePaused)
{
    const struct {
        std::vector<std::pair<SDLKey, bool>> keys;   // SDLK_UNKNOWN: a window close
        bool closes;
        const char* held;   // the arrows afterwards, "UDLR"
    } cases[] = {
        {{{SDLK_p, true}}, false, "----"},
        {{{SDLK_ESCAPE, true}}, true, "----"},
        {{{SDLK_UNKNOWN, true}}, true, "----"},
        {{{SDLK_RIGHT, true}, {SDLK_UP, true}, {SDLK_UP, false}, {SDLK_SPACE, true}, {SDLK_RETURN, true},
          {SDLK_p, true}},
         false, "---R"},
        {{{SDLK_DOWN, true}, {SDLK_ESCAPE, false}, {SDLK_p, false}, {SDLK_p, true}}, false, "-D--"},
    };
    for (const auto& c : cases) {
        for (bool& k : key) k = false;
        for (const auto& k : c.keys) k.first == SDLK_UNKNOWN ? pushquit() : pushkey(k.first, k.second);
        pauseasked = true;
        showframe();
        std::string held;
        for (int i = 0; i < 4; i++) held += key[i] ? "UDLR"[i] : '-';
        EXPECT_EQ(held, c.held);
        EXPECT_FALSE(key[KEYSPACE]);
        EXPECT_EQ(closing != 0, c.closes);
        EXPECT_TRUE(!pauseasked && textures[TEXKEPT].texID == 0);   // the kept picture let go
        closing = 0;
        drainevents();
    }
}
