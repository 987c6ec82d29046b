// The hero's control: arrow keys, the sword key, the locked facing during a
// swing, and a death handled once.
#include "rig.h"

TEST(Player, ArrowKeysMoveTheTarget)
{
    resetworld();
    Player& p = Rig::player();
    key[0] = key[1] = true;
    p.input();
    EXPECT_EQ(Rig::ny(p), 288.0f);
    key[1] = false;
    key[3] = true;
    p.input();
    EXPECT_EQ(Rig::nx(p), 1476.0f);
    EXPECT_EQ(Rig::ny(p), 284.0f);

    // Held right: the body settles at 4 pixels a frame, 12 behind the target.
    key[0] = false;
    for (int i = 0; i < 80; i++) p.input();
    const float x = Rig::x(p);
    EXPECT_NEAR(Rig::nx(p) - x, 12, 0.001f);
    p.input();
    EXPECT_NEAR(Rig::x(p) - x, 4, 0.001f);
    EXPECT_EQ(p.d, 3);
}

TEST(Player, FacingStaysLockedDuringASwing)
{
    resetworld();
    Player& p = Rig::player();
    key[4] = true;
    p.input();
    EXPECT_EQ(Rig::swordd(p), 1);
    key[4] = false;
    key[2] = true;   // walk left while the sword is out
    for (int k = 1; k <= 13; k++) {
        p.input();
        EXPECT_EQ(p.d, 1) << k;
    }
    EXPECT_EQ(Rig::frame(p), 2);   // the walking frames went on
    // Frame 13 faded the sword out after its facing was chosen; the next
    // turns and can swing the new way.
    key[4] = true;
    p.input();
    EXPECT_EQ(p.d, 2);
    EXPECT_EQ(Rig::swordd(p), 2);
}

TEST(Player, DeathIsHandledOnce)
{
    resetworld();
    Player& p = Rig::player();
    // Space in every box frame: a message box shows all its lines, then closes.
    inputfeeder = [](bool boxframe) {
        if (boxframe) pushkey(SDLK_SPACE);
    };
    // The least health still lives.
    p.healt = 0.01f;
    p.input();
    EXPECT_EQ(p.healt, 0.01f);
    EXPECT_EQ(Rig::corpse(0).gettype(), 0);
    Rig::swordfade(p) = 0.5f;
    p.healt = 0;
    p.input();
    EXPECT_EQ(p.healt, -100.0f);
    EXPECT_EQ(Rig::corpse(0).gettype(), VILLAGERCORPSE);
    EXPECT_EQ(Rig::x(Rig::corpse(0)), 1472);
    EXPECT_EQ(Rig::y(Rig::corpse(0)), 288);

    key[3] = key[4] = true;
    for (int i = 0; i < 5; i++) p.input();
    EXPECT_EQ(p.healt, -100.0f);
    EXPECT_EQ(Rig::corpse(1).gettype(), 0);
    EXPECT_EQ(Rig::nx(p), 1472.0f);        // the dead do not move
    EXPECT_EQ(Rig::swordfade(p), 0.5f);    // nor swing
    inputfeeder = nullptr;
    drainevents();
}
