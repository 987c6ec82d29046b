// Recorded games: the digest of the world, the file format and the refused
// forms of it, and a game recorded and played back frame by frame.
#include "rig.h"
#include "digest.h"
#include "display.h"
#include "games.h"
#include "input.h"
#include "language.h"
#include "recording.h"
#include "world.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include <zlib.h>

// Every sync the game asks of the system, counted and passed on.
static int fsyncs;
extern "C" int fsync(int fd)
{
    fsyncs++;
    return (int)syscall(SYS_fsync, fd);
}

namespace {

const Digest& digestnow()
{
    static Digest d;
    takedigest(d);
    return d;
}

// A small well-formed recording: 60 world frames, one box in frame 21, a
// checkpoint after frame 50 and one after the last.
std::string sample()
{
    Digest zero{};
    zero.count = (int)digestnames().size();
    std::string r = recordingheader(MAPFILESIZE, 0x1cedfc6f, "", digestnames());
    r += worldline(20, "-----") + worldline(1, "U--R-") + boxline(3, "") + boxline(1, "SU") +
         worldline(29, "----S") + checkpointline(50, zero) + worldline(10, "-D---") +
         checkpointline(60, zero) + endline(60, false);
    return r;
}

std::string parsed(const std::string& text, Recording* out = nullptr)
{
    Recording r;
    std::string error = "left from before";   // what a reader takes is said afresh
    if (!parserecording(text.data(), text.size(), r, error)) return error;
    if (out) *out = r;
    return error.empty() ? "ok" : error;
}

std::string repeated(const std::string& line, int times)
{
    std::string out;
    for (int i = 0; i < times; i++) out += line;
    return out;
}

// A game of frames world frames with keys held, checked every 100,000 and
// at its end, whose checkpoints carry the score alone.
std::string longgame(int frames)
{
    std::string r = recordingheader(MAPFILESIZE, 0, "", digestnames());
    r.replace(r.find("checkpoints 50"), 14, "checkpoints 100000");
    r.replace(r.find("digest "), std::string::npos, "digest score\n");
    Digest score{};
    score.count = 1;
    for (int f = 0; f < frames;) {
        const int run = std::min({RUNMAX, frames - f, 100000 - f % 100000});
        r += worldline(run, "U---S");
        f += run;
        if (f % 100000 == 0 || f == frames) r += checkpointline(f, score);
    }
    return r + endline(frames, false);
}

// The sample with its first line holding `from` changed into `to`.
std::string edited(const std::string& from, const std::string& to)
{
    std::string s = sample();
    const size_t at = s.find(from);
    if (at == std::string::npos) return "not found: " + from;
    return s.replace(at, from.size(), to);
}

// The sample without the line that starts with `start`.
std::string withoutline(const std::string& start)
{
    std::string s = sample();
    const size_t at = s.find("\n" + start) + 1;
    return s.erase(at, s.find('\n', at) + 1 - at);
}

}  // namespace

TEST(Recording, DigestCoversEverySlotAndNamesWhatDiffers)
{
    resetworld();
    putenemy(ENEMYMONSTER, 50, 9);
    const Digest before = digestnow();
    ASSERT_EQ(before.count, (int)digestnames().size());

    // A change in any slot, live or free, shows in its kind's field only.
    Rig::x(Rig::monster(98)) += 1;
    Rig::decay(Rig::corpse(57)) = 0.5f;
    score = 12;
    night = 0.25f;
    const Digest& after = digestnow();
    Checkpoint recorded{60, std::vector<uint32_t>(before.value, before.value + before.count)};
    const std::vector<int> places = digestplaces(digestnames());
    EXPECT_EQ(digestdiff(recorded, places, after),
              "score is 12, recorded 0; night is 0.25, recorded 0; monster.x, corpse.decay differ");
    int changed = 0;
    for (int i = 0; i < after.count; i++) changed += after.value[i] != before.value[i];
    EXPECT_EQ(changed, 4);
    recorded.value.assign(after.value, after.value + after.count);
    EXPECT_EQ(digestdiff(recorded, places, after), "");
}

