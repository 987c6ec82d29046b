// Recorded games: the digest of the world that checkpoints carry, and the
// recording file, a versioned plain-text log of every input the game read.
//
//   kuurakarpalo recording 1
//   game 1.0
//   language en                  the language of the texts; without it, Finnish
//   map 792032 1a2b3c4d          size and CRC-32 of the map file
//   checkpoints 50               world frames between checkpoints
//   digest score finalscore ...  the names of a checkpoint's values
//   w 12 U--R-                   12 world frames with up and right held
//   b 30                         30 box frames without a key
//   k S                          one box frame in which space went down
//   k SQ                         one in which space went down, then the
//                                game closed (the window's close button, a
//                                signal): the box ended there, and so does
//                                every box after it in that frame, "k Q"
//   c 50 0000002a ...            the digest after world frame 50
//   end 1234 player              world frames in all, and who ended the game:
//                                the player (Escape, the window closed, a
//                                signal) or the game itself (its dark end)
//
// Runs hold 1 to 50 frames and a checkpoint follows every 50th world frame
// and the last, so the work a file asks for grows with its length: a hostile
// file cannot make playback run for long. A checkpoint's values are matched
// with the game's digest by the names of the digest line, so a recording
// outlives a field added to the records or taken from them. Pauses write
// nothing. A box types its text one character a frame, so the language of
// the texts changes the world: a recording keeps the language it was made in.
#include "main.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------------------
// The digest
// ---------------------------------------------------------------------------

static const char* const COUNTERS[] = {"score", "finalscore", "night", "time", "camera.x",
                                       "camera.y", "camera.nx", "camera.ny", "rollx", "rolly"};
static const int NCOUNTERS = sizeof COUNTERS / sizeof COUNTERS[0];

static uint32_t bits(int v)
{
    return (uint32_t)v;
}

