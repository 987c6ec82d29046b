// The bitmap font: where glyphs land, which cell each character takes, and
// the state glPrint leaves behind.
#include "rig.h"

#include <string>

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
