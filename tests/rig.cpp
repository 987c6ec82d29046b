// The rig's window, scratch files and world reset.
#include "rig.h"
#include "display.h"
#include "font.h"
#include "games.h"
#include "input.h"
#include "pause.h"
#include "recording.h"
#include "textures.h"
#include "world.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

TestMap::TestMap(int w, int h) : MapData{}
{
    sizex = w, sizey = h;
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

Scopedenv::Scopedenv(const char* nname, const char* value) : name(nname)
{
    const char* was = std::getenv(nname);
    had = was != nullptr;
    if (had) old = was;
    value ? setenv(nname, value, 1) : unsetenv(nname);
}

Scopedenv::~Scopedenv()
{
    had ? setenv(name.c_str(), old.c_str(), 1) : unsetenv(name.c_str());
}

void resetworld()
{
    static const std::string path = writemap(TestMap(), "o.map");
    map.open(path.c_str());
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
    headless = false;
    beginframe(false);   // the next frame is shown, whatever a check run headless left
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

// One behaviour step of slot n, with the random sequence restarted so that
// its next draw leaves 2 of 20 (a retarget frame) or 0.
template <class T>
static void step(T& h, int& last, int n, bool retarget)
{
    unsigned s = 1;
    for (;; s++) {
        worldsrand(s);
        if (worldrand() % 20 == (retarget ? 2 : 0)) break;
    }
    worldsrand(s);
    last = n;
    h.input();
    last = -1;
}

void stepneutral(int n, bool retarget) { step(Rig::neutral(n), lastneutral, n, retarget); }
void stepmonster(int n, bool retarget) { step(Rig::monster(n), lastmonster, n, retarget); }

int parseargs(std::vector<const char*> args)
{
    args.insert(args.begin(), "kuurakarpalo");
    args.push_back(nullptr);
    return parseoptions((int)args.size() - 1, const_cast<char**>(args.data()));
}

void pushquit()
{
    SDL_Event e{SDL_QUIT};
    SDL_PushEvent(&e);
}

std::string filetext(const std::string& path)
{
    std::string text;
    return readwhole(path, 1 << 26, text) ? text : "";
}

void drainevents()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) continue;
}

bool shownpicture(std::vector<unsigned char>& rgb)
{
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer || !std::strstr(renderer, "llvmpipe")) return false;
    rgb.resize(SCREEN_WIDTH * SCREEN_HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return true;
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