// A recording whose checkpoints hold the fields names, each with the value
// the world's digest gives it now, and 0 for a field the game lacks.
std::string withfields(const std::vector<std::string>& names)
{
    const std::vector<std::string>& game = digestnames();
    const Digest& now = digestnow();
    std::string text = recordingheader(MAPFILESIZE, mapcrc, "", digestnames());
    text.erase(text.find("digest") + strlen("digest"));   // keeps the word, not the names
    std::string values;
    char word[12];
    for (const std::string& name : names) {
        text += " " + name;
        const size_t i = std::find(game.begin(), game.end(), name) - game.begin();
        std::snprintf(word, sizeof word, " %08x", i < game.size() ? (unsigned)now.value[i] : 0u);
        values += word;
    }
    return text + "\n" + worldline(50, "-----") + "c 50" + values + "\n" + endline(50, false);
}

TEST(Recording, DamagedAndHostileFilesAreRefused)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "is empty"},
        {"PK\x03\x04 a zip file\n", "line 1: holds a character a recording never has"},
        {edited("w 20 -----", "w 20 -----\x7f"), "line 6: holds a character a recording never has"},
        {"kuurakarpalo recording 2\n", "line 1: is in recording format 2; this game reads format 1"},
        {sample() + "w 1 -----\n", "line 15: text follows the end line"},
        {edited("w 29 ----S", "w 31 ----S"), "run past the checkpoint due after frame 50"},
        {edited("w 20 -----", "w 51 -----"), "a world line is not \"w COUNT KEYS\""},
        {edited("w 20 -----", "w -1 -----"), "a world line is not"},
        {edited("w 20 -----", "w 99999999999999999999 -----"), "a world line is not"},
        {edited("w 20 -----", "w 20 X----"), "keys are not of the form UDLRS"},
        {edited("w 20 -----", "b 2\nw 20 -----"), "a box frame comes before the first world frame"},
        {edited("k SU", "k SUX"), "keys among S123UD"},
        {edited("k SU", "k " + std::string(BOXKEYMAX + 1, 'S')), "keys among S123UD"},
        {edited("k SU", "k QS"), "keys among S123UD, then Q"},
        {edited("k SU", "k SQQ"), "keys among S123UD, then Q"},
        {edited("k SU", "k SUQ"), "input follows the box frame in which the game closed"},
        {edited("c 60", "k Q\nb 1\nc 60"), "input follows the box frame in which the game closed"},
        {edited("c 60", "k Q\nk S\nc 60"), "input follows the box frame in which the game closed"},
        {edited("c 60", "k SQ\nk SQ\nc 60"), "input follows the box frame in which the game closed"},
        {edited("b 3", "b 0"), "a box line is not"},
        {edited("c 50", "c 49"), "a checkpoint for frame 49 stands after frame 50"},
        {edited("c 50 00000000", "c 50 0000000g"), "not eight hexadecimal digits"},
        {edited("c 50 00000000 ", "c 50 "), "a checkpoint is not \"c FRAME\" and"},
        {withoutline("c 50"), "the checkpoint after frame 50 is missing"},
        {edited("c 60", "w 1 -----\nc 61"), "the end line does not give the 61 world frames"},
        {edited("end 60", "end 61"), "the end line does not give the 60 world frames"},
        {edited("end 60 player", "end 60"), "the end line does not give the 60 world frames"},
        {edited("end 60 player", "end 60 someone"), "whether the player or the game ended it"},
        {edited("checkpoints 50", "checkpoints 0"), "no checkpoint interval"},
        {edited("checkpoints 50", "checkpoints 50 7"), "no checkpoint interval"},
        {edited("end 60", "b 1\nend 60"), "the last frame has no checkpoint"},
        {edited("game 1.0", "game"), "has no game version"},
        {edited("map 792032", "map -5"), "has no map size and checksum"},
        {edited("w 10 -D---", "w 10 -D---\n\n"), "is empty"},
        {edited("w 10 -D---", "w 10 -D---" + std::string(9000, ' ')), "longer than 8192 characters"},
        {edited(" finalscore ", " score "), "lists the digest field score twice"},
        {edited("end 60", "bogus"), "\"bogus\" is not a line of a recording"},
        // Bounds far beyond a game played, met at the line that passes one.
        {edited("b 3", repeated("b 50\n", BOXFRAMESMAX / 50) + "b 1"), "line 34568: holds more than 1728000 box frames"},
        {edited("b 3", repeated("k U\n", INPUTLINESMAX)), "line 1048582: holds more than 1048576 lines of input"},
        {longgame(WORLDFRAMESMAX + 1), "line 34583: holds more than 1728000 world frames"},
    };
    EXPECT_EQ(parsed(longgame(WORLDFRAMESMAX)), "ok");
    for (const auto& [text, error] : cases) {
        const std::string got = parsed(text);
        EXPECT_NE(got.find(error), std::string::npos) << "got: " << got << "\nexpected: " << error;
    }
    // The shortest interval is one world frame.
    EXPECT_EQ(parsed(edited("checkpoints 50", "checkpoints 1")).find("interval"), std::string::npos);
    EXPECT_EQ(parsed(std::string(RECORDINGMAX + 1, 'x')), "is larger than 64 MiB");
    EXPECT_EQ(filetext(writefile("x", "one.txt")), "x");   // a last read of one byte
}

