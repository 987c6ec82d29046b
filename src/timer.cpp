// The millisecond stopwatch that paces every frame loop, and the wait at
// the end of each frame.
#include "frame.h"
#include "main.h"

#include <SDL/SDL.h>

void Timer::start()
{
    started = true;
    paused = false;
    startTicks = (int)SDL_GetTicks();
}

void Timer::stop()
{
    started = false;
    paused = false;
}

void Timer::pause()
{
    if (started && !paused) {
        paused = true;
        pausedTicks = (int)SDL_GetTicks() - startTicks;
    }
}

void Timer::unpause()
{
    if (paused) {
        paused = false;
        startTicks = (int)SDL_GetTicks() - pausedTicks;
        pausedTicks = 0;
    }
}

int Timer::get_ticks()
{
    if (!started) return 0;
    if (paused) return pausedTicks;
    return (int)SDL_GetTicks() - startTicks;
}

bool Timer::is_started()
{
    return started;
}

bool Timer::is_paused()
{
    return paused;
}

// Sleeping gives the processor away, but a sleep may overrun by a fraction
// of a millisecond; so it stops SLEEPMARGIN milliseconds short and the rest
// is polled, and the frame still ends on the first tick count of FRAMEMS.
void waitframe()
{
    int left;
    while ((left = FRAMEMS - fps.get_ticks()) > SLEEPMARGIN) SDL_Delay((Uint32)(left - SLEEPMARGIN));
    while (fps.get_ticks() < FRAMEMS) {
    }
}

void rest()
{
    SDL_Delay(FRAMEMS);
}
