// Recorded games: the recording file, a versioned plain-text log of every
// input the game read, its writer while a game is recorded, and its reader
// and checker while one is played back.
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
// flushed at each checkpoint: a game killed loses the frames since the last
// one, and its recording, without an end line, plays to that checkpoint.
// Pauses write nothing. A box types its text one character a frame, so the language of
// the texts changes the world: a recording keeps the language it was made in.
#include "main.h"
#include "system.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

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

// ---------------------------------------------------------------------------
// Recording a game
// ---------------------------------------------------------------------------

InputSource inputsource = LIVEINPUT;
void (*recordingsaved)();

// The open file and the run of alike frames not yet written.
static FILE* recordfile;
static std::string recordpath;
static bool recordkept;   // a kept game's: its failure does not fail the game
static bool writefailed;
static bool namesynced;   // the folder synced since the file was made
static struct {
    bool box;
    int count;
    std::string keys;
} run;
static bool gameends;   // the game ends by itself after this world frame

static void write(const std::string& line)
{
    if (std::fputs(line.c_str(), recordfile) == EOF) writefailed = true;
}

static void flushrun()
{
    if (run.count == 0) return;
    write(run.box ? boxline(run.count, run.keys) : worldline(run.count, run.keys));
    run.count = 0;
}

// Adds one frame's input to the run, starting a new run when it differs.
// A box frame with keys is a line of its own.
static void addframe(bool box, const std::string& keys)
{
    if (run.count > 0 && (run.box != box || run.keys != keys || run.count == RUNMAX)) flushrun();
    run.box = box;
    run.keys = keys;
    run.count++;
    if (box && !keys.empty()) flushrun();
}

void recordworld(bool ends)
{
    gameends = ends;
    std::string keys;
    for (int i = 0; i < 5; i++) keys += key[i] ? WORLDKEYS[i] : '-';
    addframe(false, keys);
}

void recordbox(const std::string& keys)
{
    addframe(true, keys);
}

bool startrecording(FILE* file, const char* path, bool kept)
{
    recordfile = file;
    recordpath = path;
    recordkept = kept;
    writefailed = false;
    namesynced = false;
    run.count = 0;
    inputsource = RECORDINPUT;
    write(recordingheader(MAPFILESIZE, mapcrc, gamelanguage));
    return std::fflush(recordfile) == 0;
}

// ---------------------------------------------------------------------------
// Playing a game back
// ---------------------------------------------------------------------------

// The recording, the entry being read and how many of its frames are left,
// the next checkpoint to compare, and how the playback went.
static Recording playback;
static std::string playpath;
static std::vector<int> places;   // each digest entry's place in the checkpoints
static size_t entry;
static int left;
static size_t checkpoint;
static bool cutshort;     // the watcher stopped it inside a box
static std::string difference;   // the first difference found, as a line
static bool closedbydifference;  // closing was set by the difference, not by the player

// Ends the playback at the first difference: every loop ends as when the
// game closes, and the line is given once the game has stopped.
static void mismatch(const std::string& what)
{
    if (difference.empty())
        difference = "kuurakarpalo: recording \"" + playpath + "\" no longer matches the game: " + what;
    closedbydifference = closedbydifference || !closing;
    closing = 1;
}

// Takes the next recorded frame, which must be of the kind the game reads;
// nullptr once it differs.
static const RecordedInput* nextrecorded(bool box)
{
    if (!difference.empty()) return nullptr;
    if (entry < playback.input.size() && left == 0) {
        entry++;
        if (entry < playback.input.size()) left = playback.input[entry].count;
    }
    const std::string where = "in frame " + std::to_string(worldframes) + ", ";
    if (entry >= playback.input.size()) {
        mismatch(where + "the game reads on after the recording's end");
        return nullptr;
    }
    const RecordedInput& r = playback.input[entry];
    if (r.box != box) {
        mismatch(where + (box ? "the game shows a message box that the recording does not"
                              : "the recording shows a message box that the game does not"));
        return nullptr;
    }
    left--;
    return &r;
}

void playworld(bool& quit)
{
    gameends = quit;
    const RecordedInput* r = nextrecorded(false);
    for (int i = 0; i < 5; i++) key[i] = r && r->keys[i] == WORLDKEYS[i];
    if (closing || worldframes == playback.frames) quit = true;
}

bool playbox(Box& box)
{
    const RecordedInput* r = closing ? nullptr : nextrecorded(true);
    if (!r) {
        // The watcher's stop, or a difference: the world is left as it
        // stands, unlike the recorded game's, so its checkpoint is not
        // compared.
        cutshort = true;
        box.repeat = false;
        return false;
    }
    for (char c : r->keys) {
        if (c == BOXCLOSE) {
            box.repeat = false;
            return false;
        }
        boxpress(box, boxsym(c));
    }
    return true;
}