// What cannot be recorded to or played back fails to open, with one line said.
// Checkpoints compare by name; a field one side lacks is said once, unchecked.
TEST(Recording, OpeningAndFieldsComparedByName)
{
    resetworld();
    std::vector<std::string> lacking = digestnames(), extra = digestnames(), reordered = digestnames();
    lacking.erase(lacking.begin() + 1);   // finalscore
    lacking.erase(std::find(lacking.begin(), lacking.end(), "monster.x"));
    extra.insert(extra.begin() + 3, "monster.shoesize");
    std::reverse(reordered.begin(), reordered.end());
    const std::vector<std::vector<std::string>> named = {digestnames(), lacking, extra, reordered};
    const struct {
        std::string record, play;
        bool opens;
        const char* note;   // the end of what stderr says, "" for nothing
    } cases[] = {
        {scratchdir() + "/none/r.rec", "", false, "\n"},
        {"", scratchdir() + "/missing.rec", false, "\n"},
        {"", writefile(withfields(named[0]), "all.rec"), true, ""},
        {"", writefile(withfields(lacking), "lacking.rec"), true,
         "\": fields left unchecked: it lacks finalscore, monster.x\n"},
        {"", writefile(withfields(extra), "extra.rec"), true,
         "\": fields left unchecked: the game no longer has monster.shoesize\n"},
        {"", writefile(withfields(reordered), "reordered.rec"), true, ""},
        {"", writefile(withfields({digestnames()[0]}), "first.rec"), true, "\n"},   // the others unchecked
        {"", writefile(withfields({"monster.shoesize"}), "none.rec"), false, "shares no digest field with this game\n"},
    };
    for (const auto& c : cases) {
        resetoptions();
        options.record = c.record.empty() ? nullptr : c.record.c_str();
        options.play = c.play.empty() ? nullptr : c.play.c_str();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(openinput(), c.opens) << c.record << c.play;
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), *c.note ? 1 : 0) << err;
        EXPECT_EQ(err.substr(err.size() - std::min(err.size(), strlen(c.note))), c.note) << err;
        if (c.opens) closeinput();
    }
    resetoptions();

    // The world as recorded matches; then monster.x and finalscore change,
    // which only some of the recordings check, and score, which all do.
    for (const auto& names : named) {
        Recording r;
        ASSERT_EQ(parsed(withfields(names), &r), "ok");
        const std::vector<int> places = digestplaces(r.names);
        EXPECT_EQ(digestdiff(r.checkpoints[0], places, digestnow()), "");
        Rig::x(Rig::monster(3)) += 1;
        finalscore = 7;
        const bool checked = &names != &named[1];
        EXPECT_EQ(digestdiff(r.checkpoints[0], places, digestnow()),
                  checked ? "finalscore is 7, recorded 0; monster.x differ" : "");
        score = 12;
        EXPECT_EQ(digestdiff(r.checkpoints[0], places, digestnow()),
                  checked ? "score is 12, recorded 0; finalscore is 7, recorded 0; monster.x differ"
                          : "score is 12, recorded 0");
        resetworld();
    }
}

