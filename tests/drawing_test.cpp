// Characters on screen: which sprite-sheet cell a body shows, the flashing
// overlay, the dead hero, and characters off screen.
#include "rig.h"

#include <algorithm>
#include <utility>
#include <vector>

// The pixels just outside a 32 by 32 square whose top left pixel is x, y:
// beside each corner on both sides, and the middle of each edge. A corner
// drawn one pixel off covers one of them.
static std::vector<std::pair<int, int>> besidesquare(int x, int y)
{
    std::vector<std::pair<int, int>> out;
    for (int cx : {x, x + 31})
        for (int cy : {y, y + 31}) {
            out.push_back({cx == x ? x - 1 : x + 32, cy});
            out.push_back({cx, cy == y ? y - 1 : y + 32});
        }
    for (const auto& mid : {std::pair{x - 1, y + 16}, {x + 32, y + 16}, {x + 16, y - 1}, {x + 16, y + 32}})
        out.push_back(mid);
    return out;
}

TEST(Drawing, BodiesPickTheirSheetCell)
{
    resetworld();
    celltexture(4, 4, 32);
    celltexture(9, 4, 4);
    Neutral& friendly = Rig::neutral(0);
    friendly.put(5, 5, 2, 2, 0);
    Rig::frame(friendly) = 2;
    Player& p = Rig::player();
    p.setposition(400, 300);
    p.d = 3;
    Rig::frame(p) = 3;

    // A monster of the third kind: its band of the sheet starts 8 rows down.
    celltexture(TEXMONSTER, 4, 32);
    Monster& beast = Rig::monster(0);
    beast.put(8, 5, 1, 3, 1);
    Rig::frame(beast) = 1;

    clearscreen();
    drawalone(friendly);
    drawalone(beast);
    drawalone(p);
    // A friend walking left in frame 2: u 0.5 .. 0.75, v 6/32 .. 7/32.
    EXPECT_TRUE(showscell(160, 160, 2, 6));
    EXPECT_TRUE(showscell(191, 191, 2, 6));
    // The monster walking down in frame 1: u 0.25 .. 0.5, v 9/32 .. 10/32.
    EXPECT_TRUE(showscell(256, 160, 1, 9));
    EXPECT_TRUE(showscell(287, 191, 1, 9));
    // The hero facing right in frame 3: u 0.75 .. 1, v 0.75 .. 1, on his
    // 32 by 32 square exactly.
    for (const auto& in : {std::pair{416, 316}, {400, 300}, {431, 300}, {400, 331}, {431, 331}})
        EXPECT_TRUE(showscell(in.first, in.second, 3, 3)) << in.first << "," << in.second;
    for (const auto& out : besidesquare(400, 300))
        EXPECT_TRUE(colourof(readpixel(out.first, out.second), 0, 0, 0)) << out.first << "," << out.second;
}

// The health bar: 4 pixels above the body, as long as the health is high,
// red at its left end turning towards green at its right.
TEST(Drawing, HealthBarShowsHowMuchIsLeft)
{
    resetworld();
    Player& p = Rig::player();
    p.setposition(400, 300);
    p.healt = 50;
    Rig::healtfade(p) = 1;
    clearscreen();
    {
        Layer l;
        p.showfinal(l);
    }
    const Pixel left = readpixel(402, 297), right = readpixel(414, 297);
    EXPECT_TRUE(colourof(left, 252, 0, 0, 8));
    // Its last pixel, nearly the right end's half red and half green (and
    // faded by a hundredth since the hit).
    EXPECT_TRUE(colourof(right, 130, 122, 0, 0));
    for (const auto& out : {std::pair{401, 297}, {416, 297}, {408, 294}, {408, 299}})
        EXPECT_TRUE(colourof(readpixel(out.first, out.second), 0, 0, 0)) << out.first << "," << out.second;

    // At full health the right end is pure green: its last pixel, half a
    // pixel in from it, has only a trace of red.
    p.healt = 100;
    Rig::healtfade(p) = 1;
    clearscreen();
    {
        Layer l;
        p.showfinal(l);
    }
    EXPECT_TRUE(colourof(readpixel(429, 297), 5, 247, 0, 0));
}

TEST(Drawing, InvulnerableBodiesFlashEveryThirdFrame)
{
    resetworld();
    solidtexture(10, 128, 128, 255, 255, 255);
    Player& p = Rig::player();
    p.setposition(400, 300);
    Rig::invulnerability(p) = 10;
    const Pixel pink{255, 128, 255, 255}, blue{0, 77, 204, 255};
    const Pixel seen[6] = {blue, blue, pink, pink, pink, blue};
    for (int k = 0; k < 6; k++) {
        clearscreen();
        drawalone(p);
        EXPECT_TRUE(colourof(readpixel(416, 316), seen[k].r, seen[k].g, seen[k].b, 1)) << k;
    }
    // The flash covers the body's square exactly.
    for (const auto& corner : {std::pair{400, 300}, {431, 300}, {400, 331}, {431, 331}})
        EXPECT_TRUE(colourof(readpixel(corner.first, corner.second), blue.r, blue.g, blue.b, 1));
    for (const auto& outside : besidesquare(400, 300))
        EXPECT_TRUE(colourof(readpixel(outside.first, outside.second), 0, 0, 0))
            << outside.first << "," << outside.second;
}