static uint32_t bits(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

// Collects one kind's field names, in visiting order.
struct Namer {
    std::vector<std::string>& out;
    const char* kind;
    template <class T> void operator()(const char* name, T&) { out.push_back(std::string(kind) + "." + name); }
};

// Folds one record's fields into the kind's CRCs, one per field.
struct Folder {
    uint32_t* crc;
    int i;
    template <class T> void operator()(const char*, T& field)
    {
        crc[i] = crc32of(crc[i], &field, sizeof field);
        i++;
    }
};

const std::vector<std::string>& digestnames()
{
    static std::vector<std::string> names;
    if (names.empty()) {
        names.assign(COUNTERS, COUNTERS + NCOUNTERS);
        Player p(0, 0, 0);
        p.fields(Namer{names, "player"});
        Neutral n;
        n.fields(Namer{names, "neutral"});
        Monster m;
        m.fields(Namer{names, "monster"});
        Corpse c{};
        c.fields(Namer{names, "corpse"});
        if (names.size() > (size_t)DIGESTMAX) std::abort();
    }
    return names;
}

DigestKind digestkind(int i)
{
    if (i == 2 || i == 6 || i == 7) return DIGESTFLOAT;   // night, camera.nx, camera.ny
    return i < NCOUNTERS ? DIGESTINT : DIGESTCRC;
}

// The fields of every slot of one kind, folded in slot order.
template <class T> static int fold(Digest& d, int at, T* records, int n)
{
    const int first = at;
    int count = 0;
    records[0].fields([&](const char*, auto&) { count++; });
    for (int i = 0; i < count; i++) d.value[first + i] = 0;
    for (int r = 0; r < n; r++) records[r].fields(Folder{d.value + first, 0});
    return first + count;
}

void takedigest(Digest& d)
{
    const uint32_t counters[NCOUNTERS] = {
        bits(score),    bits(finalscore), bits(night),     bits(map.time), bits(Camera.x),
        bits(Camera.y), bits(Camera.nx),  bits(Camera.ny), bits(map.rollx), bits(map.rolly)};
    std::memcpy(d.value, counters, sizeof counters);
    int at = fold(d, NCOUNTERS, &map.player, 1);
    at = fold(d, at, map.neutral, SLOTS);
    at = fold(d, at, map.monster, SLOTS);
    d.count = fold(d, at, map.corpse, SLOTS);
}

static std::string shown(int i, uint32_t v)
{
    char text[32];
    if (digestkind(i) == DIGESTFLOAT) {
        float f;
        std::memcpy(&f, &v, sizeof f);
        std::snprintf(text, sizeof text, "%.9g", f);
    } else {
        std::snprintf(text, sizeof text, "%d", (int)v);
    }
    return text;
}

std::vector<int> digestplaces(const std::vector<std::string>& recorded)
{
    const std::vector<std::string>& names = digestnames();
    std::vector<int> places(names.size(), -1);
    for (size_t i = 0; i < names.size(); i++) {
        for (size_t r = 0; r < recorded.size(); r++) {
            if (recorded[r] == names[i]) {
                places[i] = (int)r;
                break;
            }
        }
    }
    return places;
}

std::string digestdiff(const Checkpoint& recorded, const std::vector<int>& places, const Digest& now)
{
    const std::vector<std::string>& names = digestnames();
    std::string counters, fields;
    int named = 0, more = 0;
    for (int i = 0; i < now.count && i < (int)places.size(); i++) {
        const int r = places[i];
        if (r < 0 || r >= (int)recorded.value.size() || recorded.value[r] == now.value[i]) continue;
        if (digestkind(i) == DIGESTCRC) {
            // The first few fields say enough; a long list would hide the counters.
            if (named++ < 12)
                fields += (fields.empty() ? "" : ", ") + names[i];
            else
                more++;
        } else {
            counters += (counters.empty() ? "" : "; ") + names[i] + " is " + shown(i, now.value[i]) +
                        ", recorded " + shown(i, recorded.value[r]);
        }
    }
    if (more > 0) fields += " and " + std::to_string(more) + " more fields";
    if (!fields.empty()) fields += " differ";
    if (!counters.empty() && !fields.empty()) return counters + "; " + fields;
    return counters + fields;
}

// ---------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------

std::string recordingheader(long mapsize, uint32_t crc, const std::string& language)
{
    char text[160];
    std::snprintf(text, sizeof text, "kuurakarpalo recording %d\ngame %s\n", RECORDINGVERSION, VERSION);
    std::string out = text;
    if (!language.empty()) out += "language " + language + "\n";
    std::snprintf(text, sizeof text, "map %ld %08" PRIx32 "\ncheckpoints %d\ndigest", mapsize, crc,
                  CHECKPOINTEVERY);
    out += text;
    for (const std::string& name : digestnames()) out += " " + name;
    return out + "\n";
}

std::string worldline(int count, const std::string& keys)
{
    return "w " + std::to_string(count) + " " + keys + "\n";
}

std::string boxline(int count, const std::string& keys)
{
    if (keys.empty()) return "b " + std::to_string(count) + "\n";
    return "k " + keys + "\n";
}

std::string checkpointline(int frame, const Digest& digest)
{
    std::string out = "c " + std::to_string(frame);
    char word[12];
    for (int i = 0; i < digest.count; i++) {
        std::snprintf(word, sizeof word, " %08" PRIx32, digest.value[i]);
        out += word;
    }
    return out + "\n";
}

std::string endline(int frames, bool bygame)
{
    return "end " + std::to_string(frames) + (bygame ? " game\n" : " player\n");
}

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

namespace {

// Splits the text into lines and lines into words, refusing anything that a
// recording never holds: control characters, overlong lines, a last line
// without its newline.
class Reader {
public:
    Reader(const char* text, size_t size) : p(text), end(text + size) {}

    bool next(std::string& error)
    {
        words.clear();
        if (p == end) return false;
        line++;
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)));
        if (!nl) {
            error = "ends in the middle of a line";
            return false;
        }
        if (nl - p > LINEMAX) {
            error = "a line is longer than " + std::to_string(LINEMAX) + " characters";
            return false;
        }
        const char* q = p;
        while (q < nl) {
            while (q < nl && *q == ' ') q++;
            const char* w = q;
            while (q < nl && *q != ' ') {
                if ((unsigned char)*q < 33 || (unsigned char)*q > 126) {
                    error = "holds a character a recording never has";
                    return false;
                }
                q++;
            }
            if (q > w) words.emplace_back(w, q);
        }
        p = nl + 1;
        if (words.empty()) {
            error = "is empty";
            return false;
        }
        return true;
    }

    bool atend() const { return p == end; }

    static const int LINEMAX = 8192;
    std::vector<std::string> words;
    int line = 0;

private:
    const char* p;
    const char* end;
};

