// Pictures of chosen frames, as the golden pictures and the web version take
// them: a frame at a point is drawn whole even among fast frames, and handed
// over, bottom row first, just before it is shown.
#include "rig.h"

#include <iterator>
#include <vector>

namespace {

struct Taken {
    size_t point;
    std::vector<unsigned char> rgba;
};
std::vector<Taken> taken;

void keep(size_t point, const unsigned char* rgba, int width, int height)
{
    taken.push_back(Taken{point, std::vector<unsigned char>(rgba, rgba + (size_t)width * height * 4)});
}

// Pixel (x, y) of a picture, origin at the top left.
Pixel inpicture(const Taken& t, int x, int y)
{
    const unsigned char* p = &t.rgba[((size_t)(SCREEN_HEIGHT - 1 - y) * SCREEN_WIDTH + x) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
}

// Whether the window shows what the picture holds, at its corners, its
// middle and in the panel.
::testing::AssertionResult windowshows(const Taken& t)
{
    for (const auto& at : {std::pair{0, 0}, {1023, 0}, {0, 767}, {1023, 767}, {512, 300}, {600, 700}}) {
        const Pixel p = inpicture(t, at.first, at.second);
        ::testing::AssertionResult same = colourof(windowpixel(at.first, at.second), p.r, p.g, p.b);
        if (!same) return same << " at " << at.first << "," << at.second;
    }
    return ::testing::AssertionSuccess();
}

// Whether the picture shows the solid green panel the tests load.
bool showspanel(const Taken& t)
{
    return colourof(inpicture(t, 600, 700), 0, 200, 0);
}

// Closes each box: one press of space shows it whole, the next closes it.
void answerboxes(bool boxframe)
{
    if (boxframe) pushkey(SDLK_SPACE);
}

struct Pictures : World {
    void SetUp() override
    {
        World::SetUp();
        solidtexture(TEXPANEL, 16, 16, 0, 200, 0);
        fastframes = true;
        taken.clear();
    }
};

}  // namespace

// Points count world frames from the request, and box frames from the last
// world frame's input (from the request before the first).
TEST_F(Pictures, EachPointIsTakenWholeJustBeforeItIsShown)
{
    Rig::time() = 100;   // past the opening messages
    takepictures({{2, 0}, {1, 2}, {0, 1}, {3, 1}}, keep);
    const char* const lines[8] = {"Kuva", "", "", "", "", "", "", ""};
    Box box;
    boxopen(box, lines, false, 1);
    // Each frame, a box frame or a world frame, and the point it is (-1 none).
    const struct {
        bool box;
        int point;
    } frames[] = {{true, 2},  {false, -1}, {true, -1}, {true, 1},  {false, 0},
                  {true, -1}, {false, -1}, {true, 3},  {true, -1}, {false, -1}};
    for (size_t i = 0; i < std::size(frames); i++) {
        const size_t before = taken.size();
        showred();
        if (frames[i].box)
            boxframe(box);
        else
            runframe();
        if (frames[i].point < 0) {
            EXPECT_EQ(taken.size(), before) << "frame " << i;
            continue;
        }
        ASSERT_EQ(taken.size(), before + 1) << "frame " << i;
        EXPECT_EQ(taken.back().point, (size_t)frames[i].point) << "frame " << i;
        // Shown though fast, drawn whole and the right way up.
        EXPECT_TRUE(windowshows(taken.back())) << "frame " << i;
        EXPECT_EQ(showspanel(taken.back()), frames[i].box) << "frame " << i;
    }

    // No points, no pictures.
    takepictures({}, nullptr);
    runframe();
    EXPECT_EQ(taken.size(), 4u);
}

// A world frame whose update opens boxes is drawn after them, from black:
// around a map smaller than the screen nothing of the last box is left, and
// the picture of that world frame is taken after its boxes.
TEST_F(Pictures, AFrameThatOpensBoxesIsDrawnAfterThem)
{
    loadworld(writemap(TestMap(1, 1), "1.map"));
    Rig::time() = 20;   // the two opening messages come in this frame
    inputfeeder = answerboxes;
    takepictures({{1, 0}, {1, 4}}, keep);
    runframe();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].point, 1u);
    EXPECT_TRUE(showspanel(taken[0]));
    EXPECT_EQ(taken[1].point, 0u);
    EXPECT_TRUE(windowshows(taken[1]));
    EXPECT_TRUE(colourof(inpicture(taken[1], 600, 700), 0, 0, 0));
}