namespace {

// The recording's text as the game's writers put it: header, the input
// with the checkpoints where they were taken, and the end.
std::string written(const Recording& r)
{
    std::string out = recordingheader((long)r.mapsize, r.mapcrc, r.language, digestnames());
    size_t next = 0;
    for (size_t c = 0; c <= r.checkpoints.size(); c++) {
        const size_t upto = c < r.checkpoints.size() ? r.checkpointat[c] : r.input.size();
        for (; next < upto; next++) {
            const RecordedInput& in = r.input[next];
            out += in.box ? boxline(in.count, in.keys) : worldline(in.count, in.keys);
        }
        if (c == r.checkpoints.size()) break;
        Digest d{};
        d.count = (int)r.checkpoints[c].value.size();
        std::copy(r.checkpoints[c].value.begin(), r.checkpoints[c].value.end(), d.value);
        out += checkpointline(r.checkpoints[c].frame, d);
    }
    return out + (r.cut ? "" : endline(r.frames, r.endedbygame));
}

// Plays a recording back whole, unpaced, with or without drawing; the
// digest's CRC after every world frame.
std::vector<uint32_t> playback(const std::string& path, bool drawing)
{
    const std::string language = gamelanguage;
    newworld();
    resetoptions();
    options.play = path.c_str();
    options.fast = true;
    fastframes = true;
    headless = !drawing;
    std::vector<uint32_t> crcs;
    if (!openinput()) return crcs;
    for (bool quit = false; !quit;) {
        quit = runframe();
        const Digest& d = digestnow();
        crcs.push_back(crc32(0, (const Bytef*)d.value, d.count * 4));
    }
    headless = false;
    setlanguage(language);
    const Played played = playbackresult();
    EXPECT_EQ(played.difference, "") << path;
    EXPECT_TRUE(played.ended) << path;
    EXPECT_EQ(closeinput(), 0) << path;
    return crcs;
}

}  // namespace

struct Recordings : World {};

// Every golden recording parses, the game's writers make its text again
// byte for byte; a game plays back to its end, every checkpoint matching,
// with the world the same frame by frame whether drawn or not.
TEST_F(Recordings, TheGoldenRecordingsReadWriteAndPlayAlike)
{
    for (const char* name : {"arrivals", "death", "edges", "english", "fights", "friends", "messages"}) {
        const std::string path = std::string("tests/golden/") + name + ".rec";
        Recording r;
        std::string error, text;
        ASSERT_TRUE(readrecording(path.c_str(), r, error)) << path << ": " << error;
        ASSERT_TRUE(readwhole(path, RECORDINGMAX, text));
        const size_t from = r.game == VERSION && r.names == digestnames() ? 0 : text.find("\nw ");
        EXPECT_EQ(written(r).substr(from), text.substr(from)) << path;
    }
    // Every golden game plays back in its own test; one of them here.
    const std::vector<uint32_t> drawn = playback("tests/golden/death.rec", true);
    EXPECT_EQ(drawn.size(), 1510u);
    EXPECT_EQ(playback("tests/golden/death.rec", false), drawn);
    closing = 1;   // a signal cuts the check short: neither finished nor refused
    EXPECT_EQ(verifyrecording("tests/golden/death.rec").code, -1);
}

// Each checkpoint reaches the disk, not only the system's cache, and so does
// the recording's name in its folder, once.
TEST_F(Recordings, EachCheckpointIsSynced)
{
    const std::string path = scratchdir() + "/synced.rec";
    options.record = path.c_str();
    ASSERT_TRUE(openinput());
    const int before = fsyncs;
    bool quit = false;
    for (int f = 1; f <= 120; f++) {
        worldinput(quit);
        worldframedone(f == 120);
    }
    EXPECT_EQ(fsyncs - before, 3 + 1) << "checkpoints after frames 50, 100 and 120, and the folder";
    EXPECT_EQ(closeinput(), 0);
}

// Input asked for after the recording's last frame is a difference, never a
// read past its end.
TEST_F(Recordings, InputPastTheEndIsADifference)
{
    const std::string path = writefile(withfields(digestnames()), "past.rec");   // 50 world frames
    options.play = path.c_str();
    ASSERT_TRUE(openinput());
    bool quit = false;
    for (int f = 0; f <= 50; f++) worldinput(quit);
    EXPECT_NE(playbackresult().difference.find("the game reads on after the recording's end"), std::string::npos)
        << playbackresult().difference;
}
