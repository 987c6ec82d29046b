// The golden pictures: chosen frames of the golden recordings compared with
// the PNG files beside tests/golden/pictures.list (its header tells a line).
//   goldenpictures [--into DIR] LIST [NAME...]   compare; mismatches go to DIR
//   goldenpictures --remake LIST [NAME...]       write changed pictures anew
// Each recording plays in a process of its own. Exit code 0 all match, 1 one
// differs or cannot be taken, 2 a wrong command line, 3 a recording differs.
#include "imagefile.h"
#include "datadir.h"
#include "display.h"
#include "font.h"
#include "frame.h"
#include "input.h"
#include "main.h"
#include "mapfile.h"
#include "messagebox.h"
#include "options.h"
#include "recording.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// On llvmpipe, the reference renderer, pictures must match exactly. Another
// may round a colour or shift a rotated quad's edge: there a picture fails
// past CHANGEDMAX pixels more than CHANNELSLACK off (a wrong texture or a
// mirrored sprite changes hundreds).
int CHANNELSLACK = 4;    // levels of 255
int CHANGEDMAX = 40;     // pixels of 786,432

// One line of the list.
struct Shot {
    std::string name;        // NAME.png beside the list
    std::string recording;   // RECORDING.rec beside the list
    int world = 0, box = 0;
    bool question = false;   // box counts the frames of the question box opened after world frame world
};

// The box of three options that question shots open over the frozen world;
// the down arrow is pressed before its first frame.
const char* const QUESTIONLINES[8] = {"Portilla kolkutetaan.", "", "Mit{ teet?", "", "", "Avaan", "Ajan pois",
                                      "Kutsun muut"};

std::string folder;          // where the list lies, absolute
std::string into;            // where mismatches are written, absolute
bool remake;

// Reads the list; false after one line on stderr naming what is wrong.
bool readlist(const std::string& path, std::vector<Shot>& shots)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "goldenpictures: cannot read the list \"%s\": %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        std::istringstream words(line);
        std::string box, what;
        Shot s;
        if (!(words >> s.name) || s.name[0] == '#') continue;
        words >> s.recording >> s.world >> box >> what;   // what stays empty if a number is not one
        s.question = box.rfind("question:", 0) == 0;
        s.box = std::atoi(box.c_str() + (s.question ? 9 : 0));
        bool ok = !what.empty() && s.world >= 0 && (s.box > 0 || (s.world > 0 && !s.question));
        for (const Shot& other : shots) ok = ok && other.name != s.name;
        if (!ok) {
            std::fprintf(stderr, "goldenpictures: %s:%d: not NAME RECORDING WORLD BOX WHAT, or a name taken twice\n",
                         path.c_str(), number);
            return false;
        }
        shots.push_back(s);
    }
    return true;
}

// What the frames at the points look like, top row first; empty until taken.
std::vector<Image> pictures;

void keep(size_t point, const unsigned char* rgba, int width, int height)
{
    Image& p = pictures[point] = Image(width, height);
    for (int y = 0; y < height; y++) {
        const unsigned char* row = rgba + (size_t)(height - 1 - y) * width * 4;
        std::copy(row, row + (size_t)width * 4, p.at(0, y));
        for (int x = 0; x < width; x++) p.at(x, y)[3] = 255;
    }
}

bool alltaken()
{
    return std::none_of(pictures.begin(), pictures.end(), [](const Image& p) { return p.rgba.empty(); });
}

// How far two pictures of the same size are apart.
struct Difference {
    int changed = 0;   // pixels with a channel more than CHANNELSLACK off
    int largest = 0;   // levels
    int x = 0, y = 0;  // where the largest is
};

// Also draws the difference into picture.
Difference compare(const Image& a, const Image& b, Image& picture)
{
    Difference d;
    picture = Image(a.width, a.height);
    for (int y = 0; y < a.height; y++) {
        for (int x = 0; x < a.width; x++) {
            int most = 0;
            for (int c = 0; c < 3; c++) most = std::max(most, std::abs(a.at(x, y)[c] - b.at(x, y)[c]));
            if (most > d.largest) d = Difference{d.changed, most, x, y};
            if (most > CHANNELSLACK) d.changed++;
            // The expected picture in dim grey; changed pixels red, within the slack blue.
            uint8_t* out = picture.at(x, y);
            const uint8_t grey = uint8_t((b.at(x, y)[0] + b.at(x, y)[1] + b.at(x, y)[2]) / 9);
            out[0] = most > CHANNELSLACK ? 255 : grey;
            out[1] = grey;
            out[2] = most > 0 && most <= CHANNELSLACK ? 255 : grey;
            out[3] = 255;
        }
    }
    return d;
}

