// The recording file: a versioned plain-text log of every input the game
// read, its lines as the recorder writes them and its reader.
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
// outlives a field added to the records or taken from them. The file is
// synced at each checkpoint: a game killed loses the frames since the last
// one, and its recording, without an end line, plays to that checkpoint.
// Pauses write nothing. A box types its text one character a frame, so the
// language of the texts changes the world: a recording keeps the language it
// was made in.
#include "digest.h"
#include "language.h"
#include "options.h"
#include "recording.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------

std::string recordingheader(long mapsize, uint32_t crc, const std::string& language,
                            const std::vector<std::string>& names)
{
    char text[160];
    std::snprintf(text, sizeof text, "kuurakarpalo recording %d\ngame %s\n", RECORDINGVERSION, VERSION);
    std::string out = text;
    if (!language.empty()) out += "language " + language + "\n";
    std::snprintf(text, sizeof text, "map %ld %08" PRIx32 "\ncheckpoints %d\ndigest", mapsize, crc,
                  CHECKPOINTEVERY);
    out += text;
    for (const std::string& name : names) out += " " + name;
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

// Refuses a recording for the reason given; lacks keeps an earlier reason
// (the reader's) when there is one.
bool fail(std::string& error, std::string why)
{
    error = std::move(why);
    return false;
}

bool lacks(std::string& error, const char* why)
{
    if (error.empty()) error = why;
    return false;
}

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
            partial = true;
            error = "ends in the middle of a line";
            return false;
        }
        if (nl - p > LINEMAX) return fail(error, "a line is longer than " + std::to_string(LINEMAX) + " characters");
        const char* q = p;
        while (q < nl) {
            while (q < nl && *q == ' ') q++;
            const char* w = q;
            while (q < nl && *q != ' ') {
                if ((unsigned char)*q < 33 || (unsigned char)*q > 126)
                    return fail(error, "holds a character a recording never has");
                q++;
            }
            if (q > w) words.emplace_back(w, q);
        }
        p = nl + 1;
        if (words.empty()) return fail(error, "is empty");
        return true;
    }

    bool atend() const { return p == end; }

    static const int LINEMAX = 8192;
    std::vector<std::string> words;
    int line = 0;
    bool partial = false;   // the text ends in a line without its newline

private:
    const char* p;
    const char* end;
};

