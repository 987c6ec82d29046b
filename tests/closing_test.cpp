// Every way of closing ends the game in the frame it comes in, whatever runs;
// each way is tried once in play, other places with one, as all set one flag.
#include "rig.h"
#include "input.h"
#include "messagebox.h"
#include "pause.h"
#include "recording.h"

#include <signal.h>

#include <thread>

namespace {

enum Way { WINDOWCLOSE, TERMSIGNAL, INTSIGNAL, HUPSIGNAL };
const char* const WAYNAMES[] = {"the window's close", "SIGTERM", "SIGINT", "SIGHUP"};

void deliver(Way way)
{
    const int signals[] = {0, SIGTERM, SIGINT, SIGHUP};
    way == WINDOWCLOSE ? pushquit() : (void)raise(signals[way]);
}

// A scripted player that closes the game in box frame closeat.
int boxframes, closeat;
Way closeway;
void closer(bool boxframe)
{
    if (boxframe && ++boxframes == closeat) deliver(closeway);
}

}  // namespace

struct Closing : World {};

// A world frame, living (each way) or in the dark end after the hero's
// death, is the game's last once a close comes.
TEST_F(Closing, EndsTheWorldFrame)
{
    for (int way = WINDOWCLOSE; way <= HUPSIGNAL + 1; way++) {
        const bool dark = way > HUPSIGNAL;
        resetworld();
        Rig::time() = 100;
        if (dark) Rig::player().healt = -100, night = 2;
        EXPECT_FALSE(runframe());
        deliver(dark ? WINDOWCLOSE : (Way)way);
        EXPECT_TRUE(runframe()) << WAYNAMES[dark ? 0 : way] << (dark ? " in the dark end" : "");
        EXPECT_TRUE(!dark || night > 2.0f) << night;
    }
}

// A message or question box ends in the box frame the close comes in; a
// box opened while the game closes runs one frame.
TEST_F(Closing, EndsABoxInItsFrame)
{
    for (bool question : {false, true}) {
        resetworld();
        boxframes = 0;
        closeat = 3;
        closeway = question ? TERMSIGNAL : INTSIGNAL;
        inputfeeder = closer;
        pushkey(SDLK_DOWN);
        const int chosen = question ? Questionbox("", "", "", "", "", "yksi", "kaksi", "", 2)
                                    : Messagebox("", "", "", "", "", "", "", "");
        EXPECT_TRUE(boxframes == 3 && closing) << WAYNAMES[closeway];
        EXPECT_EQ(chosen, question ? 2 : 0);
        Messagebox("", "", "", "", "", "", "", "");
        EXPECT_EQ(boxframes, 4) << WAYNAMES[closeway];
        inputfeeder = nullptr;
        closing = 0;
    }
}

// A pause in a box frame ends with the game closing on a signal that comes
// while paused (the pause's own events, the window's close among them, are
// the pause's tests).
TEST_F(Closing, ASignalEndsAPause)
{
    pushkey(SDLK_p);
    std::thread later([] {
        SDL_Delay(100);
        deliver(HUPSIGNAL);
    });
    const char* const lines[8] = {"", "", "", "", "", "", "", ""};
    Box box;
    boxopen(box, lines, false, 1);
    boxframe(box);   // its P pauses it
    later.join();
    EXPECT_TRUE(closing && !pauseasked);
    boxframe(box);
    EXPECT_FALSE(box.repeat);
    closing = 0;
}
