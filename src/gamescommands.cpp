// What the command line asks of the kept games besides a game: --scores,
// --verify and --check, --keep, and --watch's recording found.
#include "frame.h"
#include "games.h"
#include "main.h"
#include "mapfile.h"
#include "options.h"
#include "recording.h"
#include "text.h"

#include <cinttypes>
#include <cstdio>

static int printscores()
{
    const std::string folder = gamesfolder();
    const std::vector<Keptgame> games = keptgames(folder, true);
    const std::vector<const Keptgame*> best = bestgames(games, false);
    if (best.empty()) {
        std::printf("No finished game is kept yet in %s.\n", folder.c_str());
        return 0;
    }
    std::printf("%-4s %7s  %-16s  %6s  %s\n", "Rank", "Score", "Date", "Length", "File");
    for (size_t i = 0; i < best.size(); i++) {
        const Keptgame& g = *best[i];
        std::printf("%-4d %7d  %-16s  %6s  %s/%s%s%s\n", (int)i + 1, keptscore(g), gamedate(g.name).c_str(),
                    gamelength(keptframes(g)).c_str(), folder.c_str(), g.name.c_str(),
                    fromelsewhere(g.name) ? " (played elsewhere)" : "",
                    olderversion(g) ? (" (version " + g.version + ": this version cannot play it back)").c_str() : "");
    }
    return 0;
}

// A verdict as one line of JSON, for the programs that run --check; the
// reason as a person reads it, less the game's name and the file's.
static std::string verdictjson(const Verdict& v, const std::string& label)
{
    std::string reason = v.line;
    for (const std::string& lead : {"kuurakarpalo: recording \"" + label + "\" ", std::string("kuurakarpalo: ")})
        if (reason.compare(0, lead.size(), lead) == 0) reason.erase(0, lead.size());
    static const char* const RESULTS[] = {"nomap", "interrupted", "verified", "unplayable", "", "differs"};
    const char* result = v.code == Verdict::VERIFIES && !v.finished ? "cut" : RESULTS[v.code + 2];
    char map[32], checker[32];
    std::snprintf(map, sizeof map, "%lld %08" PRIx32, v.mapsize, v.mapcrc);
    std::snprintf(checker, sizeof checker, "%ld %08" PRIx32, MAPFILESIZE, mapcrc);
    return std::string("{\"result\":\"") + result + "\",\"finished\":" + (v.finished ? "true" : "false") +
           ",\"score\":" + std::to_string(v.score) + ",\"frames\":" + std::to_string(v.frames) +
           ",\"reached\":" + std::to_string(v.reached) + ",\"language\":" +
           jsonstring(v.language.empty() ? "fi" : v.language) + ",\"version\":" + jsonstring(v.version) +
           ",\"map\":\"" + map + "\",\"checker\":{\"version\":" + jsonstring(VERSION) + ",\"map\":\"" + checker +
           "\"},\"reason\":" + jsonstring(reason) + "}\n";
}

// --verify and --check: the verdict for a person, or for a program. The
// exit code is the same: 0 a game that verifies (or plays to the last
// checkpoint of a game cut short), 3 one that differs, 1 for any other.
static int verifycommand(const char* path, bool machine)
{
    const Verdict v = verifyrecording(path);
    if (machine)
        std::fputs(verdictjson(v, path).c_str(), stdout);
    else if (v.code == Verdict::VERIFIES && v.finished)
        std::printf("kuurakarpalo: recording \"%s\" verifies: score %d in %d frames (%s of play)\n", path, v.score,
                    v.frames, gamelength(v.frames).c_str());
    else if (!v.line.empty())
        std::fprintf(stderr, "%s\n", v.line.c_str());
    return v.code < 0 ? 1 : v.code;
}

// Writes a recording's text into the games folder as a game from elsewhere,
// whole or not at all, and reads it back: its name there, or "" with why.
static std::string keeptext(const std::string& folder, const std::string& text, std::string& why)
{
    std::string name, back;
    FILE* f = nullptr;
    if (!folder.empty() && makefolder(folder, why)) f = newgamefile(folder, ELSEWHERE, name, why);
    if (!f) return "";
    std::fclose(f);
    const std::string path = folder + "/" + name;
    if (!writeatomically(path, text, why)) {
        removegame(folder, name);
        return "";
    }
    if (!readwhole(path, RECORDINGMAX, back) || back != text) {
        why = "it does not read back as written";
        removegame(folder, name);
        return "";
    }
    return name;
}

static int keepcommand()
{
    std::string text, why = "neither XDG_DATA_HOME nor HOME is set";
    if (!readrecordingfile(options.keep, text, why)) {
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\" %s\n", options.keep, why.c_str());
        return 1;
    }
    const Verdict v = verifytext(text, options.keep);
    if (v.code != Verdict::VERIFIES || !v.finished) {
        if (!v.line.empty()) std::fprintf(stderr, "%s\n", v.line.c_str());
        if (v.code == Verdict::VERIFIES)
            std::fprintf(stderr, "kuurakarpalo: recording \"%s\" is not kept: only finished games are ranked\n",
                         options.keep);
        return v.code <= 0 ? 1 : v.code;
    }
    const std::string folder = gamesfolder();
    const uint32_t crc = crc32of(0, text.data(), text.size());
    std::vector<Keptgame> games = keptgames(folder, false);
    for (const Keptgame& g : games) {
        if (g.crc != crc || g.size != (long long)text.size()) continue;
        std::printf("kuurakarpalo: recording \"%s\" is kept already, as %s/%s\n", options.keep, folder.c_str(),
                    g.name.c_str());
        return 0;
    }
    const std::string name = keeptext(folder, text, why);
    if (name.empty()) {
        std::fprintf(stderr, "kuurakarpalo: recording \"%s\" cannot be kept in %s: %s\n", options.keep,
                     folder.c_str(), why.c_str());
        return 1;
    }
    games = keptgames(folder, true);
    prunegames(folder, games);
    const std::vector<const Keptgame*> best = bestgames(games, false);
    size_t rank = 0;
    while (rank < best.size() && best[rank]->name != name) rank++;
    std::printf("kuurakarpalo: recording \"%s\" verifies: score %d, kept as %s/%s, %s\n", options.keep, v.score,
                folder.c_str(), name.c_str(),
                rank < best.size() ? ("rank " + std::to_string(rank + 1) + " of the table").c_str()
                                   : "below the table's best 10");
    return 0;
}

int gamescommand()
{
    if (options.watch) {
        const std::string folder = gamesfolder();
        const std::vector<Keptgame> games = keptgames(folder, true);
        const std::vector<const Keptgame*> best = bestgames(games, false);
        if ((size_t)options.watch > best.size()) {
            std::fprintf(stderr, "kuurakarpalo: there is no game of rank %d to watch: the table holds %d\n",
                         options.watch, (int)best.size());
            return 1;
        }
        const Keptgame& g = *best[options.watch - 1];
        if (olderversion(g)) {
            std::fprintf(stderr, "kuurakarpalo: the game of rank %d was played on version %s of the game, and this "
                         "version cannot play it back\n", options.watch, g.version.c_str());
            return 1;
        }
        static std::string path;
        path = folder + "/" + g.name;
        options.play = path.c_str();
        return -1;
    }
    if (!options.scores && !options.verify && !options.check && !options.keep) return -1;
    if (!initheadless()) return 1;
    const int code = options.scores   ? printscores()
                     : options.verify ? verifycommand(options.verify, false)
                     : options.check  ? verifycommand(options.check, true)
                                      : keepcommand();
    quitgame(code);
}
