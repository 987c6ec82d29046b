// The bitmap font: where glyphs land, which cell each character takes, and
// the state glPrint leaves behind.
#include "rig.h"

#include <gtest/gtest.h>

#include <string>

// A font picture in which every cell has its own colour: red 16 x column,
// green 16 x row (rows counted from the top of the picture), blue 128. The
// cell of 'C' is a little too transparent to show, that of 'D' just opaque
// enough.
class Font : public ::testing::Test {
protected:
    TextureImage saved;

    void SetUp() override
    {
        std::string pixels;
        for (int k = 0; k < 256; k++) {        // file rows, bottom of the picture first
            for (int j = 0; j < 256; j++) {
                const int col = j / 16;
                const int row = 15 - k / 16;
                const int glyph = row * 16 + col;
                pixels.push_back((char)128);
                pixels.push_back((char)(16 * row));
                pixels.push_back((char)(16 * col));
                pixels.push_back((char)(glyph == 'C' - 32 ? 120 : glyph == 'D' - 32 ? 140 : 255));
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

    static bool black(int x, int y)
    {
        const Pixel p = readpixel(x, y);
        return p.r == 0 && p.g == 0 && p.b == 0;
    }
    // Whether pixel (x, y) shows glyph n, white or, with red, red.
    static bool glyphat(int x, int y, int n, bool red = false)
    {
        const Pixel p = readpixel(x, y);
        if (red) return p.r == 16 * (n % 16) && p.g == 0 && p.b == 0;
        return p.r == 16 * (n % 16) && p.g == 16 * (n / 16) && p.b == 128;
    }
    static bool identity()
    {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; i++)
            if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
        return true;
    }
};

TEST_F(Font, GlyphsAreSixteenPixelsWithTheirPenTenApart)
{
    glPrint(100, 50, "AB", 0, 0);
    const int A = 'A' - 32, B = 'B' - 32;
    EXPECT_TRUE(glyphat(100, 50, A));
    EXPECT_TRUE(glyphat(109, 65, A));
    EXPECT_TRUE(glyphat(110, 50, B));   // B lies over the last six columns of A
    EXPECT_TRUE(glyphat(115, 58, B));
    EXPECT_TRUE(glyphat(125, 65, B));
    EXPECT_TRUE(black(126, 50));
    EXPECT_TRUE(black(99, 50));
    EXPECT_TRUE(black(100, 49));
    EXPECT_TRUE(black(110, 66));

    // The digits of the score take grid row 1, columns 0 to 9.
    glPrint(300, 300, "0123456789", 0, 0);
    for (int i = 0; i < 10; i++) EXPECT_TRUE(glyphat(300 + 10 * i + 5, 308, 16 + i)) << i;

    // Only the first n characters.
    glPrintn(100, 400, "ABCD", 1, 0, 0);
    EXPECT_TRUE(glyphat(105, 408, A));
    EXPECT_TRUE(black(120, 408));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(Font, SetsColoursAndTheAlphaTest)
{
    const int A = 'A' - 32;
    glPrint(100, 100, "A", 1, 0);
    glPrint(200, 100, "A", 5, 0);
    EXPECT_TRUE(glyphat(105, 105, A + 128));
    EXPECT_TRUE(glyphat(205, 105, A + 128));

    glPrint(100, 200, "A", 0, 1);
    glPrint(200, 200, "A", 0, 2);
    glPrint(300, 200, "A", 0, -1);
    EXPECT_TRUE(glyphat(105, 205, A, true));
    EXPECT_TRUE(glyphat(205, 205, A, true));
    EXPECT_TRUE(glyphat(305, 205, A, true));

    // Alpha 120 of 255 is below one half, 140 above.
    glPrint(100, 300, "C", 0, 0);
    glPrint(200, 300, "D", 0, 0);
    EXPECT_TRUE(black(105, 305));
    EXPECT_TRUE(glyphat(205, 305, 'D' - 32));

    // The last printable character still has a glyph of its own.
    glPrint(100, 400, "\x7f", 0, 0);
    EXPECT_TRUE(glyphat(105, 405, 95));
}

TEST_F(Font, PrintLeavesIdentityAndSwitchesOff)
{
    glTranslatef(5, 7, 0);
    glPrint(0, 0, "", 0, 0);
    EXPECT_TRUE(identity());
    EXPECT_TRUE(black(0, 0));
    EXPECT_TRUE(black(8, 8));

    glTranslatef(5, 7, 0);
    glPrint(10, 10, "AB", 1, 1);
    EXPECT_TRUE(identity());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(3, NTEXTURE);
}

TEST_F(Font, CharactersOutsideTheFontShowAsQuestionMarks)
{
    const char odd[] = "\x01\xe4\x1f\xff\x80";
    glPrint(100, 100, odd, 0, 0);
    glPrint(100, 200, "?????", 0, 0);
    glPrint(100, 300, odd, 1, 0);
    glPrint(100, 400, "?????", 1, 0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    const int question = '?' - 32;
    for (int x = 98; x < 150; x++) {
        for (int dy : {0, 7, 15, 16}) {
            const Pixel a = readpixel(x, 100 + dy), b = readpixel(x, 200 + dy);
            EXPECT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << x << "," << dy;
            const Pixel c = readpixel(x, 300 + dy), d = readpixel(x, 400 + dy);
            EXPECT_TRUE(c.r == d.r && c.g == d.g && c.b == d.b) << x << "," << dy;
        }
    }
    // Five glyphs, the pen moving 10 pixels after each.
    EXPECT_TRUE(glyphat(145, 105, question));
    EXPECT_TRUE(glyphat(145, 305, question + 128));
}
