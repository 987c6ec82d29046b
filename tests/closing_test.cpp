// Closing: the window's close button, SIGTERM, SIGINT and SIGHUP end the
// game in the frame they come in, whatever runs: play, a message or
// question box, the dark end, a pause, a playback. Each way is tried once
// in play; every other place with one of them, as all set the same flag. A game being recorded is
// finished, and plays back to the same end.
#include "rig.h"

#include <signal.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace {

enum Way { WINDOWCLOSE, TERMSIGNAL, INTSIGNAL, HUPSIGNAL };
const Way WAYS[] = {WINDOWCLOSE, TERMSIGNAL, INTSIGNAL, HUPSIGNAL};
const char* const WAYNAMES[] = {"the window's close", "SIGTERM", "SIGINT", "SIGHUP"};

void deliver(Way way)
{
    const int signals[] = {0, SIGTERM, SIGINT, SIGHUP};
    if (way == WINDOWCLOSE)
        pushquit();
    else
        raise(signals[way]);
}

// A scripted player that closes the game in box frame closeat.
int boxframes, closeat;
Way closeway;
void closer(bool boxframe)
{
    if (boxframe && ++boxframes == closeat) deliver(closeway);
}

// The world two frames before the opening messages, recording into path
// or playing it back.
::testing::AssertionResult beforeopening(const std::string& path, bool record)
{
    resetworld();
    Rig::time() = OPENINGFRAME - 2;
    resetoptions();
    (record ? options.record : options.play) = path.c_str();
    if (openinput()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cannot open " << path;
}

// Runs the game's frames until it ends, at most 10; how many ran.
int framestoend()
{
    int frames = 1;
    while (!runframe() && frames < 10) frames++;
    return frames;
}

}  // namespace

struct Closing : World {};

// A world frame, living or in the dark end after the hero's death, is the
// game's last once a close comes.
TEST_F(Closing, EndsTheWorldFrame)
{
    for (bool dark : {false, true}) {
        for (Way way : WAYS) {
            if (dark && way != WINDOWCLOSE) continue;
            resetworld();
            Rig::time() = 100;
            if (dark) {
                Rig::player().healt = -100;
                night = 2;
            }
            EXPECT_FALSE(runframe());
            deliver(way);
            EXPECT_TRUE(runframe()) << WAYNAMES[way] << (dark ? " in the dark end" : "");
            if (dark) {
                EXPECT_GT(night, 2.0f);
            }
        }
    }
}

// A message or question box ends in the box frame the close comes in; a
// box opened while the game closes runs one frame.
TEST_F(Closing, EndsABoxInItsFrame)
{
    for (bool question : {false, true}) {
        for (Way way : {question ? TERMSIGNAL : INTSIGNAL}) {
            resetworld();
            boxframes = 0;
            closeat = 3;
            closeway = way;
            inputfeeder = closer;
            pushkey(SDLK_DOWN);
            const int chosen = question ? Questionbox("", "", "", "", "", "yksi", "kaksi", "", 2)
                                        : Messagebox("", "", "", "", "", "", "", "");
            EXPECT_EQ(boxframes, 3) << WAYNAMES[way];
            EXPECT_TRUE(closing);
            EXPECT_EQ(chosen, question ? 2 : 0);
            Messagebox("", "", "", "", "", "", "", "");
            EXPECT_EQ(boxframes, 4) << WAYNAMES[way];
            inputfeeder = nullptr;
            closing = 0;
        }
    }
}

// A pause, in a world frame or a box frame, ends with the game closing: a
// window close waiting in the queue, or a signal that comes while paused.
TEST_F(Closing, EndsAPause)
{
    for (bool inbox : {false, true}) {
        for (Way way : {inbox ? HUPSIGNAL : WINDOWCLOSE}) {
            resetworld();
            Rig::time() = 100;
            pushkey(SDLK_p);
            std::thread later;
            if (way == WINDOWCLOSE)
                deliver(way);
            else
                later = std::thread([way] {
                    SDL_Delay(100);
                    deliver(way);
                });
            if (inbox) {
                const char* const lines[8] = {"", "", "", "", "", "", "", ""};
                Box box;
                boxopen(box, lines, false, 1);
                boxframe(box);   // its P pauses it
                EXPECT_TRUE(closing) << WAYNAMES[way];
                boxframe(box);
                EXPECT_FALSE(box.repeat) << WAYNAMES[way];
            } else {
                EXPECT_TRUE(runframe()) << WAYNAMES[way];
            }
            if (later.joinable()) later.join();
            EXPECT_FALSE(pauseasked);
            closing = 0;
        }
    }
}

// A game closed in the opening message: the box frame says so, the second
// message of the frame runs one frame, the world frame ends the recording,
// and playback comes to the same world.
TEST_F(Closing, ACloseInABoxIsRecordedAndPlaysBack)
{
    const std::string path = scratchdir() + "/closed.rec";
    for (Way way : {WINDOWCLOSE}) {
        ASSERT_TRUE(beforeopening(path, true));
        boxframes = 0;
        closeat = 4;
        closeway = way;
        inputfeeder = closer;
        EXPECT_EQ(framestoend(), 3) << WAYNAMES[way];
        inputfeeder = nullptr;
        ASSERT_EQ(closeinput(), 0);
        EXPECT_EQ(boxframes, 5) << WAYNAMES[way];
        Digest recorded;
        takedigest(recorded);

        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find("\nw 3 -----\nb 3\nk Q\nk Q\nc 3 "), std::string::npos) << text.str();
        EXPECT_NE(text.str().find("\nend 3 player\n"), std::string::npos) << text.str();

        ASSERT_TRUE(beforeopening(path, false));
        EXPECT_EQ(framestoend(), 3);
        EXPECT_EQ(closeinput(), 0);
        Digest played;
        takedigest(played);
        EXPECT_TRUE(std::equal(played.value, played.value + played.count, recorded.value)) << WAYNAMES[way];
        closing = 0;
    }
}

// The watcher of a playback closes it in the frame the close comes in, in
// a box too, where the world is left as it stands, unchecked.
TEST_F(Closing, EndsAPlayback)
{
    const std::string path = scratchdir() + "/watched.rec";
    ASSERT_TRUE(beforeopening(path, true));
    inputfeeder = [](bool boxframe) {
        if (boxframe) pushkey(SDLK_SPACE);
    };
    for (int f = 0; f < 6; f++) EXPECT_FALSE(runframe());
    pushkey(SDLK_ESCAPE);
    EXPECT_TRUE(runframe());
    inputfeeder = nullptr;
    ASSERT_EQ(closeinput(), 0);

    // The close in the frame before the boxes, and in the boxes' frame.
    for (int at : {1, 3}) {
        for (Way way : {at == 1 ? TERMSIGNAL : WINDOWCLOSE}) {
            ASSERT_TRUE(beforeopening(path, false));
            int frames = 1;
            while (frames < at && !runframe()) frames++;
            deliver(way);
            EXPECT_TRUE(runframe()) << WAYNAMES[way] << " in frame " << at;
            closeinput();
            closing = 0;
        }
    }
}
