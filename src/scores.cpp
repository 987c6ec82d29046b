// Games that are kept: every game recorded into the games folder, and the
// table of the best of them. A score counts only when its recording plays
// back to it, so the table is made from the recordings themselves; the
// folder's index only remembers what playing each one back gave while the
// file stays the same, and is made again whenever it cannot be trusted. A
// game that once verified keeps its place by that check's standing when a
// later version of the game cannot play it back.
#include "main.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

// ---------------------------------------------------------------------------
// Checking a recording by playing it back
// ---------------------------------------------------------------------------

Verdict verifytext(const std::string& text, const std::string& label)
{
    Verdict v{Verdict::UNPLAYABLE, false, 0, 0, 0, "", "", "", 0, 0};
    Recording r;
    std::string why;
    if (!parserecording(text.data(), text.size(), r, why)) {
        v.line = "kuurakarpalo: recording \"" + label + "\" " + why;
        return v;
    }
    v.language = r.language;
    v.version = r.game;
    v.mapsize = r.mapsize;
    v.mapcrc = r.mapcrc;
    const std::string language = gamelanguage;
    // Nothing of the check is heard: a game played back keeps its sounds.
    Mix_Chunk* const hit = hit1;
    Mix_Music* const track = music;
    hit1 = nullptr;
    music = nullptr;
    headless = true;
    fastframes = true;
    if (const char* problem = newworld()) {
        v.code = Verdict::NOMAP;
        v.line = std::string("kuurakarpalo: map file \"") + MAPFILE + "\" " + problem;
    } else {
        worldframes = 0;
        std::string unchecked;
        if (startplayback(text, label, v.line, unchecked)) {
            bool quit = false;
            if (playbackresult().frames > 0)
                while (!quit) quit = runframe();
            const Played p = playbackresult();
            v.score = score;
            v.frames = p.frames;
            v.reached = worldframes;
            v.finished = !p.cut;
            if (!p.difference.empty()) {
                v.code = Verdict::DIFFERS;
                v.line = p.difference;
                if (p.closedbydifference) closing = 0;
            } else if (!p.ended && p.frames > 0) {
                v.code = Verdict::INTERRUPTED;
                v.line = "kuurakarpalo: the check of recording \"" + label + "\" was interrupted at frame " +
                         std::to_string(worldframes) + " of " + std::to_string(p.frames) + ": it is not verified";
            } else {
                v.code = Verdict::VERIFIES;
                v.line = p.cutline;
            }
            stopplayback();
        }
    }
    headless = false;
    fastframes = false;
    hit1 = hit;
    music = track;
    setlanguage(language);
    return v;
}

Verdict verifyrecording(const char* path)
{
    std::string text, why;
    if (readrecordingfile(path, text, why)) return verifytext(text, path);
    Verdict v{Verdict::UNPLAYABLE, false, 0, 0, 0, "", "", "", 0, 0};
    v.line = std::string("kuurakarpalo: recording \"") + path + "\" " + why;
    return v;
}

// ---------------------------------------------------------------------------
// The index and the table
// ---------------------------------------------------------------------------

// What a recording holds as read, not yet played: a cut one needs no more;
// a finished one is unchecked until played back, its recorded score
// standing for it meanwhile.
static Keptgame readgame(const Gamefile& file, const std::string& text)
{
    Keptgame g{file.name, file.size, crc32of(0, text.data(), text.size()), Keptgame::REFUSED, 0, 0, "", "", {}};
    Recording r;
    std::string error;
    if (!parserecording(text.data(), text.size(), r, error)) return g;
    g.state = r.cut ? Keptgame::CUT : Keptgame::UNCHECKED;
    g.frames = r.frames;
    g.language = r.language;
    g.version = r.game;
    const std::vector<int> places = digestplaces(r.names);
    if (!r.checkpoints.empty() && places[0] >= 0) g.score = (int)r.checkpoints.back().value[places[0]];
    return g;
}

static bool samestanding(const Standing& a, const Standing& b)
{
    return a.known == b.known && a.game == b.game && a.mapsize == b.mapsize && a.mapcrc == b.mapcrc &&
           a.score == b.score && a.frames == b.frames;
}

// The standing kept beside a game's recording, if any speaks for its bytes.
static Standing standingof(const std::string& folder, const Keptgame& g)
{
    Standing s{};
    std::string text;
    if (!readwhole(folder + "/" + standingname(g.name), 4096, text) || !parsestanding(text, g, s)) s = Standing{};
    return s;
}

