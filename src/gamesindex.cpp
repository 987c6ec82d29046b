// What the games folder remembers of its recordings besides the recordings
// themselves: the index, a cache of what playing each one back gave, and
// beside each game that ever verified, its standing, which outlives the
// index and the version of the game that checked it.
//
//   kuurakarpalo games 2
//   game 1.0                       the game that checked the recordings
//   map 792032 1a2b3c4d            on this map file
//   NAME SIZE CRC STATE SCORE FRAMES LANGUAGE VERSION [verified GAME MAPSIZE MAPCRC SCORE FRAMES]
//                                  STATE finished, cut or refused, as that
//                                  game found it; LANGUAGE - for Finnish;
//                                  NAME with %, spaces and control
//                                  characters as %XX; after "verified",
//                                  the last check that found it finished
//
//   NAME.verified, beside NAME.rec:
//   kuurakarpalo verified 1
//   size 32755                     the recording's bytes it speaks for
//   crc 1a2b3c4d
//   score 20                       the score and length that check found
//   frames 1510
//   game 1.0                       the game and map that checked it
//   map 792032 1cedfc6f
//
// An index of the first form (without "verified") gives its finished games
// the standing of the game and map in its header.
#include "games.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

static const char* const STATES[] = {"finished", "cut", "refused"};
static const char* const INDEXMAGIC = "kuurakarpalo games";
static const char* const STANDINGMAGIC = "kuurakarpalo verified 1";
static const int INDEXVERSION = 2;

std::string escapename(const std::string& name)
{
    std::string out;
    for (unsigned char c : name) {
        if (c > ' ' && c != '%' && c != 0x7f) {
            out += (char)c;
            continue;
        }
        char code[4];
        std::snprintf(code, sizeof code, "%%%02X", c);
        out += code;
    }
    return out;
}

bool unescapename(const std::string& text, std::string& name)
{
    name.clear();
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit((unsigned char)text[i + 1]) ||
            !std::isxdigit((unsigned char)text[i + 2]))
            return false;
        name += (char)std::strtoul(text.substr(i + 1, 2).c_str(), nullptr, 16);
        i += 2;
    }
    return !name.empty() && name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

// A word of eight lower-case hexadecimal digits.
static bool crcword(const std::string& w, uint32_t& crc)
{
    if (w.size() != 8 || w.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
    crc = (uint32_t)std::strtoul(w.c_str(), nullptr, 16);
    return true;
}

static std::string crctext(uint32_t crc)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08" PRIx32, crc);
    return text;
}

// A version as the games write theirs: a word of at most 40 characters.
static bool versionword(const std::string& w)
{
    return !w.empty() && w.size() <= 40;
}

std::string indextext(const std::string& game, long long mapsize, uint32_t mapcrc,
                      const std::vector<Keptgame>& games)
{
    std::string out = std::string(INDEXMAGIC) + " " + std::to_string(INDEXVERSION) + "\ngame " + game + "\nmap " +
                      std::to_string(mapsize) + " " + crctext(mapcrc) + "\n";
    for (const Keptgame& g : games) {
        if (g.state == Keptgame::UNCHECKED) continue;
        out += escapename(g.name) + " " + std::to_string(g.size) + " " + crctext(g.crc) + " " + STATES[g.state] +
               " " + std::to_string(g.score) + " " + std::to_string(g.frames) + " " +
               (g.language.empty() ? "-" : g.language) + " " + g.version;
        const Standing& s = g.standing;
        if (s.known)
            out += " verified " + s.game + " " + std::to_string(s.mapsize) + " " + crctext(s.mapcrc) + " " +
                   std::to_string(s.score) + " " + std::to_string(s.frames);
        out += "\n";
    }
    return out;
}

