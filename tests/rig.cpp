// The rig's window, scratch files, world reset and pixel access.
#include "rig.h"

#include <gtest/gtest.h>

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

TestMap::TestMap(int w, int h) : MapData{}
{
    sizex = w;
    sizey = h;
    for (int& l : light) l = DAYLIGHT;
}

const std::string& scratchdir()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/kXXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        dir = made;
    }
    return dir;
}

std::string writefile(const std::string& bytes, const char* filename)
{
    const std::string path = scratchdir() + "/" + filename;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

std::string writemap(const TestMap& m, const char* filename)
{
    const std::string path = scratchdir() + "/" + filename;
    std::string error;
    if (!::writemap(path.c_str(), m, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return path;
}

void clearslots()
{
    for (int n = 0; n < SLOTS; n++) {
        Rig::neutral(n) = Neutral();
        Rig::monster(n) = Monster();
        Rig::corpse(n) = Corpse();
    }
}

void loadworld(const std::string& path)
{
    map.open(path.c_str());
}

Scopedenv::Scopedenv(const char* nname, const char* value) : name(nname)
{
    const char* was = std::getenv(nname);
    had = was != nullptr;
    if (had) old = was;
    if (value)
        setenv(nname, value, 1);
    else
        unsetenv(nname);
}

Scopedenv::~Scopedenv()
{
    if (had)
        setenv(name.c_str(), old.c_str(), 1);
    else
        unsetenv(name.c_str());
}

void resetworld()
{
    static const std::string path = writemap(TestMap(), "o.map");
    loadworld(path);
    emptyworld();
    Camera.set(0, 0);
    night = 0;
    closing = 0;
    pauseasked = false;
    focuslost = 0;
    drainevents();
}

void resetoptions()
{
    options = Options{};
    options.window = true;
}

void World::SetUp()
{
    resetoptions();
    inputsource = LIVEINPUT;
    fastframes = false;
    inputfeeder = nullptr;
    resetworld();
}

void World::TearDown()
{
    closeinput();
    takepictures({}, nullptr);
    if (fullscreen) togglefullscreen();
    resizewindow(SCREEN_WIDTH, SCREEN_HEIGHT);
    SetUp();
}

void placeat(Hahmo& h, float x, float y)
{
    Rig::x(h) = Rig::nx(h) = x;
    Rig::y(h) = Rig::ny(h) = y;
}

void swinging(Weapon& w, float angle, float extension, int hit)
{
    Rig::swordhit(w) = hit;
    Rig::swordfade(w) = 1;
    Rig::sworda(w) = angle;
    Rig::swordb(w) = extension;
}

// Restarts the random sequence so that its next draw leaves 2 of 20 (a
// retarget frame) or 0.
static void seednext(bool retarget)
{
    for (unsigned s = 1;; s++) {
        worldsrand(s);
        if (worldrand() % 20 == (retarget ? 2 : 0)) return worldsrand(s);
    }
}

void stepneutral(int n, bool retarget)
{
    seednext(retarget);
    lastneutral = n;
    Rig::neutral(n).input();
    lastneutral = -1;
}

void stepmonster(int n, bool retarget)
{
    seednext(retarget);
    lastmonster = n;
    Rig::monster(n).input();
    lastmonster = -1;
}

void pushquit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void drainevents()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) continue;
}

Pixel readpixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glFinish();
    glReadBuffer(GL_BACK);
    glReadPixels(x, SCREEN_HEIGHT - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Pixel{p[0], p[1], p[2], p[3]};
}

Pixel windowpixel(int x, int y)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) return Pixel{-1, -1, -1, -1};
    glFinish();
    info.info.x11.lock_func();
    Display* display = info.info.x11.display;
    XSync(display, False);
    XImage* image = XGetImage(display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
    Pixel p{-1, -1, -1, -1};
    if (image) {
        const unsigned long v = XGetPixel(image, 0, 0);
        p = Pixel{(int)(v >> 16 & 255), (int)(v >> 8 & 255), (int)(v & 255), 255};
        XDestroyImage(image);
    }
    info.info.x11.unlock_func();
    return p;
}

void showred()
{
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0, 0, 1);
    glRecti(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    SDL_GL_SwapBuffers();
    glRecti(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

// Clears to the colour the game's start-up set, as its frames do.
void clearscreen()
{
    glClear(GL_COLOR_BUFFER_BIT);
}

void drawslot(int n, int x0, int y0, int x1, int y1)
{
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    bindtexture(n);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2i(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2i(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2i(x0, y1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

std::string tgafile(int width, int height, int bpp, const std::string& pixels,
                    unsigned char imagetype, unsigned char idlength)
{
    // The game's own header, with the foreign forms' fields changed.
    const std::vector<unsigned char> bytes = tgabytes(width, height, bpp, 0, nullptr, 0);
    std::string header(bytes.begin(), bytes.end());
    header[0] = (char)idlength;
    header[2] = (char)imagetype;
    return header + std::string(idlength, 'i') + pixels;
}

// Loads w by h 32-bit pixels (BGRA) into slot n.
static void loadslot(int n, int w, int h, const std::string& pixels)
{
    const std::string path = writefile(tgafile(w, h, 32, pixels), "slot.tga");
    textures[n] = TextureImage{};
    LoadTGA(&textures[n], path.c_str());
}

void solidtexture(int n, int w, int h, unsigned char r, unsigned char g, unsigned char b,
                  unsigned char a)
{
    std::string pixels;
    for (int i = 0; i < w * h; i++) pixels += {(char)b, (char)g, (char)r, (char)a};
    loadslot(n, w, h, pixels);
}

// One window with a real OpenGL context for the whole run, opened by the
// game's own start-up but not full screen, with audio on SDL's dummy driver
// when none is set.
class GameWindow : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        resetoptions();
        if (!init()) std::abort();
        BuildFont();
    }
};

static ::testing::Environment* const window = ::testing::AddGlobalTestEnvironment(new GameWindow);

Pixel cellcolor(int c, int r)
{
    return Pixel{10 + 15 * c, 10 + 7 * r, 200, 255};
}

void celltexture(int n, int columns, int rows, int cellw, int cellh)
{
    std::string pixels;
    for (int py = 0; py < rows * cellh; py++) {
        for (int px = 0; px < columns * cellw; px++) {
            const Pixel p = cellcolor(px / cellw, py / cellh);
            pixels += {(char)p.b, (char)p.g, (char)p.r, (char)p.a};
        }
    }
    loadslot(n, columns * cellw, rows * cellh, pixels);
}

::testing::AssertionResult colourof(const Pixel& p, int r, int g, int b, int tolerance)
{
    if (std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
        std::abs(p.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel is (" << p.r << ", " << p.g << ", " << p.b
                                         << "), expected (" << r << ", " << g << ", " << b
                                         << ") within " << tolerance;
}

::testing::AssertionResult showscell(int x, int y, int c, int r)
{
    const Pixel e = cellcolor(c, r);
    return colourof(readpixel(x, y), e.r, e.g, e.b);
}