TEST(Drawing, TheDeadHeroLeavesNothingOnScreen)
{
    resetworld();
    solidtexture(0, 32, 32, 10, 20, 30);
    solidtexture(9, 128, 128, 255, 0, 0);
    Player& p = Rig::player();
    p.setposition(400, 300);
    p.healt = 50;
    clearscreen();
    map.show();
    EXPECT_TRUE(colourof(readpixel(416, 316), 255, 0, 0));
    EXPECT_FALSE(colourof(readpixel(406, 297), 10, 20, 30, 8));   // the bar
    EXPECT_GT(p.healt, 50.0f);   // drawing the living hero heals him

    p.healt = 0;
    clearscreen();
    map.show();
    EXPECT_TRUE(colourof(readpixel(416, 316), 10, 20, 30));
    EXPECT_TRUE(colourof(readpixel(406, 297), 10, 20, 30));
    EXPECT_EQ(p.healt, 0.0f);
}

TEST(Drawing, OffScreenCharactersNeitherDrawNorFlash)
{
    resetworld();
    Neutral& far = Rig::neutral(0);
    far.put(40, 5, 1, 2, 0);   // pixel column 1280: right of the screen
    Rig::invulnerability(far) = 10;
    Monster& beast = Rig::monster(0);
    beast.put(10, 30, 1, 1, 1);   // pixel row 960: below it
    Rig::invulnerability(beast) = 10;
    NTEXTURE = -2;
    for (int i = 0; i < 5; i++) {
        drawalone(far);
        drawalone(beast);
    }
    EXPECT_EQ(NTEXTURE, -2);
    EXPECT_EQ(Rig::invcounter(far), 0);
    EXPECT_EQ(Rig::invcounter(beast), 0);

    // Brought into view they flash again; the hero is drawn wherever he is.
    Camera.set(1280 - 1023, 960 - 767);
    drawalone(far);
    drawalone(beast);
    EXPECT_EQ(Rig::invcounter(far), 1);
    EXPECT_EQ(Rig::invcounter(beast), 1);
    Player& p = Rig::player();
    p.setposition(5000, 5000);
    Rig::invulnerability(p) = 10;
    drawalone(p);
    EXPECT_EQ(Rig::invcounter(p), 1);
    EXPECT_EQ(NTEXTURE, 10);
    Camera.set(0, 0);
}

// One layer of switches serves the whole frame: Map::show and each drawing
// routine drawn alone leave texturing, the alpha test and blending off and
// the model-view at identity, and draw the same pixels either way.
TEST(Drawing, LayersLeaveEverythingOffAndDrawAsAlone)
{
    resetworld();
    celltexture(4, 4, 32);
    solidtexture(6, 32, 512, 200, 100, 50);
    solidtexture(11, 64, 16, 250, 250, 250);
    Neutral& e = placed(Rig::neutral(0), 300, 200, 1, 1);
    swinging(e, 100, 1);
    Rig::healtfade(e) = 1;
    e.healt = 50;
    putcorpse(3, 290, 190);
    const auto off = [] {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; i++)
            if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
        return !glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_ALPHA_TEST) && !glIsEnabled(GL_BLEND);
    };
    Pixel together[3], alone[3];
    const int probe[3][2] = {{316, 216}, {310, 197}, {340, 200}};   // body, bar, blade
    clearscreen();
    map.show();
    EXPECT_TRUE(off());
    for (int i = 0; i < 3; i++) together[i] = readpixel(probe[i][0], probe[i][1]);

    Rig::healtfade(e) = 1;
    clearscreen();
    Rig::showtiles();
    drawalone(Rig::corpse(0));
    drawalone(e);
    drawalone(Rig::player());
    EXPECT_TRUE(off());
    {
        Layer l;
        e.showfinal(l);
    }
    EXPECT_TRUE(off());
    for (int i = 0; i < 3; i++) {
        alone[i] = readpixel(probe[i][0], probe[i][1]);
        EXPECT_TRUE(colourof(alone[i], together[i].r, together[i].g, together[i].b)) << i;
    }
}

// A layer switches from any pen to any other: texturing, the alpha test
// (greater than 0.5) and blending (by source alpha) are then as the new pen
// wants them, whatever the pen before.
TEST(Drawing, ALayerGoesFromAnyPenToAnyOther)
{
    const Pen pens[] = {GROUND, CUTOUT, BLENDED, PLAIN};
    const bool wanted[4][3] = {{true, false, false}, {true, true, false}, {true, false, true}, {false, false, true}};
    for (int from = -1; from < 4; from++) {
        for (int to = 0; to < 4; to++) {
            Layer l;
            if (from >= 0) l.use(pens[from]);
            l.use(pens[to]);
            const bool now[3] = {glIsEnabled(GL_TEXTURE_2D) == GL_TRUE, glIsEnabled(GL_ALPHA_TEST) == GL_TRUE,
                                 glIsEnabled(GL_BLEND) == GL_TRUE};
            EXPECT_TRUE(std::equal(now, now + 3, wanted[to])) << from << " to " << to;
            GLint func = 0, src = 0, dst = 0;
            GLfloat ref = 0;
            glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
            glGetFloatv(GL_ALPHA_TEST_REF, &ref);
            glGetIntegerv(GL_BLEND_SRC, &src);
            glGetIntegerv(GL_BLEND_DST, &dst);
            EXPECT_TRUE(!wanted[to][1] || (func == GL_GREATER && ref == 0.5f)) << from << " to " << to;
            EXPECT_TRUE(!wanted[to][2] || (src == GL_SRC_ALPHA && dst == GL_ONE_MINUS_SRC_ALPHA)) << from << " to " << to;
        }
    }
}