std::vector<Keptgame> keptgames(const std::string& folder, bool check)
{
    std::vector<Keptgame> games;
    Gamesindex index{};
    std::string text;
    const std::string indexpath = folder + "/" + GAMESINDEX;
    if (readwhole(indexpath, RECORDINGMAX, text) && !parseindex(text, index)) {
        if (check)
            std::fprintf(stderr, "kuurakarpalo: the index of the kept games in %s is damaged: every game is "
                         "checked again\n", folder.c_str());
        index = Gamesindex{};
    }
    // The rows of another game or map say what each game holds and where it
    // stood, not how this game plays it.
    const bool current = index.game == VERSION && index.mapsize == MAPFILESIZE && index.mapcrc == mapcrc;
    bool changed = false, checking = check;
    for (const Gamefile& file : listgames(folder)) {
        if (!readwhole(folder + "/" + file.name, RECORDINGMAX, text)) continue;
        Keptgame g = readgame(file, text);
        const auto row = index.rows.find(g.name);
        const bool same = row != index.rows.end() && row->second.size == g.size && row->second.crc == g.crc;
        if (same && current) {
            g = row->second;
        } else {
            g.standing = same ? row->second.standing : standingof(folder, g);
            changed = changed || g.state != Keptgame::UNCHECKED;
            if (g.state == Keptgame::UNCHECKED && checking) {
                const Verdict v = verifytext(text, folder + "/" + g.name);
                // A close ends the checks; a map that cannot be read costs them.
                checking = v.code >= 0;
                if (v.code == Verdict::NOMAP)
                    std::fprintf(stderr, "%s: the kept games are not checked\n", v.line.c_str());
                if (checking) {
                    g.state = v.code != Verdict::VERIFIES ? Keptgame::REFUSED
                              : v.finished                ? Keptgame::FINISHED
                                                          : Keptgame::CUT;
                    g.score = v.score;
                    changed = true;
                    if (g.state == Keptgame::REFUSED && g.standing.known)
                        std::fprintf(stderr, "kuurakarpalo: the kept game \"%s/%s\" was verified by version %s of "
                                     "the game, and this version cannot play it back: it keeps its place\n",
                                     folder.c_str(), g.name.c_str(), g.standing.game.c_str());
                }
            }
        }
        if (g.state == Keptgame::FINISHED) g.standing = Standing{true, VERSION, MAPFILESIZE, mapcrc, g.score, g.frames};
        if (check && g.state == Keptgame::REFUSED && !g.standing.known)
            std::fprintf(stderr, "kuurakarpalo: the kept game \"%s/%s\" does not play back as recorded "
                         "(--verify tells why): it is not ranked\n", folder.c_str(), g.name.c_str());
        games.push_back(g);
    }
    std::string why;
    if (changed || index.rows.size() != games.size())
        writeatomically(indexpath, indextext(VERSION, MAPFILESIZE, mapcrc, games), why);
    // Each standing also lies beside its game, where it outlives the index.
    for (const Keptgame& g : games)
        if (g.standing.known && !samestanding(standingof(folder, g), g.standing))
            writeatomically(folder + "/" + standingname(g.name), standingtext(g), why);
    return games;
}

bool olderversion(const Keptgame& g)
{
    return g.standing.known && g.state != Keptgame::FINISHED && g.state != Keptgame::UNCHECKED;
}

int keptscore(const Keptgame& g)
{
    return g.state == Keptgame::FINISHED || !g.standing.known ? g.score : g.standing.score;
}

int keptframes(const Keptgame& g)
{
    return g.state == Keptgame::FINISHED || !g.standing.known ? g.frames : g.standing.frames;
}

std::vector<const Keptgame*> bestgames(const std::vector<Keptgame>& games, bool unchecked)
{
    std::vector<const Keptgame*> best;
    for (const Keptgame& g : games)
        if (g.state == Keptgame::FINISHED || g.standing.known || (unchecked && g.state == Keptgame::UNCHECKED))
            best.push_back(&g);
    // The higher score first, and of two alike the game played first.
    std::stable_sort(best.begin(), best.end(),
                     [](const Keptgame* a, const Keptgame* b) { return keptscore(*a) > keptscore(*b); });
    if (best.size() > (size_t)BESTGAMES) best.resize(BESTGAMES);
    return best;
}

void prunegames(const std::string& folder, std::vector<Keptgame>& games)
{
    // A game not yet checked may be among the best: it is kept as one.
    const std::vector<const Keptgame*> best = bestgames(games, true);
    std::vector<std::string> kept;
    for (const Keptgame* g : best) kept.push_back(g->name);
    const auto isbest = [&](const Keptgame& g) { return std::find(kept.begin(), kept.end(), g.name) != kept.end(); };
    long long bytes = 0;
    std::vector<bool> gone(games.size(), false);
    for (size_t i = 0; i < games.size(); i++) {
        const bool newest = i + LASTGAMES >= games.size();
        gone[i] = !isbest(games[i]) && !newest;
        if (!gone[i]) bytes += games[i].size;
    }
    for (size_t i = 0; i < games.size() && bytes > GAMESBYTES; i++) {
        if (gone[i] || isbest(games[i])) continue;
        gone[i] = true;
        bytes -= games[i].size;
    }
    std::vector<Keptgame> left;
    for (size_t i = 0; i < games.size(); i++)
        if (!gone[i] || !removegame(folder, games[i].name)) left.push_back(games[i]);
    games = left;
}