// One row of the index; false for anything but a row the writer gives.
static bool readrow(const std::string& line, Keptgame& g)
{
    std::istringstream words(line);
    std::string name, crc, state, language, verified, scrc, more;
    g = Keptgame{};
    if (!(words >> name >> g.size >> crc >> state >> g.score >> g.frames >> language >> g.version) ||
        !unescapename(name, g.name) || !crcword(crc, g.crc) || g.size < 0 || g.frames < 0 ||
        !versionword(g.version))
        return false;
    const auto s = std::find(std::begin(STATES), std::end(STATES), state);
    if (s == std::end(STATES)) return false;
    g.state = (Keptgame::State)(s - std::begin(STATES));
    g.language = language == "-" ? "" : language;
    if (!(words >> verified)) return true;
    Standing& st = g.standing;
    if (verified != "verified" || !(words >> st.game >> st.mapsize >> scrc >> st.score >> st.frames) ||
        (words >> more) || !versionword(st.game) || !crcword(scrc, st.mapcrc) || st.frames < 0 || st.mapsize < 0)
        return false;
    st.known = true;
    return true;
}

bool parseindex(const std::string& text, Gamesindex& index)
{
    index = Gamesindex{};
    std::istringstream in(text);
    std::string line, magic, version, map, crc;
    int format = 0;
    if (!std::getline(in, line) || line.compare(0, std::strlen(INDEXMAGIC) + 1, std::string(INDEXMAGIC) + " ") != 0)
        return false;
    format = std::atoi(line.c_str() + std::strlen(INDEXMAGIC) + 1);
    if ((format != 1 && format != 2) || line != std::string(INDEXMAGIC) + " " + std::to_string(format)) return false;
    if (!std::getline(in, line) || line.compare(0, 5, "game ") != 0 || !versionword(index.game = line.substr(5)) ||
        index.game.find(' ') != std::string::npos)
        return false;
    if (!std::getline(in, line)) return false;
    std::istringstream header(line);
    if (!(header >> map >> index.mapsize >> crc) || map != "map" || !crcword(crc, index.mapcrc)) return false;
    while (std::getline(in, line)) {
        Keptgame g;
        if (!readrow(line, g)) return false;
        // The first form knew only the game of its header.
        if (format == 1 && g.standing.known) return false;
        if (format == 1 && g.state == Keptgame::FINISHED)
            g.standing = Standing{true, index.game, index.mapsize, index.mapcrc, g.score, g.frames};
        index.rows[g.name] = g;
    }
    return true;
}

std::string standingname(const std::string& recording)
{
    const size_t dot = recording.size() >= 4 && recording.compare(recording.size() - 4, 4, ".rec") == 0
                           ? recording.size() - 4
                           : recording.size();
    return recording.substr(0, dot) + ".verified";
}

std::string standingtext(const Keptgame& g)
{
    const Standing& s = g.standing;
    return std::string(STANDINGMAGIC) + "\nsize " + std::to_string(g.size) + "\ncrc " + crctext(g.crc) +
           "\nscore " + std::to_string(s.score) + "\nframes " + std::to_string(s.frames) + "\ngame " + s.game +
           "\nmap " + std::to_string(s.mapsize) + " " + crctext(s.mapcrc) + "\n";
}

bool parsestanding(const std::string& text, const Keptgame& g, Standing& s)
{
    std::istringstream in(text);
    std::string line, word[6], mapcrc, more;
    long long size;
    s = Standing{};
    if (!std::getline(in, line) || line != STANDINGMAGIC) return false;
    const char* const keys[] = {"size", "crc", "score", "frames", "game", "map"};
    for (int i = 0; i < 6; i++) {
        if (!std::getline(in, line) || line.compare(0, std::strlen(keys[i]) + 1, std::string(keys[i]) + " ") != 0)
            return false;
        word[i] = line.substr(std::strlen(keys[i]) + 1);
    }
    std::istringstream sizes(word[0] + " " + word[2] + " " + word[3] + " " + word[5]);
    uint32_t recordingcrc;
    if (!(sizes >> size >> s.score >> s.frames >> s.mapsize >> mapcrc) || (sizes >> more) || (in >> more) ||
        !crcword(word[1], recordingcrc) || !crcword(mapcrc, s.mapcrc) || !versionword(word[4]) ||
        word[4].find(' ') != std::string::npos || s.frames < 0)
        return false;
    // It speaks only for the bytes it was written for.
    if (size != g.size || recordingcrc != g.crc) return false;
    s.game = word[4];
    s.known = true;
    return true;
}
