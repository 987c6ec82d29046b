// Message and question boxes, driven one box frame at a time with keys pushed
// into the event queue.
#include "rig.h"

#include <string>

static const char* const EMPTY[8] = {"", "", "", "", "", "", "", ""};

// A world to freeze under the box.
struct Boxes : World {};

TEST_F(Boxes, LinesTypeOutAndSpaceShowsAllThenCloses)
{
    const char* lines[8] = {"Fifteen letters", "", "", "", "", "", "", ""};
    Box box;
    boxopen(box, lines, false, 1);
    for (int frame = 1; frame <= 15; frame++) boxframe(box);
    EXPECT_EQ(0, box.y);
    EXPECT_EQ(15, box.x);
    for (int frame = 16; frame <= 22; frame++) boxframe(box);   // one per empty line
    EXPECT_EQ(7, box.y);
    boxframe(box);   // 23: every line shown, and open until space
    boxframe(box);
    EXPECT_EQ(8, box.y);
    EXPECT_TRUE(box.repeat);
    pushkey(SDLK_SPACE);
    boxframe(box);
    EXPECT_FALSE(box.repeat);

    // A box types characters, not bytes: "Äö" is two letters.
    const char* letters[8] = {"\xC3\x84\xC3\xB6", "", "", "", "", "", "", ""};
    boxopen(box, letters, false, 1);
    for (int frame = 1; frame <= 2; frame++) boxframe(box);
    EXPECT_EQ(0, box.y);
    EXPECT_EQ(2, box.x);
    boxframe(box);
    EXPECT_EQ(1, box.y);

    // Eight empty lines: one frame each.
    boxopen(box, EMPTY, false, 1);
    for (int frame = 1; frame <= 7; frame++) boxframe(box);
    EXPECT_EQ(7, box.y);
    boxframe(box);
    EXPECT_EQ(8, box.y);
    EXPECT_TRUE(box.repeat);

    // Space shows all lines at once; two presses in one event step close it.
    boxopen(box, lines, false, 1);
    pushkey(SDLK_SPACE);
    pushkey(SDLK_SPACE, false);
    boxframe(box);
    EXPECT_EQ(8, box.y);
    EXPECT_TRUE(box.repeat);
    boxopen(box, lines, false, 1);
    pushkey(SDLK_SPACE);
    pushkey(SDLK_SPACE);
    boxframe(box);
    EXPECT_EQ(8, box.y);
    EXPECT_FALSE(box.repeat);
}

// A box swallows Escape and the arrows; a window close ends it in that
// frame, and the game with the world frame that opened it.
TEST_F(Boxes, EscapeIsSwallowedAWindowCloseEndsTheBox)
{
    Box box;
    boxopen(box, EMPTY, false, 1);
    for (SDLKey k : {SDLK_ESCAPE, SDLK_UP, SDLK_RIGHT}) pushkey(k);
    boxframe(box);
    EXPECT_TRUE(box.repeat);
    SDL_Event e;
    EXPECT_EQ(0, SDL_PollEvent(&e));
    EXPECT_FALSE(key[0] || key[3]);
    EXPECT_FALSE(closing);

    pushquit();
    pushkey(SDLK_SPACE);   // after the close: never taken
    boxframe(box);
    EXPECT_FALSE(box.repeat);
    EXPECT_EQ(1, box.y);   // the frame that closed types nothing more
    EXPECT_TRUE(closing);
    closing = 0;
}

TEST_F(Boxes, MessageForgetsArrowsQuestionKeepsThem)
{
    Box box;
    for (bool& k : key) k = true;
    boxopen(box, EMPTY, false, 1);
    EXPECT_FALSE(key[0] || key[1] || key[2] || key[3]);
    EXPECT_TRUE(key[4]);

    for (bool& k : key) k = true;
    const float x = Rig::x(Rig::player());
    boxopen(box, EMPTY, true, 3);
    // The left arrow comes up while the question is open: not seen.
    pushkey(SDLK_LEFT, false);
    boxframe(box);
    boxframe(box);
    EXPECT_TRUE(key[0] && key[1] && key[2] && key[3] && key[4]);
    // The world stands still under the box.
    EXPECT_EQ(x, Rig::x(Rig::player()));
    EXPECT_EQ(0, Rig::time());
}

// Pushes the keys and two spaces, then asks.
static int ask(std::initializer_list<SDLKey> keys, int num)
{
    for (SDLKey k : keys) pushkey(k);
    pushkey(SDLK_SPACE);
    pushkey(SDLK_SPACE);
    return Questionbox("", "", "", "", "", "yksi", "kaksi", "kolme", num);
}

TEST_F(Boxes, QuestionChoices)
{
    // Two options: "3" is no choice, and down stops at 2.
    EXPECT_EQ(1, ask({SDLK_3}, 2));
    EXPECT_EQ(2, ask({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}, 2));
    EXPECT_EQ(1, ask({SDLK_2, SDLK_UP, SDLK_UP}, 2));
    // No options counts as one, more than three as three.
    EXPECT_EQ(1, ask({SDLK_DOWN, SDLK_2, SDLK_3}, 0));
    EXPECT_EQ(3, ask({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}, 7));
}

TEST_F(Boxes, LongLinesAreSafe)
{
    const std::string longline(250, 'x');
    const char* lines[8];
    for (const char*& l : lines) l = longline.c_str();
    Box box;
    boxopen(box, lines, false, 1);
    box.x = 247;   // near the end of the first line
    for (int frame = 0; frame < 3; frame++) boxframe(box);
    EXPECT_EQ(0, box.y);
    EXPECT_EQ(250, box.x);
    boxframe(box);
    EXPECT_EQ(1, box.y);
    pushkey(SDLK_SPACE);
    boxframe(box);   // every long line printed at once
    EXPECT_EQ(8, box.y);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

// Text is UTF-8: each character and its code point, the unreadable bytes one
// question mark each.
TEST(Utf8, CharactersAndTheirCodePoints)
{
    const struct {
        const char* text;
        std::vector<unsigned> codes;
    } cases[] = {
        {"Ab", {'A', 'b'}},
        {"\xC3\xA4\xC3\xB6", {0xE4, 0xF6}},                             // ä ö
        {"\xC3\x84\xC3\x96\xC3\x85\xC3\xA5", {0xC4, 0xD6, 0xC5, 0xE5}}, // Ä Ö Å å
        {"\xE2\x82\xAC!", {0x20AC, '!'}},                               // €
        {"\xF0\x9F\x98\x80", {0x1F600}},
        {"\xC3", {UNREADABLE}},                      // cut short at the end
        {"\xC3!", {UNREADABLE, '!'}},                // cut short by another character
        {"\xC0\x80", {UNREADABLE, UNREADABLE}},      // a longer spelling of NUL
        {"\xE0\x80\xAF", {UNREADABLE, UNREADABLE, UNREADABLE}},
        {"\xED\xA0\x80", {UNREADABLE, UNREADABLE, UNREADABLE}},   // a surrogate
        {"\xF4\x90\x80\x80", {UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE}},   // past U+10FFFF
        {"\x80\xBF\xFF\xFE", {UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE}},
        {"\x7f\x01", {0x7f, 0x01}},
    };
    for (const auto& c : cases) {
        std::vector<unsigned> codes;
        for (const char* p = c.text; *p;) codes.push_back(nextchar(p));
        EXPECT_EQ(codes, c.codes) << c.text;
        EXPECT_EQ(textlength(c.text), c.codes.size()) << c.text;
    }
}
