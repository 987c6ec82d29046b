// Kept games: the games folder, its index and the standings, the check of
// a recording by playing it back, the table of the best and keeping a game.
#ifndef KUURAKARPALO_GAMES_H
#define KUURAKARPALO_GAMES_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Kept games: the games folder (games.cpp), and the table of the best games
// checked by playing them back (scores.cpp)

const int BESTGAMES = 10;             // games the table ranks
const int LASTGAMES = 20;             // the newest games kept besides the best
const long long GAMESBYTES = 64LL << 20;   // bytes the folder holds at most, but for the best games
const char* const GAMESFOLDER = "kuurakarpalo/games";   // under the data home
const char* const GAMESINDEX = "index";                 // the folder's cache of what each recording holds
const char* const ELSEWHERE = "-elsewhere";             // the end of a kept name: a game played elsewhere

// The folder of kept games: under $XDG_DATA_HOME when that is an absolute
// path, else under ~/.local/share; "" when neither is known.
std::string gamespath(const char* xdgdatahome, const char* home);
// That of this environment.
std::string gamesfolder();
// A recording file in the folder, as it lies there.
struct Gamefile {
    std::string name;   // its name in the folder ("2026-12-07_23-15-57.rec")
    long long size;     // bytes
};
// The recordings in folder (files named *.rec), by name: the oldest first.
std::vector<Gamefile> listgames(const std::string& folder);
// Makes folder and those above it; false, with why, when it cannot.
bool makefolder(const std::string& folder, std::string& why);
// A new file in folder named by the local date and time (and suffix), never
// one that exists: open for writing, its name in name; nullptr, with why.
FILE* newgamefile(const std::string& folder, const char* suffix, std::string& name, std::string& why);
// Writes text into path whole or not at all: into a file beside it, synced
// to the disk, then renamed over it, and the folder synced. False, with why.
bool writeatomically(const std::string& path, const std::string& text, std::string& why);
// Reads a file of at most most bytes whole; false when it cannot.
bool readwhole(const std::string& path, long most, std::string& text);
// Removes a recording from the folder, and its standing.
bool removegame(const std::string& folder, const std::string& name);

// The last check that found a kept game finished: it stays the game's place
// in the table when a later version of the game cannot play it back.
struct Standing {
    bool known;            // the game ever verified
    std::string game;      // the version of the game that checked it
    long long mapsize;     // the map file it was checked on
    uint32_t mapcrc;
    int score;             // what that check found
    int frames;
};
// What a kept recording holds, as playing it back found.
struct Keptgame {
    std::string name;      // its file in the folder
    long long size;        // bytes
    uint32_t crc;          // CRC-32 of its bytes
    // ended and played back to its score; stopped before its end; does not
    // play back as recorded; read but not yet played back
    enum State { FINISHED, CUT, REFUSED, UNCHECKED } state;
    int score;             // a finished game's final score
    int frames;            // world frames played
    std::string language;  // its texts' language; "" Finnish
    std::string version;   // the game that made it
    Standing standing;     // its last check that verified it, by this game or an earlier one
};
// The folder's index (gamesindex.cpp): the game and map that checked the
// recordings, and a row for each, by name.
struct Gamesindex {
    std::string game;
    long long mapsize;
    uint32_t mapcrc;
    std::map<std::string, Keptgame> rows;
};
// The index's text for games checked by game on a map; the games not yet
// checked have no row.
std::string indextext(const std::string& game, long long mapsize, uint32_t mapcrc,
                      const std::vector<Keptgame>& games);
// Reads an index; false for one that cannot be trusted (damaged, foreign).
bool parseindex(const std::string& text, Gamesindex& index);
// A file name as the index writes it, any name the folder can hold on one
// word: %, spaces and control characters as %XX; and back, false for a word
// that no name gives.
std::string escapename(const std::string& name);
bool unescapename(const std::string& text, std::string& name);
// The file beside a recording that keeps its standing ("x.rec": "x.verified"),
// its text, and the standing it gives the game's bytes, false when it gives
// none: damaged, or written for other bytes.
std::string standingname(const std::string& recording);
std::string standingtext(const Keptgame& game);
bool parsestanding(const std::string& text, const Keptgame& game, Standing& standing);
// What a recording played back without a picture gives, from a new world.
struct Verdict {
    enum Code {
        VERIFIES = 0,        // it plays to its end, or a cut one to its last checkpoint, every checkpoint matching
        UNPLAYABLE = 1,      // it cannot be played: damaged, too large, of another map or language
        DIFFERS = 3,         // it no longer matches the game
        INTERRUPTED = -1,    // the game was closed during the check
        NOMAP = -2,          // the map file could not be read: nothing was checked
    } code;
    bool finished;         // it has its end, not cut short
    int score;             // the score it ends with
    int frames;            // world frames it holds
    int reached;           // world frames played when the check ended
    std::string line;      // why it does not verify, or that it was cut short
    std::string language, version;   // the recording's: its texts' language, the game that made it
    long long mapsize;     // the map file it was made on: its size and CRC-32
    uint32_t mapcrc;
};
// Plays a recording's text back without a picture or sound, as fast as it
// goes, checking every checkpoint, and puts the world back to a new game's;
// label names it in the lines said of it.
Verdict verifytext(const std::string& text, const std::string& label);
// The same for the recording at path, read once.
Verdict verifyrecording(const char* path);
// The kept games, oldest first, each played back once: the folder's index
// says what each recording holds while the file is unchanged. With check,
// those not yet checked are played back, the index written again, and each
// recording that does not verify, and an index that cannot be trusted, is
// one warning on stderr; without, they are only read (UNCHECKED).
std::vector<Keptgame> keptgames(const std::string& folder, bool check);
// The finished games in the order of the table, the best BESTGAMES, each
// by its score or, one that this game cannot play back, by its standing;
// with unchecked, those not yet played back as if they were, by their
// recorded scores.
std::vector<const Keptgame*> bestgames(const std::vector<Keptgame>& games, bool unchecked);
// Removes the recordings beyond the best BESTGAMES and the newest
// LASTGAMES, the oldest first, and beyond GAMESBYTES in all the oldest but
// the best.
void prunegames(const std::string& folder, std::vector<Keptgame>& games);
// Whether a game's file says it was played elsewhere, kept with --keep.
bool fromelsewhere(const std::string& name);
// The table of the best over the kept picture, the row of the game mine
// marked, in the game's font.
void drawtable(const std::vector<const Keptgame*>& best, const std::string& mine);
// A game ranked only by its standing: this version of the game cannot play
// it back. The score and the length it ranks by.
bool olderversion(const Keptgame& game);
int keptscore(const Keptgame& game);
int keptframes(const Keptgame& game);
// A row's date and length as the table shows them ("2026-12-07 23:15",
// "4:05").
std::string gamedate(const std::string& name);
std::string gamelength(int frames);

// Starts recording a live game, neither recorded with --record nor played
// back, into a new file of the folder as its first frame comes, unless the
// settings say not to keep games; if the folder cannot be written, says so
// once and plays on unrecorded.
void keepgame();
// After the last frame of a game: the recording closed, a kept game checked
// and ranked, and after the dark end the table over the last picture until
// a key goes down. The exit code the game ends with.
int finishgame();
// What the command line asks besides a game: --scores, --verify, --keep,
// and --watch's recording found. The exit code to end with, or -1 to play.
int gamescommand();

#endif