// Compares, or with --remake writes, one picture; false when it fails.
bool judge(const Shot& s, const Image& actual)
{
    const std::string stored = folder + "/" + s.name + ".png";
    Image expected;
    std::string error;
    const bool have = readpng(stored, expected, &error) && expected.width == actual.width &&
                      expected.height == actual.height;
    if (remake) {
        if (have && expected.rgba == actual.rgba) return true;
        if (!writepng(stored, actual, &error, false)) {
            std::fprintf(stderr, "goldenpictures: %s\n", error.c_str());
            return false;
        }
        std::printf("remade: %s\n", stored.c_str());
        return true;
    }
    if (!have) {
        std::fprintf(stderr, "FAIL: %s: %s (goldenpictures --remake makes it)\n", s.name.c_str(),
                     error.empty() ? "the stored picture is not 1024x768" : error.c_str());
        return false;
    }
    Image picture;
    const Difference d = compare(actual, expected, picture);
    if (d.changed <= CHANGEDMAX) {
        std::printf("ok: %s (%d pixels more than %d levels off, the most %d)\n", s.name.c_str(), d.changed,
                    CHANNELSLACK, d.largest);
        return true;
    }
    const std::string base = into + "/" + s.name;
    mkdir(into.c_str(), 0777);
    const bool written = writepng(base + ".actual.png", actual, &error, false) &&
                         writepng(base + ".diff.png", picture, &error, false);
    std::fprintf(stderr,
                 "FAIL: %s: %d pixels more than %d levels off (at most %d may be), the most %d at (%d, %d); "
                 "%s\n",
                 s.name.c_str(), d.changed, CHANNELSLACK, CHANGEDMAX, d.largest, d.x, d.y,
                 written ? ("see " + base + ".actual.png and " + base + ".diff.png").c_str() : error.c_str());
    return false;
}

// Plays one recording and judges its shots: all its plain ones, or a single
// question shot. Runs in a process of its own and ends it.
[[noreturn]] void play(const std::vector<Shot>& shots)
{
    const std::string path = folder + "/" + shots[0].recording + ".rec";
    const char* args[] = {"goldenpictures", "--window", "--no-sound", "--play", path.c_str(), "--fast", nullptr};
    if (parseoptions(6, const_cast<char**>(args)) >= 0) std::exit(2);
    if (!enterdatadir(nullptr)) std::exit(1);
    map.open(MAPFILE);
    if (!openinput()) std::exit(1);
    const bool question = shots[0].question;
    std::vector<Picturepoint> points;
    // A question shot's frame counts from the box's opening.
    for (const Shot& s : shots) points.push_back(Picturepoint{question ? 0 : s.world, s.box});
    pictures.assign(shots.size(), Image());
    if (!question) takepictures(points, keep);
    if (!init()) quitgame(1);
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer && std::strstr(renderer, "llvmpipe")) CHANNELSLACK = CHANGEDMAX = 0;
    startup();

    bool quit = false;
    for (int frame = 0; !quit && (question ? frame < shots[0].world : !alltaken()); frame++) quit = runframe();
    if (question && !quit) {
        // Out of the recording: the box is played live, its keys pushed.
        if (closeinput() == 3) quitgame(3);
        fastframes = true;
        takepictures(points, keep);
        Box box;
        boxopen(box, QUESTIONLINES, true, 3);
        pushkey(SDLK_DOWN);
        while (!alltaken()) boxframe(box);
    }

    // A recording that no longer matches ends the run with its own code.
    if (closeinput() == 3) quitgame(3);
    bool good = true;
    for (size_t i = 0; i < shots.size(); i++) {
        if (pictures[i].rgba.empty())
            std::fprintf(stderr, "FAIL: %s: %s.rec never comes to world frame %d, box frame %d\n",
                         shots[i].name.c_str(), shots[i].recording.c_str(), shots[i].world, shots[i].box);
        good = !pictures[i].rgba.empty() && judge(shots[i], pictures[i]) && good;
    }
    takepictures({}, nullptr);
    quitgame(good ? 0 : 1);
}

// Runs play in a child process; its exit code.
int inchild(const std::vector<Shot>& shots)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) play(shots);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        std::fprintf(stderr, "goldenpictures: playing %s.rec failed to start or ended abnormally\n",
                     shots[0].recording.c_str());
        return 1;
    }
    return WEXITSTATUS(status);
}

std::string absolute(const char* path)
{
    char full[PATH_MAX];
    return realpath(path, full) ? full : "";
}

int usage()
{
    std::fprintf(stderr, "usage: goldenpictures [--remake] [--into DIR] LIST [NAME...]\n");
    return 2;
}

}   // namespace

int main(int argc, char* argv[])
{
    into = ".";
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; first++) {
        if (std::strcmp(argv[first], "--remake") == 0)
            remake = true;
        else if (std::strcmp(argv[first], "--into") == 0 && first + 1 < argc)
            into = argv[++first];
        else
            return usage();
    }
    if (first >= argc) return usage();
    // Children enter the data folder, so every path they get is absolute.
    if (into[0] != '/') into = absolute(".") + "/" + into;
    const std::string list = absolute(argv[first]);
    folder = list.substr(0, list.rfind('/'));
    std::vector<Shot> shots;
    if (!readlist(list.empty() ? argv[first] : list, shots)) return 1;
    const std::vector<std::string> wanted(argv + first + 1, argv + argc);
    for (const std::string& name : wanted) {
        if (std::none_of(shots.begin(), shots.end(), [&](const Shot& s) { return s.name == name; })) {
            std::fprintf(stderr, "goldenpictures: the list names no picture %s\n", name.c_str());
            return 2;
        }
    }

    // One process a recording's plain shots, and one a question shot.
    std::vector<std::vector<Shot>> runs;
    for (const Shot& s : shots) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), s.name) == wanted.end()) continue;
        auto run = std::find_if(runs.begin(), runs.end(), [&](const std::vector<Shot>& r) {
            return !s.question && !r[0].question && r[0].recording == s.recording;
        });
        (run == runs.end() ? runs.emplace_back() : *run).push_back(s);
    }
    int worst = 0;
    for (const std::vector<Shot>& run : runs) {
        const int code = inchild(run);
        if (code == 3 || worst == 0) worst = code;
    }
    return worst == 0 || worst == 3 ? worst : 1;
}