// A decimal number from lo to hi, nothing else.
bool number(const std::string& w, long long lo, long long hi, long long& out)
{
    if (w.empty() || w.size() > 12 || w.find_first_not_of("0123456789") != std::string::npos) return false;
    const long long v = std::stoll(w);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

// Eight lower-case hexadecimal digits, as the writer gives a 32-bit value.
bool hexword(const std::string& w, uint32_t& out)
{
    if (w.size() != 8 || w.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
    out = (uint32_t)std::stoul(w, nullptr, 16);
    return true;
}

}   // namespace

// Reads the header's five lines, or six with the language.
static bool parseheader(Reader& in, Recording& r, std::string& error)
{
    long long v;
    if (!in.next(error)) return lacks(error, "is empty");
    const std::vector<std::string>& w = in.words;
    if (w.size() != 3 || w[0] != "kuurakarpalo" || w[1] != "recording")
        return fail(error, "is not a recording of this game");
    if (!number(w[2], 0, 1000000, v) || v != RECORDINGVERSION) {
        error = "is in recording format " + w[2] + "; this game reads format " +
                std::to_string(RECORDINGVERSION);
        return false;
    }

    if (!in.next(error) || w.size() != 2 || w[0] != "game" || w[1].size() > 40)
        return lacks(error, "has no game version");
    r.game = w[1];

    if (!in.next(error)) return lacks(error, "has no map size and checksum");
    if (w[0] == "language") {
        if (w.size() != 2 || !languagecode(w[1])) return fail(error, "names no language");
        r.language = w[1];
        if (!in.next(error)) return lacks(error, "has no map size and checksum");
    }
    if (w.size() != 3 || w[0] != "map" || !number(w[1], 0, 1LL << 40, r.mapsize) ||
        !hexword(w[2], r.mapcrc)) return lacks(error, "has no map size and checksum");

    if (!in.next(error) || w.size() != 2 || w[0] != "checkpoints" || !number(w[1], 1, 100000, v))
        return lacks(error, "has no checkpoint interval");
    r.interval = (int)v;

    if (!in.next(error) || w.size() < 2 || w.size() > DIGESTMAX + 1 || w[0] != "digest")
        return lacks(error, "has no list of digest fields");
    r.names.assign(w.begin() + 1, w.end());
    for (size_t i = 1; i < r.names.size(); i++) {
        for (size_t k = 0; k < i; k++) {
            if (r.names[k] == r.names[i])
                return fail(error, "lists the digest field " + r.names[i].substr(0, 40) + " twice");
        }
    }
    return true;
}

// What a recording may hold, so that what reading and playing it cost
// follows the game it holds, whatever a file claims: box frames counted,
// and lines of input.
static bool boxframes(Recording& r, int count, std::string& error)
{
    r.boxframes += count;
    if (r.boxframes <= BOXFRAMESMAX) return true;
    return fail(error, "holds more than " + std::to_string(BOXFRAMESMAX) + " box frames");
}

static bool room(const Recording& r, std::string& error)
{
    if (r.input.size() < (size_t)INPUTLINESMAX) return true;
    return fail(error, "holds more than " + std::to_string(INPUTLINESMAX) + " lines of input");
}

// Reads one input or checkpoint line of the body; sets done at its end line.
static bool parsebody(Reader& in, Recording& r, bool& done, std::string& error)
{
    const std::vector<std::string>& w = in.words;
    long long v;
    // Once the game closed in a box, only that frame's later boxes (each
    // closed in its one frame), its checkpoint and the end follow.
    const bool closedbox = w[0] == "k" && w.size() == 2 && w[1] == std::string(1, BOXCLOSE);
    if (r.closedinbox && !closedbox && w[0] != "c" && w[0] != "end")
        return fail(error, "input follows the box frame in which the game closed");
    if (w[0] == "w") {
        if (w.size() != 3 || !number(w[1], 1, RUNMAX, v) || w[2].size() != 5)
            return fail(error, "a world line is not \"w COUNT KEYS\" with a count of 1 to " + std::to_string(RUNMAX));
        for (int i = 0; i < 5; i++) {
            if (w[2][i] != '-' && w[2][i] != WORLDKEYS[i])
                return fail(error, "a world line's keys are not of the form UDLRS");
        }
        // Every interval's frames end in a checkpoint, and a run never
        // passes one; a checkpoint elsewhere is the last frame's.
        const int last = r.checkpoints.empty() ? 0 : r.checkpoints.back().frame;
        if (r.frames % r.interval == 0 && last != r.frames)
            return fail(error, "the checkpoint after frame " + std::to_string(r.frames) + " is missing");
        if (last == r.frames && r.frames % r.interval != 0)
            return fail(error, "world frames follow the last frame's checkpoint");
        const long long next = (long long)r.frames + v;
        const long long due = ((long long)r.frames / r.interval + 1) * r.interval;
        if (next > due)
            return fail(error, "world frames run past the checkpoint due after frame " + std::to_string(due));
        if (next > WORLDFRAMESMAX)
            return fail(error, "holds more than " + std::to_string(WORLDFRAMESMAX) + " world frames");
        if (!room(r, error)) return false;
        r.input.push_back(RecordedInput{false, (int)v, w[2]});
        r.frames = (int)next;
        return true;
    }
    if (w[0] == "b" || w[0] == "k") {
        if (r.frames == 0) return fail(error, "a box frame comes before the first world frame");
        if (w[0] == "b") {
            if (w.size() != 2 || !number(w[1], 1, RUNMAX, v))
                return fail(error, "a box line is not \"b COUNT\" with a count of 1 to " + std::to_string(RUNMAX));
            if (!boxframes(r, (int)v, error) || !room(r, error)) return false;
            r.input.push_back(RecordedInput{true, (int)v, ""});
            return true;
        }
        // The keys, and at their end the close that ended the box.
        std::string keys = w.size() == 2 ? w[1] : std::string();
        const bool closes = !keys.empty() && keys.back() == BOXCLOSE;
        if (closes) keys.pop_back();
        if (w.size() != 2 || keys.size() > (size_t)BOXKEYMAX || keys.find_first_not_of(BOXKEYS) != std::string::npos)
            return fail(error, "a box key line is not \"k KEYS\" with keys among S123UD, then Q if the game closed");
        if (!boxframes(r, 1, error) || !room(r, error)) return false;
        r.input.push_back(RecordedInput{true, 1, w[1]});
        r.closedinbox = r.closedinbox || closes;
        return true;
    }
    if (w[0] == "c") {
        Checkpoint c;
        if (w.size() != r.names.size() + 2 || !number(w[1], 1, std::numeric_limits<int>::max(), v))
            return fail(error, "a checkpoint is not \"c FRAME\" and " + std::to_string(r.names.size()) + " values");
        c.frame = (int)v;
        if (c.frame != r.frames || (!r.checkpoints.empty() && r.checkpoints.back().frame == c.frame))
            return fail(error, "a checkpoint for frame " + w[1] + " stands after frame " + std::to_string(r.frames));
        c.value.resize(r.names.size());
        for (size_t i = 0; i < r.names.size(); i++) {
            if (!hexword(w[i + 2], c.value[i]))
                return fail(error, "a checkpoint value is not eight hexadecimal digits");
        }
        r.checkpoints.push_back(std::move(c));
        r.checkpointat.push_back(r.input.size());
        return true;
    }
    if (w[0] == "end") {
        if (w.size() != 3 || !number(w[1], 1, std::numeric_limits<int>::max(), v) || v != r.frames)
            return fail(error, "the end line does not give the " + std::to_string(r.frames) + " world frames played");
        if (w[2] != "player" && w[2] != "game")
            return fail(error, "the end line does not say whether the player or the game ended it");
        r.endedbygame = w[2] == "game";
        if (r.checkpoints.empty() || r.checkpoints.back().frame != r.frames ||
            r.checkpointat.back() != r.input.size()) return fail(error, "the last frame has no checkpoint");
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
    if (size > (size_t)RECORDINGMAX)
        return fail(error, "is larger than " + std::to_string(RECORDINGMAX >> 20) + " MiB");
    Reader in(text, size);
    if (!parseheader(in, r, error)) {
        if (in.line > 0) error = "line " + std::to_string(in.line) + ": " + error;
        return false;
    }
    bool done = false;
    while (!done) {
        if (!in.next(error)) {
            // A game stopped before its end (killed, or the machine off)
            // leaves its recording up to the last lines written, perhaps in
            // the middle of one: it plays to its last checkpoint.
            if (!error.empty() && !in.partial) return fail(error, "line " + std::to_string(in.line) + ": " + error);
            error.clear();
            r.cut = true;
            r.input.resize(r.checkpointat.empty() ? 0 : r.checkpointat.back());
            r.frames = r.checkpoints.empty() ? 0 : r.checkpoints.back().frame;
            return true;
        }
        if (!parsebody(in, r, done, error)) return fail(error, "line " + std::to_string(in.line) + ": " + error);
    }
    if (!in.atend()) return fail(error, "line " + std::to_string(in.line + 1) + ": text follows the end line");
    return true;
}

bool readrecordingfile(const char* path, std::string& text, std::string& error)
{
    text.clear();
    error.clear();
    FILE* f = std::fopen(path, "rb");
    if (!f) return fail(error, std::string("cannot be opened: ") + std::strerror(errno));
    char chunk[65536];
    size_t got;
    while (text.size() <= (size_t)RECORDINGMAX && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, got);
    const int failed = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (failed) return fail(error, std::string("cannot be read: ") + std::strerror(failed));
    if (text.size() > (size_t)RECORDINGMAX) return fail(error, "is larger than " + std::to_string(RECORDINGMAX >> 20) + " MiB");
    return true;
}

bool readrecording(const char* path, Recording& r, std::string& error)
{
    std::string text;
    return readrecordingfile(path, text, error) && parserecording(text.data(), text.size(), r, error);
}
