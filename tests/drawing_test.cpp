// Characters on screen: which sprite-sheet cell a body shows, the flashing
// overlay, the dead hero, and characters off screen.
#include "rig.h"

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

    clearscreen();
    friendly.show();
    p.show();
    // A friend walking left in frame 2: u 0.5 .. 0.75, v 6/32 .. 7/32.
    EXPECT_TRUE(showscell(160, 160, 2, 6));
    EXPECT_TRUE(showscell(191, 191, 2, 6));
    // The hero facing right in frame 3: u 0.75 .. 1, v 0.75 .. 1.
    EXPECT_TRUE(showscell(416, 316, 3, 3));
    EXPECT_TRUE(colourof(readpixel(432, 316), 0, 0, 0));
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
        p.show();
        EXPECT_TRUE(colourof(readpixel(416, 316), seen[k].r, seen[k].g, seen[k].b, 1)) << k;
    }
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
        far.show();
        beast.show();
    }
    EXPECT_EQ(NTEXTURE, -2);
    EXPECT_EQ(Rig::invcounter(far), 0);
    EXPECT_EQ(Rig::invcounter(beast), 0);

    // Brought into view they flash again; the hero is drawn wherever he is.
    Camera.set(1280 - 1023, 960 - 767);
    far.show();
    beast.show();
    EXPECT_EQ(Rig::invcounter(far), 1);
    EXPECT_EQ(Rig::invcounter(beast), 1);
    Player& p = Rig::player();
    p.setposition(5000, 5000);
    Rig::invulnerability(p) = 10;
    p.show();
    EXPECT_EQ(Rig::invcounter(p), 1);
    EXPECT_EQ(NTEXTURE, 10);
    Camera.set(0, 0);
}
