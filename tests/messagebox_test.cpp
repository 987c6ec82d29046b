// Message and question boxes, driven one box frame at a time with keys pushed
// into the event queue, and the UTF-8 text they type.
#include "rig.h"
#include "font.h"
#include "input.h"
#include "messagebox.h"
#include "pause.h"
#include "recording.h"
#include "text.h"
#include "textures.h"

#include <string>

static const char* const EMPTY[8] = {"", "", "", "", "", "", "", ""};

// A box as a state machine: each step pushes its keys (S space, s space let go,
// E Escape, U up, R right, Q a window close), runs its frames and leaves the
// line and letter typed, the box open or not, the game closing or not.
TEST_F(World, MessageBoxSteps)
{
    const char* const fifteen[8] = {"Fifteen letters", "", "", "", "", "", "", ""};
    const char* const letters[8] = {"\xC3\x84\xC3\xB6", "", "", "", "", "", "", ""};   // "Äö": two letters
    const std::string longline(250, 'x');
    const char* longlines[8];
    for (const char*& l : longlines) l = longline.c_str();
    struct Step {
        const char* keys;
        int frames, y, x;   // x -1: any
        bool open, closing;
    };
    const struct { const char* const* lines; int startx; std::vector<Step> steps; } cases[] = {
        // Typed a letter a frame, one frame for each empty line, open until space.
        {fifteen, 0, {{"", 15, 0, 15, true, false}, {"", 7, 7, -1, true, false}, {"", 2, 8, -1, true, false},
                      {"S", 1, 8, -1, false, false}}},
        {letters, 0, {{"", 2, 0, 2, true, false}, {"", 1, 1, -1, true, false}}},
        {EMPTY, 0, {{"", 7, 7, -1, true, false}, {"", 1, 8, -1, true, false}}},
        // Space shows all lines at once; two presses in one event step close it.
        {fifteen, 0, {{"Ss", 1, 8, -1, true, false}}},
        {fifteen, 0, {{"SS", 1, 8, -1, false, false}}},
        // Escape and the arrows are swallowed; a window close ends the box in
        // its frame, which types nothing more, and a space after it is not taken.
        {EMPTY, 0, {{"EUR", 1, 1, -1, true, false}, {"QS", 1, 1, -1, false, true}}},
        // Long lines stay inside their text.
        {longlines, 247, {{"", 3, 0, 250, true, false}, {"", 1, 1, -1, true, false}, {"S", 1, 8, -1, true, false}}},
    };
    for (const auto& c : cases) {
        Box box;
        boxopen(box, c.lines, false, 1);
        box.x = c.startx;
        int n = 0;
        for (const Step& s : c.steps) {
            for (const char* k = s.keys; *k; k++) {
                if (*k == 'Q') pushquit();
                else pushkey(*k == 'E' ? SDLK_ESCAPE : *k == 'U' ? SDLK_UP : *k == 'R' ? SDLK_RIGHT : SDLK_SPACE,
                             *k != 's');
            }
            for (int f = 0; f < s.frames; f++) boxframe(box);
            const std::string where = std::string(c.lines[0]).substr(0, 16) + ", step " + std::to_string(++n);
            EXPECT_EQ(box.y, s.y) << where;
            EXPECT_TRUE(s.x < 0 || box.x == s.x) << where << ": letter " << box.x;
            EXPECT_EQ(box.repeat, s.open) << where;
            EXPECT_EQ(closing != 0, s.closing) << where;
            EXPECT_FALSE(key[0] || key[3]) << where;
            SDL_Event e;
            EXPECT_EQ(SDL_PollEvent(&e), s.closing ? 1 : 0) << where;   // after a close, the space waits
        }
        closing = 0;
        drainevents();
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(World, MessageForgetsArrowsQuestionKeepsThem)
{
    Box box;
    for (bool& k : key) k = true;
    boxopen(box, EMPTY, false, 1);
    EXPECT_FALSE(key[0] || key[1] || key[2] || key[3]);
    EXPECT_TRUE(key[4]);

    for (bool& k : key) k = true;
    const float x = Rig::x(Rig::player());
    boxopen(box, EMPTY, true, 3);
    pushkey(SDLK_LEFT, false);   // let go while the question is open: not seen
    boxframe(box);
    boxframe(box);
    EXPECT_TRUE(key[0] && key[1] && key[2] && key[3] && key[4]);
    EXPECT_TRUE(x == Rig::x(Rig::player()) && Rig::time() == 0);   // the world stands still
}

// Two options: "3" is no choice, and down stops at 2; no options count as
// one, more than three as three.
TEST_F(World, QuestionChoices)
{
    const struct { std::vector<SDLKey> keys; int options, chosen; } cases[] = {
        {{SDLK_3}, 2, 1},
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}, 2, 2},
        {{SDLK_2, SDLK_UP, SDLK_UP}, 2, 1},
        {{SDLK_DOWN, SDLK_2, SDLK_3}, 0, 1},
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}, 7, 3},
    };
    for (const auto& c : cases) {
        for (SDLKey k : c.keys) pushkey(k);
        pushkey(SDLK_SPACE);
        pushkey(SDLK_SPACE);
        EXPECT_EQ(Questionbox("", "", "", "", "", "yksi", "kaksi", "kolme", c.options), c.chosen) << c.options;
    }
}