// A decimal number from lo to hi, nothing else.
bool number(const std::string& w, long long lo, long long hi, long long& out)
{
    if (w.empty() || w.size() > 12) return false;
    long long v = 0;
    for (char c : w) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

bool hexword(const std::string& w, uint32_t& out)
{
    if (w.size() != 8) return false;
    uint32_t v = 0;
    for (char c : w) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return false;
        v = v << 4 | (uint32_t)d;
    }
    out = v;
    return true;
}

}   // namespace

// Reads the header's five lines, or six with the language.
static bool parseheader(Reader& in, Recording& r, std::string& error)
{
    long long v;
    if (!in.next(error)) {
        if (error.empty()) error = "is empty";
        return false;
    }
    const std::vector<std::string>& w = in.words;
    if (w.size() != 3 || w[0] != "kuurakarpalo" || w[1] != "recording") {
        error = "is not a recording of this game";
        return false;
    }
    if (!number(w[2], 0, 1000000, v) || v != RECORDINGVERSION) {
        error = "is in recording format " + w[2] + "; this game reads format " +
                std::to_string(RECORDINGVERSION);
        return false;
    }

    if (!in.next(error) || w.size() != 2 || w[0] != "game" || w[1].size() > 40) {
        if (error.empty()) error = "has no game version";
        return false;
    }
    r.game = w[1];

    if (!in.next(error)) {
        if (error.empty()) error = "has no map size and checksum";
        return false;
    }
    if (w[0] == "language") {
        if (w.size() != 2 || !languagecode(w[1])) {
            error = "names no language";
            return false;
        }
        r.language = w[1];
        if (!in.next(error)) {
            if (error.empty()) error = "has no map size and checksum";
            return false;
        }
    }
    if (w.size() != 3 || w[0] != "map" || !number(w[1], 0, 1LL << 40, r.mapsize) ||
        !hexword(w[2], r.mapcrc)) {
        if (error.empty()) error = "has no map size and checksum";
        return false;
    }

    if (!in.next(error) || w.size() != 2 || w[0] != "checkpoints" || !number(w[1], 1, 100000, v)) {
        if (error.empty()) error = "has no checkpoint interval";
        return false;
    }
    r.interval = (int)v;

    if (!in.next(error) || w.size() < 2 || w.size() > DIGESTMAX + 1 || w[0] != "digest") {
        if (error.empty()) error = "has no list of digest fields";
        return false;
    }
    r.names.assign(w.begin() + 1, w.end());
    for (size_t i = 1; i < r.names.size(); i++) {
        for (size_t k = 0; k < i; k++) {
            if (r.names[k] == r.names[i]) {
                error = "lists the digest field " + r.names[i].substr(0, 40) + " twice";
                return false;
            }
        }
    }
    return true;
}