std::string gamedate(const std::string& name)
{
    // 2026-12-07_23-15-57...
    if (name.size() < 19 || name[10] != '_' || name[4] != '-' || name[13] != '-') return "";
    return name.substr(0, 10) + " " + name.substr(11, 2) + ":" + name.substr(14, 2);
}

std::string gamelength(int frames)
{
    const int seconds = frames / FRAMES_PER_SECOND;
    char text[24];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

static bool fromelsewhere(const std::string& name)
{
    return name.find(ELSEWHERE) != std::string::npos;
}

// ---------------------------------------------------------------------------
// Keeping a game, and the end of one
// ---------------------------------------------------------------------------

static std::string keptname;   // the game being kept, in the games folder

void keepgame()
{
    keptname.clear();
    if (!options.keepgames || inputsource != LIVEINPUT) return;
    const std::string folder = gamesfolder();
    std::string why = "neither XDG_DATA_HOME nor HOME is set", name;
    FILE* f = nullptr;
    if (!folder.empty() && makefolder(folder, why)) f = newgamefile(folder, "", name, why);
    if (!f) {
        std::fprintf(stderr, "kuurakarpalo: games are not kept: cannot write in %s: %s\n",
                     folder.empty() ? "the games folder" : folder.c_str(), why.c_str());
        return;
    }
    if (!startrecording(f, (folder + "/" + name).c_str(), true)) {
        std::fprintf(stderr, "kuurakarpalo: games are not kept: cannot write in %s\n", folder.c_str());
        return;
    }
    keptname = name;
    // The folder is tidied as a game starts, without playing anything back.
    std::vector<Keptgame> games = keptgames(folder, false);
    prunegames(folder, games);
}

// The table of the best over the kept picture, the row of the game just
// played marked, in the game's font.
static void drawtable(const std::vector<const Keptgame*>& best, const std::string& mine)
{
    showkept();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    glColor4f(0, 0, 0, 0.6f);
    glBegin(GL_QUADS);
    glVertex2i(192, 160);
    glVertex2i(832, 160);
    glVertex2i(832, 560);
    glVertex2i(192, 560);
    glEnd();
    glDisable(GL_BLEND);
    glPrint(232, 190, _("Parhaat pelit"), 0, 0);
    glPrint(272, 240, _("Pisteet"), 0, 0);
    glPrint(392, 240, _("P{iv{"), 0, 0);
    glPrint(592, 240, _("Kesto"), 0, 0);
    for (size_t i = 0; i < best.size(); i++) {
        const Keptgame& g = *best[i];
        const int y = 270 + 22 * (int)i, red = g.name == mine;
        char rank[16];
        std::snprintf(rank, sizeof rank, "%d.", (int)i + 1);
        glPrint(232, y, rank, 0, red);
        glPrint(272, y, std::to_string(keptscore(g)).c_str(), 0, red);
        glPrint(392, y, gamedate(g.name).c_str(), 0, red);
        glPrint(592, y, gamelength(keptframes(g)).c_str(), 0, red);
        if (olderversion(g))
            glPrint(672, y, ("v" + g.version).substr(0, 10).c_str(), 0, red);
        else if (fromelsewhere(g.name))
            glPrint(672, y, _("muualta"), 0, red);
    }
    glPrint(232, 520, _("Paina n{pp{int{"), 0, 0);
    swapframe();
}

int finishgame()
{
    const bool live = inputsource != PLAYINPUT && !inputfeeder && !closing;
    const std::string mine = keptname;
    keptname.clear();
    const int code = closeinput();
    if (!live || !darkend()) return code;
    const std::string folder = gamesfolder();
    std::vector<Keptgame> games = keptgames(folder, true);
    if (!mine.empty()) prunegames(folder, games);
    const std::vector<const Keptgame*> best = bestgames(games, false);
    // A close during the check ends the game there, as anywhere.
    for (int frame = 0; !closing && !anykey(); frame++) {
        // Drawn again now and then, for a window uncovered or resized.
        if (frame % 10 == 0) drawtable(best, mine);
        rest();
    }
    dropkept();
    return code;
}

// ---------------------------------------------------------------------------
// The command line's requests
// ---------------------------------------------------------------------------

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

std::string jsonstring(const std::string& text)
{
    std::string out = "\"";
    const char* p = text.c_str();
    const char* const end = p + text.size();
    while (p < end) {
        const char* const from = p;
        const unsigned c = *p ? nextchar(p) : (p++, 0u);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += (char)c;
        } else if (c < 0x20 || (c == UNREADABLE && p - from == 1)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.append(from, p);
        }
    }
    return out + "\"";
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