void worldframedone(bool quit)
{
    if (inputsource == RECORDINPUT) {
        if (worldframes % CHECKPOINTEVERY != 0 && !quit) return;
        Digest d;
        takedigest(d);
        flushrun();
        write(checkpointline(worldframes, d));
        if (quit) write(endline(worldframes, gameends));
        // On the disk, not only in the system's cache: a power cut loses at
        // most the frames since. The first time, the file's name too.
        if (!syncfile(recordfile)) writefailed = true;
        if (!namesynced) {
            const size_t slash = recordpath.rfind('/');
            syncfolder(slash == std::string::npos ? "." : recordpath.substr(0, slash + 1));
            namesynced = true;
        }
        if (recordingsaved) recordingsaved();
        return;
    }
    if (inputsource != PLAYINPUT || cutshort || !difference.empty()) return;
    if (checkpoint < playback.checkpoints.size() && playback.checkpoints[checkpoint].frame == worldframes) {
        Digest d;
        takedigest(d);
        const std::string diff = digestdiff(playback.checkpoints[checkpoint], places, d);
        if (!diff.empty()) return mismatch("at frame " + std::to_string(worldframes) + " " + diff);
        checkpoint++;
    }
    if (gameends && worldframes < playback.frames)
        return mismatch("the game ended at frame " + std::to_string(worldframes) +
                        "; the recording goes on to frame " + std::to_string(playback.frames));
    if (!gameends && worldframes == playback.frames && playback.endedbygame)
        mismatch("the recorded game ended by itself at frame " + std::to_string(worldframes) + "; the game goes on");
}

bool startplayback(const std::string& text, const std::string& label, std::string& error, std::string& unchecked)
{
    std::string why;
    const std::string name = "kuurakarpalo: recording \"" + label + "\" ";
    if (!parserecording(text.data(), text.size(), playback, why)) return fail(error, name + why);
    if (playback.mapsize != MAPFILESIZE || playback.mapcrc != mapcrc) {
        char made[96];
        std::snprintf(made, sizeof made, "was made on another map (CRC-32 %08x); this map file's is %08x",
                      (unsigned)playback.mapcrc, (unsigned)mapcrc);
        error = name + made;
        return false;
    }
    if (!setlanguage(playback.language))
        return fail(error, name + "was made in the language " + playback.language + ", which the game has no texts in");
    // A field added to the game or taken from it leaves the others to check.
    places = digestplaces(playback.names);
    if (std::none_of(places.begin(), places.end(), [](int p) { return p >= 0; }))
        return fail(error, name + "shares no digest field with this game");
    const std::string notshared = digestunchecked(playback.names);
    unchecked = notshared.empty() ? "" : name.substr(0, name.size() - 1) + ": fields left unchecked: " + notshared;
    playpath = label;
    difference.clear();
    closedbydifference = false;
    cutshort = false;
    inputsource = PLAYINPUT;
    entry = 0;
    left = playback.input.empty() ? 0 : playback.input[0].count;
    checkpoint = 0;
    return true;
}

Played playbackresult()
{
    Played p;
    p.difference = difference;
    p.closedbydifference = closedbydifference;
    p.cut = playback.cut;
    p.ended = difference.empty() && worldframes == playback.frames && checkpoint == playback.checkpoints.size();
    p.frames = playback.frames;
    p.endedbygame = playback.endedbygame;
    p.score = 0;
    if (!playback.checkpoints.empty()) {
        const int at = places.empty() || places[0] < 0 ? -1 : places[0];
        if (at >= 0) p.score = (int)playback.checkpoints.back().value[at];
    }
    if (p.cut)
        p.cutline = "kuurakarpalo: recording \"" + playpath + "\" ends at frame " + std::to_string(playback.frames) +
                    " without an end: the game that made it did not finish";
    return p;
}

bool openinput()
{
    worldframes = 0;
    if (options.record) {
        FILE* file = std::fopen(options.record, "wb");
        if (!file) {
            std::fprintf(stderr, "kuurakarpalo: cannot write the recording \"%s\": %s\n", options.record,
                         std::strerror(errno));
            return false;
        }
        return startrecording(file, options.record, false);
    }
    // A kept game starts recording with its first frame (keepgame).
    if (!options.play) return true;
    std::string text, error, unchecked;
    if (!readrecordingfile(options.play, text, error)) error = std::string("kuurakarpalo: recording \"") + options.play + "\" " + error;
    if (!error.empty() || !startplayback(text, options.play, error, unchecked)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!unchecked.empty()) std::fprintf(stderr, "%s\n", unchecked.c_str());
    fastframes = options.fast;
    // A game stopped before its first checkpoint has nothing to play.
    if (playback.frames == 0) quitgame(0);
    return true;
}

void stopplayback()
{
    inputsource = LIVEINPUT;
    fastframes = false;
    worldframes = 0;
    cutshort = false;
    difference.clear();
    playback = Recording{};
    places.clear();
}

Ending ending;

int closeinput()
{
    int code = 0;
    if (inputsource == PLAYINPUT) {
        const Played p = playbackresult();
        ending = !p.difference.empty() ? ENDDIFFERS : !p.ended ? ENDSTOPPED : p.cut ? ENDCUT : ENDPLAYED;
        if (!p.difference.empty()) {
            std::fprintf(stderr, "%s\n", p.difference.c_str());
            code = 3;
        } else if (p.ended && p.cut) {
            std::fprintf(stderr, "%s\n", p.cutline.c_str());
        }
    }
    stopplayback();
    if (!recordfile) return code;
    flushrun();
    const bool closed = std::fclose(recordfile) == 0;
    recordfile = nullptr;
    if (closed && !writefailed) return code;
    writefailed = false;
    if (recordkept) {
        std::fprintf(stderr, "kuurakarpalo: this game is not kept whole: its recording \"%s\" could not be written\n",
                     recordpath.c_str());
        return code;
    }
    std::fprintf(stderr, "kuurakarpalo: the recording \"%s\" could not be written whole\n", recordpath.c_str());
    return 1;
}
