// What the page asks of the game and hands to it: the pictures of chosen
// frames; the touch pad's actions; the option table, to read the page's
// parameters and write its settings; where the game reads its settings and
// keeps its games; whether it waits in a pause; and once it has ended, the
// score, whether it ended by itself in the dark after the hero's death, and
// the table of the best games kept.
#include "display.h"
#include "frame.h"
#include "games.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "options.h"
#include "pause.h"
#include "recording.h"
#include "settings.h"
#include "text.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

static std::string quotedornull(const char* text)
{
    return text ? jsonstring(text) : "null";
}

// The best games kept, as the page's end panel shows them: a JSON array of
// rows in rank order, written once the game has ended and before anything
// of it is closed, for Module.ontable.
static void handtable()
{
    const std::string folder = gamesfolder();
    std::string json = "[";
    if (!folder.empty()) {
        const std::vector<Keptgame> games = keptgames(folder, false);
        const std::vector<const Keptgame*> best = bestgames(games, false);
        for (size_t i = 0; i < best.size(); i++) {
            const Keptgame& g = *best[i];
            if (i) json += ",";
            json += "{\"rank\":" + std::to_string(i + 1) + ",\"score\":" + std::to_string(keptscore(g)) +
                    ",\"name\":" + jsonstring(g.name) + ",\"date\":" + jsonstring(gamedate(g.name)) +
                    ",\"length\":" + jsonstring(gamelength(keptframes(g))) +
                    ",\"language\":" + jsonstring(g.language.empty() ? "fi" : g.language) +
                    ",\"version\":" + jsonstring(g.version) + ",\"plays\":" + (olderversion(g) ? "false" : "true") +
                    "}";
        }
    }
    json += "]";
    EM_ASM({ if (Module.ontable) Module.ontable(UTF8ToString($0)); }, json.c_str());
}

// Each checkpoint written: the page stores the game so far.
static void handsaved()
{
    EM_ASM({ if (Module.onsaved) Module.onsaved(); });
}

extern "C" {

EMSCRIPTEN_KEEPALIVE int pagescore()
{
    return score;
}

EMSCRIPTEN_KEEPALIVE int pageworldframes()
{
    return worldframes;
}

EMSCRIPTEN_KEEPALIVE int pagepausing()
{
    return pausing;
}

// An action of the touch pad, as a key bound to it would give it; a tap
// (ACTIONTAP) closes a message box.
EMSCRIPTEN_KEEPALIVE void pageaction(int action, int down)
{
    if (action < 0 || action > ACTIONTAP || action == ACTIONFULLSCREEN) return;
    pushaction((Action)action, down != 0);
}

// A JSON object of names and numbers.
static std::string numbers(std::initializer_list<std::pair<const char*, long long>> pairs)
{
    std::string json;
    for (const auto& [name, number] : pairs) json += (json.empty() ? "{" : ",") + jsonstring(name) + ":" + std::to_string(number);
    return json + "}";
}

static std::string strings(const std::vector<std::string>& list)
{
    std::string json;
    for (const std::string& text : list) json += (json.empty() ? "[" : ",") + jsonstring(text);
    return json.empty() ? "[]" : json + "]";
}

// What the page takes from the game rather than knowing it too: the option
// table (each row's name, whether it takes an argument, its settings key and
// a switch's value), the actions' numbers, the languages the game has, the
// volumes' range, the largest recording and the ways a game ends.
EMSCRIPTEN_KEEPALIVE const char* pageoptions()
{
    static std::string json;
    json = "{\"rows\":[";
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        if (i) json += ",";
        json += "{\"name\":" + jsonstring(row.name) + ",\"argument\":" + quotedornull(row.argument) +
                ",\"setting\":" + quotedornull(row.setting) + ",\"value\":" + quotedornull(row.value) + "}";
    }
    json += "],\"actions\":" + numbers({{"up", ACTIONUP}, {"down", ACTIONDOWN}, {"left", ACTIONLEFT},
                                        {"right", ACTIONRIGHT}, {"swing", ACTIONSWING}, {"pause", ACTIONPAUSE},
                                        {"tap", ACTIONTAP}}) +
            ",\"languages\":" + strings(gamelanguages()) +
            ",\"volume\":" + numbers({{"min", 0}, {"max", VOLUMEMAX}}) +
            ",\"recordingmax\":" + std::to_string(RECORDINGMAX) +
            ",\"endings\":" + numbers({{"left", ENDLEFT}, {"dark", ENDDARK}, {"played", ENDPLAYED}, {"cut", ENDCUT},
                                        {"stopped", ENDSTOPPED}, {"differs", ENDDIFFERS}}) + "}";
    return json.c_str();
}

// How the game ended, one of the endings' numbers.
EMSCRIPTEN_KEEPALIVE int pageending()
{
    return ending == ENDLEFT && darkend() ? ENDDARK : ending;
}

// The settings a settings file's text gives, as the game reads it: each key
// and its value, and the warnings its reader gives.
EMSCRIPTEN_KEEPALIVE const char* pagesettings(const char* text)
{
    static std::string json;
    std::vector<std::string> warnings;
    json = "{\"values\":{";
    for (const auto& [key, value] : settingvalues(text, warnings))
        json += (json.back() == '{' ? "" : ",") + jsonstring(key) + ":" + jsonstring(value);
    json += "},\"warnings\":" + strings(warnings) + "}";
    return json.c_str();
}

// The settings file's text with the panel's changes, settings lines too,
// taken in as the game takes them; the warnings for those it cannot.
EMSCRIPTEN_KEEPALIVE const char* pagemergesettings(const char* text, const char* changes)
{
    static std::string json;
    std::vector<std::string> warnings;
    const std::string merged = mergesettings(text, changes, warnings);
    json = "{\"text\":" + jsonstring(merged) + ",\"warnings\":" + strings(warnings) + "}";
    return json.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* pagesettingsfile()
{
    static std::string path;
    path = settingsfile();
    return path.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* pagegamesfolder()
{
    static std::string path;
    path = gamesfolder();
    return path.c_str();
}

// Before the game starts: the games stored at each checkpoint, and the
// table handed over at the end.
EMSCRIPTEN_KEEPALIVE void pageprepare()
{
    recordingsaved = handsaved;
    gameending = handtable;
}

}

// The pictures the page asks for, by their places in the input (world frame,
// and box frame after it, 0 for the world frame itself): n pairs at places.
// Each picture, width by height RGBA read from the drawing buffer bottom row
// first, goes to the page's Module.onpicture(index, pixels, width, height).
static void handpicture(size_t point, const unsigned char* rgba, int width, int height)
{
    EM_ASM({ if (Module.onpicture) Module.onpicture($0, HEAPU8.subarray($1, $1 + $2 * $3 * 4), $2, $3); },
           (int)point, rgba, width, height);
}

extern "C" EMSCRIPTEN_KEEPALIVE void pagepictures(const int* places, int n)
{
    std::vector<Picturepoint> points;
    for (int i = 0; i < n; i++) points.push_back(Picturepoint{places[2 * i], places[2 * i + 1]});
    takepictures(points, handpicture);
}