// Reads one input or checkpoint line of the body; sets done at its end line.
static bool parsebody(Reader& in, Recording& r, bool& done, std::string& error)
{
    const std::vector<std::string>& w = in.words;
    long long v;
    // Once the game closed in a box, only that frame's later boxes (each
    // closed in its one frame), its checkpoint and the end follow.
    const bool closedbox = w[0] == "k" && w.size() == 2 && w[1] == std::string(1, BOXCLOSE);
    if (r.closedinbox && !closedbox && w[0] != "c" && w[0] != "end") {
        error = "input follows the box frame in which the game closed";
        return false;
    }
    if (w[0] == "w") {
        if (w.size() != 3 || !number(w[1], 1, RUNMAX, v) || w[2].size() != 5) {
            error = "a world line is not \"w COUNT KEYS\" with a count of 1 to " + std::to_string(RUNMAX);
            return false;
        }
        for (int i = 0; i < 5; i++) {
            if (w[2][i] != '-' && w[2][i] != WORLDKEYS[i]) {
                error = "a world line's keys are not of the form UDLRS";
                return false;
            }
        }
        // Every interval's frames end in a checkpoint, and a run never
        // passes one; a checkpoint elsewhere is the last frame's.
        const int last = r.checkpoints.empty() ? 0 : r.checkpoints.back().frame;
        if (r.frames % r.interval == 0 && last != r.frames) {
            error = "the checkpoint after frame " + std::to_string(r.frames) + " is missing";
            return false;
        }
        if (last == r.frames && r.frames % r.interval != 0) {
            error = "world frames follow the last frame's checkpoint";
            return false;
        }
        const long long next = (long long)r.frames + v;
        const long long due = ((long long)r.frames / r.interval + 1) * r.interval;
        if (next > due) {
            error = "world frames run past the checkpoint due after frame " + std::to_string(due);
            return false;
        }
        r.input.push_back(RecordedInput{false, (int)v, w[2]});
        r.frames = (int)next;
        return true;
    }
    if (w[0] == "b" || w[0] == "k") {
        if (r.frames == 0) {
            error = "a box frame comes before the first world frame";
            return false;
        }
        if (w[0] == "b") {
            if (w.size() != 2 || !number(w[1], 1, RUNMAX, v)) {
                error = "a box line is not \"b COUNT\" with a count of 1 to " + std::to_string(RUNMAX);
                return false;
            }
            r.input.push_back(RecordedInput{true, (int)v, ""});
            return true;
        }
        // The keys, and at their end the close that ended the box.
        std::string keys = w.size() == 2 ? w[1] : std::string();
        const bool closes = !keys.empty() && keys.back() == BOXCLOSE;
        if (closes) keys.pop_back();
        if (w.size() != 2 || keys.size() > (size_t)BOXKEYMAX || keys.find_first_not_of(BOXKEYS) != std::string::npos) {
            error = "a box key line is not \"k KEYS\" with keys among S123UD, then Q if the game closed";
            return false;
        }
        r.input.push_back(RecordedInput{true, 1, w[1]});
        r.closedinbox = r.closedinbox || closes;
        return true;
    }
    if (w[0] == "c") {
        Checkpoint c;
        if (w.size() != r.names.size() + 2 || !number(w[1], 1, std::numeric_limits<int>::max(), v)) {
            error = "a checkpoint is not \"c FRAME\" and " + std::to_string(r.names.size()) + " values";
            return false;
        }
        c.frame = (int)v;
        if (c.frame != r.frames || (!r.checkpoints.empty() && r.checkpoints.back().frame == c.frame)) {
            error = "a checkpoint for frame " + w[1] + " stands after frame " + std::to_string(r.frames);
            return false;
        }
        c.value.resize(r.names.size());
        for (size_t i = 0; i < r.names.size(); i++) {
            if (!hexword(w[i + 2], c.value[i])) {
                error = "a checkpoint value is not eight hexadecimal digits";
                return false;
            }
        }
        r.checkpoints.push_back(std::move(c));
        r.checkpointat.push_back(r.input.size());
        return true;
    }
    if (w[0] == "end") {
        if (w.size() != 3 || !number(w[1], 1, std::numeric_limits<int>::max(), v) || v != r.frames) {
            error = "the end line does not give the " + std::to_string(r.frames) + " world frames played";
            return false;
        }
        if (w[2] != "player" && w[2] != "game") {
            error = "the end line does not say whether the player or the game ended it";
            return false;
        }
        r.endedbygame = w[2] == "game";
        if (r.checkpoints.empty() || r.checkpoints.back().frame != r.frames ||
            r.checkpointat.back() != r.input.size()) {
            error = "the last frame has no checkpoint";
            return false;
        }
        done = true;
        return true;
    }
    error = "\"" + w[0].substr(0, 20) + "\" is not a line of a recording";
    return false;
}

bool parserecording(const char* text, size_t size, Recording& r, std::string& error)
{
    r = Recording{};
    error.clear();
    if (size > (size_t)RECORDINGMAX) {
        error = "is larger than " + std::to_string(RECORDINGMAX >> 20) + " MiB";
        return false;
    }
    Reader in(text, size);
    if (!parseheader(in, r, error)) {
        if (in.line > 0) error = "line " + std::to_string(in.line) + ": " + error;
        return false;
    }
    bool done = false;
    while (!done) {
        if (!in.next(error)) {
            if (error.empty()) error = "ends before its end line";
            error = "line " + std::to_string(in.line) + ": " + error;
            return false;
        }
        if (!parsebody(in, r, done, error)) {
            error = "line " + std::to_string(in.line) + ": " + error;
            return false;
        }
    }
    if (!in.atend()) {
        error = "line " + std::to_string(in.line + 1) + ": text follows the end line";
        return false;
    }
    return true;
}

bool readrecording(const char* path, Recording& r, std::string& error)
{
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        error = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        text.append(chunk, got);
        if (text.size() > (size_t)RECORDINGMAX) break;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        error = "cannot be read";
        return false;
    }
    return parserecording(text.data(), text.size(), r, error);
}
