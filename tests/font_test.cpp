// The bitmap font: where glyphs land, which cell each character takes, and
// the state glPrint leaves behind.
#include "rig.h"

#include <string>
#include <vector>

const int A = 'A' - 32, B = 'B' - 32;

// A font picture in which every cell has its own colour: red 16 x column,
// green 16 x row (rows counted from the top of the picture), blue 128. 'C'
// is a little too transparent to show, 'D' just opaque enough.
class Font : public ::testing::Test {
protected:
    TextureImage saved;

    void SetUp() override
    {
        std::string pixels;
        for (int k = 0; k < 256; k++) {        // file rows, bottom of the picture first
            for (int j = 0; j < 256; j++) {
                const int col = j / 16, row = 15 - k / 16, glyph = row * 16 + col;
                const int alpha = glyph == 'C' - 32 ? 120 : glyph == 'D' - 32 ? 140 : 255;
                pixels += {(char)128, (char)(16 * row), (char)(16 * col), (char)alpha};
            }
        }
        const std::string path = writefile(tgafile(256, 256, 32, pixels), "font.tga");
        saved = textures[3];
        textures[3] = TextureImage{};
        ASSERT_TRUE(LoadTGA(&textures[3], path.c_str()));
        glLoadIdentity();
        clearscreen();
    }
    void TearDown() override { textures[3] = saved; }

    static bool black(int x, int y) { return bool(colourof(readpixel(x, y), 0, 0, 0)); }
    // Whether pixel (x, y) shows glyph n, white or, with red, red.
    static bool glyphat(int x, int y, int n, bool red = false)
    {
        const int g = red ? 0 : 16 * (n / 16), b = red ? 0 : 128;
        return bool(colourof(readpixel(x, y), 16 * (n % 16), g, b));
    }
};

TEST_F(Font, GlyphsAreSixteenPixelsWithTheirPenTenApart)
{
    glPrint(100, 50, "AB", 0, 0);
    EXPECT_TRUE(glyphat(100, 50, A));
    EXPECT_TRUE(glyphat(109, 65, A));
    EXPECT_TRUE(glyphat(110, 50, B));   // B lies over the last six columns of A
    EXPECT_TRUE(glyphat(125, 65, B));
    EXPECT_TRUE(black(126, 50));
    EXPECT_TRUE(black(99, 50));
    EXPECT_TRUE(black(100, 49));
    EXPECT_TRUE(black(110, 66));
}

TEST_F(Font, SetsColoursAlphaTestAndMatrix)
{
    glPrint(100, 100, "A", 1, 0);
    glPrint(200, 100, "A", 5, 0);
    EXPECT_TRUE(glyphat(105, 105, A + 128));
    EXPECT_TRUE(glyphat(205, 105, A + 128));
    glPrint(100, 200, "A", 0, 2);
    EXPECT_TRUE(glyphat(105, 205, A, true));

    // Alpha 120 of 255 is below one half, 140 above.
    glPrint(100, 300, "CD", 0, 0);
    EXPECT_TRUE(black(105, 305));
    EXPECT_TRUE(glyphat(115, 305, 'D' - 32));

    // Nothing to print, or something: the matrix is back to identity.
    for (const char* text : {"", "AB"}) {
        glTranslatef(5, 7, 0);
        glPrint(10, 400, text, 1, 1);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; i++) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << text << i;
    }
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(Font, CharactersOutsideTheFontShowAsQuestionMarks)
{
    glPrint(100, 100, "\x01\xe4\x1f\xff\x80", 0, 0);
    glPrint(100, 300, "\x01\xe4\x1f\xff\x80", 1, 0);
    for (int i = 0; i < 5; i++) {   // five glyphs, 10 pixels apart
        EXPECT_TRUE(glyphat(105 + 10 * i, 108, '?' - 32)) << i;
        EXPECT_TRUE(glyphat(105 + 10 * i, 308, '?' - 32 + 128)) << i;
    }
    EXPECT_TRUE(black(156, 108));
    glPrint(100, 500, "\x7f", 0, 0);   // the last printable character has its own
    EXPECT_TRUE(glyphat(105, 505, 95));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

// Texts are UTF-8: every whole character is one glyph, its letters beyond
// ASCII in cells of their own, and a byte that starts no whole character is
// one question mark.
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

TEST_F(Font, LettersBeyondAsciiHaveCellsOfTheirOwn)
{
    // ä and ö in the cells of { and }, as the game has always written them;
    // Ä Ö Å å after the printable ASCII; € unknown.
    glPrint(100, 100, "\xC3\xA4{\xC3\xB6}\xC3\x84\xC3\x96\xC3\x85\xC3\xA5\xE2\x82\xAC", 0, 0);
    const int cells[] = {'{' - 32, '{' - 32, '}' - 32, '}' - 32, 96, 97, 98, 99, '?' - 32};
    for (int i = 0; i < 9; i++) EXPECT_TRUE(glyphat(105 + 10 * i, 108, cells[i])) << i;
    EXPECT_TRUE(black(196, 108));
    glPrint(100, 300, "\xC3\x85", 1, 0);
    EXPECT_TRUE(glyphat(105, 308, 98 + 128));

    // glPrintn counts characters, not bytes.
    glPrintn(100, 500, "\xC3\x84\xC3\x96X", 2, 0, 0);
    EXPECT_TRUE(glyphat(115, 508, 97));
    EXPECT_TRUE(black(126, 508));
}
