// The games the folder keeps, as playing them back found them. A score
// counts only when its recording plays back to it, so the table is made
// from the recordings themselves; the folder's index only remembers what
// playing each one back gave while the file stays the same, and is made
// again whenever it cannot be trusted. A game that once verified keeps its
// place by that check's standing when a later version of the game cannot
// play it back.
#include "digest.h"
#include "games.h"
#include "main.h"
#include "mapfile.h"
#include "options.h"
#include "recording.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

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