// A message's eighth line is red, and a question's chosen option.
TEST_F(World, TheChosenLineIsRed)
{
    LoadTextures();
    const char* const lines[8] = {"", "", "", "", "", "yksi", "kaksi", "kolme"};
    for (int chosen = 0; chosen <= 3; chosen++) {   // 0: a message
        Box box;
        boxopen(box, lines, chosen > 0, 3);
        box.valinta = chosen;
        pushkey(SDLK_SPACE);   // every line at once
        boxframe(box);
        std::vector<unsigned char> rgb;
        if (!shownpicture(rgb)) GTEST_SKIP() << "the picture is checked on llvmpipe";
        for (int line = 5; line < 8; line++) {
            int red = 0;
            for (int y = 596 + 20 * line; y < 612 + 20 * line; y++)
                for (int x = 196; x < 300; x++) red += shownat(rgb, x, y)[0] > 200 && shownat(rgb, x, y)[1] < 60;
            EXPECT_EQ(red > 0, line == (chosen ? 4 + chosen : 7)) << "option " << chosen << ", line " << line;
        }
    }
    drainevents();
}

// A letter beyond ASCII draws from a cell of its own: ä as "{" and ö as "}",
// as they always have, Å apart from Ä and from the "?" of a character the
// font lacks. Ending the font lets its lists go.
TEST_F(World, LettersDrawFromTheirOwnCells)
{
    LoadTextures();
    const auto drawn = [](const char* text) {
        glClear(GL_COLOR_BUFFER_BIT);
        glPrint(0, 0, text, 0, 0);
        std::vector<unsigned char> rgb(16 * 16 * 3);
        glReadPixels(0, SCREEN_HEIGHT - 16, 16, 16, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    EXPECT_EQ(drawn("ä"), drawn("{"));
    EXPECT_EQ(drawn("ö"), drawn("}"));
    EXPECT_NE(drawn("Å"), drawn("Ä"));
    EXPECT_NE(drawn("Å"), drawn("?"));
    KillFont();
    EXPECT_FALSE(glIsList(base));
    BuildFont();
}

// Text is UTF-8: each character and its code point, the unreadable bytes one
// question mark each; the pause notice's band is as wide as its characters.
TEST(Utf8, CharactersAndTheirCodePoints)
{
    const struct { const char* text; std::vector<unsigned> codes; } cases[] = {
        {"Ab\xDF\xBF", {'A', 'b', 0x7FF}},
        {"\xC3\xA4\xC3\xB6", {0xE4, 0xF6}},                             // ä ö
        {"\xC3\x84\xC3\x96\xC3\x85\xC3\xA5", {0xC4, 0xD6, 0xC5, 0xE5}}, // Ä Ö Å å
        {"\xE2\x82\xAC\xEF\xBC\x81!", {0x20AC, 0xFF01, '!'}},               // € !
        {"\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", {0x1F600, 0x10FFFF}},
        {"\xC3", {UNREADABLE}},                      // cut short at the end
        {"\xC3!", {UNREADABLE, '!'}},                // cut short by another character
        {"\xC0\x80", {UNREADABLE, UNREADABLE}},      // a longer spelling of NUL
        {"\xE0\x80\xAF", {UNREADABLE, UNREADABLE, UNREADABLE}},
        {"\xED\xA0\x80", {UNREADABLE, UNREADABLE, UNREADABLE}},   // a surrogate
        {"\xF4\x90\x80\x80", {UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE}},   // past U+10FFFF
        {"\x81\x80\x80\x80\xFF\xFE", {UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE, UNREADABLE}},
        {"\x7f\x01", {0x7f, 0x01}},
    };
    for (const auto& c : cases) {
        std::vector<unsigned> codes;
        for (const char* p = c.text; *p;) codes.push_back(nextchar(p));
        EXPECT_EQ(codes, c.codes) << c.text;
        EXPECT_EQ(textlength(c.text), c.codes.size()) << c.text;
        EXPECT_EQ(noticewidth(c.text), 10 * (int)c.codes.size() + 6) << c.text;
    }
}
