// Kuurakarpalo: the one shared header. Every module includes it; read it as
// the table of contents of the game, section by section: the frame, the
// presentation, the world, the characters, and the queries between them.
#ifndef KUURAKARPALO_MAIN_H
#define KUURAKARPALO_MAIN_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <GL/gl.h>

#include <csignal>
#include "fontletters.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The test rig's window into private state. Only the tests define it.
struct Rig;

// ---------------------------------------------------------------------------
// Frame: start-up, the frame loop, shutdown (main.cpp, init.cpp, timer.cpp)
// ---------------------------------------------------------------------------

const int SCREEN_WIDTH = 1024;      // pixels
const int SCREEN_HEIGHT = 768;      // pixels
const int SCREEN_BPP = 32;          // bits per pixel
const int FRAMES_PER_SECOND = 40;   // ceiling of the frame rate
const int FRAMEMS = 1000 / FRAMES_PER_SECOND;   // milliseconds, 25: the shortest frame
const int SLEEPMARGIN = 2;          // milliseconds before a frame's end polled, not slept

// Millisecond stopwatch over SDL_GetTicks. The one instance, fps, paces every
// frame loop: start() at the top of a frame, waitframe() at its end.
class Timer {
    int startTicks;    // SDL_GetTicks() at start, shifted forward by unpause
    int pausedTicks;   // elapsed milliseconds frozen by pause; 0 otherwise
    bool paused;
    bool started;
    friend struct Rig;

public:
    constexpr Timer() : startTicks(0), pausedTicks(0), paused(false), started(false) {}
    void start();
    void stop();
    void pause();
    void unpause();
    int get_ticks();
    bool is_started();
    bool is_paused();
};

extern bool key[9];          // main.cpp: [0..3] up, down, left, right held; [4] space pressed this frame
enum { KEYUP, KEYDOWN, KEYLEFT, KEYRIGHT, KEYSPACE };   // the entries of key the game uses
extern SDL_Event event;      // main.cpp: the record every event loop polls into
extern int score;            // main.cpp: points, printed every frame
extern int finalscore;       // main.cpp: score of the last living frame
extern float night;          // main.cpp: darkness, 0 day .. 1 night; above 100 ends the game
extern int lastmonster;      // main.cpp: monster slot whose step runs, -1 outside the loop
extern int lastneutral;      // main.cpp: neutral slot whose step runs, -1 outside the loop
extern Mix_Music* music;     // main.cpp: the background track, empty if it failed to load
extern Mix_Chunk* hit1;      // main.cpp: the player's death sound, empty if it failed to load
extern Timer fps;            // main.cpp: the frame timer, built right after map

// Waits until fps counts FRAMEMS: asleep while more than SLEEPMARGIN
// milliseconds remain, then polling. A late frame returns at once.
void waitframe();

// Sleeps a frame's length: how a loop that waits for the player gives the
// processor away.
void rest();

// Absolute value of a float.
float ABS(float a);

// What the player's keys do: walk, swing the sword, quit and pause, each
// bound to keys of the player's choice; the first five are the entries of
// key the world reads. Alt+Enter switches full screen, bound to nothing. A
// tap on a touch screen's picture closes a message box as the swing does,
// and does nothing in the world.
enum Action {
    ACTIONUP = KEYUP, ACTIONDOWN = KEYDOWN, ACTIONLEFT = KEYLEFT, ACTIONRIGHT = KEYRIGHT, ACTIONSWING = KEYSPACE,
    ACTIONQUIT, ACTIONPAUSE, ACTIONS,
    ACTIONFULLSCREEN = ACTIONS, ACTIONTAP
};
const int BINDINGKEYS = 8;   // keys one action takes at most
// The keys bound to one action.
struct Binding {
    int count;
    SDLKey keys[BINDINGKEYS];
};

// What the settings file and the command line ask for.
struct Options {
    bool window = false;          // a window instead of full screen
    int windowwidth = SCREEN_WIDTH;     // pixels: the window's size when it opens
    int windowheight = SCREEN_HEIGHT;
    bool sound = true;            // false: no audio device, no music, no effect
    int musicvolume = MIX_MAX_VOLUME;     // 0..128, SDL_mixer's scale
    int effectsvolume = MIX_MAX_VOLUME;   // 0..128
    Binding bindings[ACTIONS] = {        // indexed by Action
        {1, {SDLK_UP}}, {1, {SDLK_DOWN}}, {1, {SDLK_LEFT}}, {1, {SDLK_RIGHT}},
        {1, {SDLK_SPACE}}, {1, {SDLK_ESCAPE}}, {1, {SDLK_p}}};
    std::string language;         // a language code ("en", "fi_FI"); empty: the environment's
    const char* config = nullptr; // the settings file given with --config
    const char* data = nullptr;   // the data directory given with --data
    const char* record = nullptr; // record the game into this file
    const char* play = nullptr;   // play back the recording in this file
    bool fast = false;            // play back without waiting between frames
    bool lefthanded = false;      // the web page's touch pad: the sword on the left
    bool keepgames = true;        // record every game played into the games folder
    bool scores = false;          // print the table of the best games kept and exit
    int watch = 0;                // play back the watch-th best game kept; 0 none
    const char* verify = nullptr; // check the recording in this file without a picture
    const char* check = nullptr;  // check the recording in this file and print the verdict for programs
    const char* keep = nullptr;   // check the recording in this file and keep it among the games
    bool help = false;            // show the help and exit
    bool version = false;         // show the version and exit
};
extern Options options;   // options.cpp: the settings file and the command line of this run
extern const char VERSION[];   // options.cpp: the game's version, as "1.0"

// One option of the command line. --help prints the rows in order, the
// manual page is made from --help, and the README's table of options holds
// one line a row. A row that sets something lasting names its key in the
// settings file: an option with an argument takes the same value there
// ("language = en"); a switch gives its key a fixed value ("--window" is
// "fullscreen = no").
struct OptionRow {
    const char* name;       // "data" for --data
    const char* argument;   // "DIR" for --data DIR; nullptr for a switch
    const char* help;       // what it does, as --help, the manual and the README say it
    // Takes the option in, with its argument: nullptr, or what is wrong
    // with the argument ("takes a number from 0 to 128").
    const char* (*apply)(const char* argument);
    const char* setting;    // its key in the settings file, or nullptr for none
    const char* value;      // a switch's value for its key ("no"); nullptr for an option with an argument
    // The value its key holds now, as the settings file writes it ("no",
    // "1024x768", "Up W"); nullptr for a row without a key.
    std::string (*current)() = nullptr;
};
extern const OptionRow OPTIONROWS[];   // options.cpp: every option, in the order --help gives them
extern const int NOPTIONROWS;
// How a row is written on the command line: "--data DIR".
std::string optionusage(const OptionRow& row);

// Reads the settings file and then the command line into options: the
// command line overrides the file. Returns -1 when the game should go on,
// or the exit code to end with at once: 0 after --help or --version, 2
// after a usage error, with a one-line hint on stderr. A settings file that
// cannot be read whole never ends the game: see readsettings.
int parseoptions(int argc, char* argv[]);

// Keeps freed memory in the heap; catches the signals that close the game;
// opens SDL, the display (opendisplay), audio (unless options.sound is
// false) at the options' volumes, the fixed GL state and the caption. False
// at the first step that fails, after one line on stderr naming the step
// and SDL's or the mixer's reason.
bool init();
// Sets the clear colour and the pixel-exact projection; false on a GL error.
bool init_GL();
// For a world without a picture: catches the signals that close the game
// and starts SDL with nothing of it open, no display and no audio. False
// after one line on stderr.
bool initheadless();
// Closes everything init and start-up opened, in reverse.
void clean_up();
// Ends the program from anywhere with code: closes what init opened (the
// display above all) and finishes the recording first.
[[noreturn]] void quitgame(int code);
// Called by quitgame before it closes anything, while everything the game
// holds can still be read; empty but on the web, where the page takes the
// table of the kept games then.
extern void (*gameending)();   // init.cpp

// Start-up loading between init and the first frame, in its fixed order.
void startup();
// Fills the fixed texture slots from DATA/.
void LoadTextures();
// The decimal text of a score; fp holds any int whole.
const int SCORETEXT = 12;    // characters, terminator included
void scoretext(int value, char fp[SCORETEXT]);
// Whether the world has gone dark after the hero's death: the game ends by
// itself after this frame.
bool darkend();
// One frame of the main loop, paced to at least FRAMEMS. Returns true once the
// loop must end after this frame.
bool runframe();

// ---------------------------------------------------------------------------
// The display: a window or the whole screen (display.cpp). The game draws in
// SCREEN_WIDTH by SCREEN_HEIGHT logical pixels; the viewport scales them into
// the largest centred 4:3 rectangle, with black bars beside or above it.
// ---------------------------------------------------------------------------

const int WINDOWMINWIDTH = 320;    // pixels: the smallest window kept
const int WINDOWMINHEIGHT = 240;   // pixels

// A rectangle of the display in its own pixels, from its bottom-left
// corner, as glViewport takes it.
struct Viewport {
    int x, y, w, h;
};
extern Viewport viewport;   // display.cpp: where the picture lies on the display
extern bool fullscreen;     // display.cpp: the display is the whole screen, not a window

// The largest 4:3 rectangle centred in a display of w by h pixels.
Viewport fitviewport(int w, int h);
// Moves a window's size into bounds: at least WINDOWMINWIDTH by
// WINDOWMINHEIGHT, at most the desktop (or the logical screen, if larger).
void clampwindow(int& w, int& h);
// Sets the display options ask for: full screen at the desktop's own
// resolution, or a resizable window of options.windowwidth by
// options.windowheight. False, with SDL's reason in SDL_GetError, if none.
bool opendisplay();
// The window as the player resized it, clamped; nothing in full screen.
void resizewindow(int w, int h);
// Between full screen and the window, as Alt+Enter asks.
void togglefullscreen();
// After a mode change that gave a new OpenGL context: the fixed GL state,
// every texture slot uploaded again from its pixels and the font's lists.
void restorecontext();

// ---------------------------------------------------------------------------
// Settings: the file of lasting settings (settings.cpp)
// ---------------------------------------------------------------------------

const char* const SETTINGSFILE = "kuurakarpalo/kuurakarpalo.conf";   // under the configuration directory
const long SETTINGSMAX = 64L << 10;   // bytes a settings file may hold
const int SETTINGSLINEMAX = 1024;     // characters in one of its lines
const int SETTINGSWARNINGS = 8;       // warnings given for one file; the rest are counted

// Where the settings file lies: under $XDG_CONFIG_HOME when that is an
// absolute path, else under ~/.config; "" when neither is known.
// The path below an XDG base directory: below the directory its variable
// names when that is absolute, else below the fallback in home; "" when
// neither is known.
std::string basedirpath(const char* xdghome, const char* home, const char* fallback, const char* below);
std::string settingspath(const char* xdgconfighome, const char* home);
// The settings file of this environment, as settingspath finds it.
std::string settingsfile();
// Takes in the text of a settings file: lines "key = value", where a key is
// the settings key of an option row, '#' starts a comment and blank lines
// are skipped. Every line that cannot be taken in (an unknown key, a bad
// value, a damaged line) leaves what it would set as it was and adds a
// warning "kuurakarpalo: NAME:LINE: why" to warnings.
void parsesettings(const char* text, size_t size, const std::string& name, std::vector<std::string>& warnings);
// Reads the settings file at path into options. A missing file is quietly
// no settings, unless given says the player named it; a file that cannot
// be read, is not a text file or is larger than SETTINGSMAX is skipped
// whole. Every problem is one warning line on stderr (at most
// SETTINGSWARNINGS, then one that counts the rest); the game goes on.
void readsettings(const std::string& path, bool given);

// The key of a name, as the settings write it ("Up", "W", "Space", "KP8"),
// in any case; SDLK_UNKNOWN for a name it does not know.
SDLKey keynamed(const std::string& name);
// The name the settings give a key ("Up"), or "" for a key without one.
std::string keyname(SDLKey sym);
// The names keynamed knows besides letters, digits, F1..F15 and KP0..KP9,
// separated by ", ".
std::string keynamelist();
// Reads binding from keys named by words ("Up W"; "none" for none): nullptr,
// or what is wrong, leaving binding as it was.
const char* readbinding(const char* words, Binding& binding);
// A binding as readbinding reads it: "Up W", or "none".
std::string bindingtext(const Binding& binding);
// What a settings file's text gives each key, as the game reads it: every
// key of the option rows, in their order, with its value in the form the
// settings write it, the default where the text sets none. Warnings as
// parsesettings gives them; options are left as they were.
std::vector<std::pair<std::string, std::string>> settingvalues(const std::string& text,
                                                               std::vector<std::string>& warnings);
// A settings file's text with the lines of changes (a settings text too)
// taken in: each key's first line gets the new value, its later lines go,
// and a key the text lacks is added at the end; every other line stays as
// written. A change that cannot be taken in is left out, with its warning.
std::string mergesettings(const std::string& text, const std::string& changes, std::vector<std::string>& warnings);

// ---------------------------------------------------------------------------
// Data: the directory that holds kuurakarpalo.map and DATA/ (datadir.cpp)
// ---------------------------------------------------------------------------

const char* const DATAENV = "KUURAKARPALO_DATA";   // environment variable naming the data directory

// Where the build put the data, as compiled in.
struct Datahomes {
    std::string installed;    // the installed data directory, absolute
    std::string fromgames;    // the same, relative to the installed executable's directory
    std::string buildtree;    // the build directory; empty without build-tree lookup
    std::string sourcetree;   // the repository's root, tried by executables under buildtree
    std::string locale;       // the installed catalogs' directory (share/locale), absolute
    std::string localefromgames;   // the same, relative to the installed executable's directory
};

// The places compiled into this program.
Datahomes builtdatahomes();
// Where to look, in order, each once: option, env, beside exe, installed, source tree, cwd.
std::vector<std::string> dataplaces(const Datahomes& homes, const char* option, const char* env,
                                    const std::string& exe, const std::string& cwd);
// Whether dir holds a regular file kuurakarpalo.map and a directory DATA.
bool holdsdata(const std::string& dir);
// The first place holding the data, or ""; tried gets each place looked at; strict: the first only.
std::string finddata(const std::vector<std::string>& places, bool strict,
                     std::vector<std::string>* tried);
// The one line that says where the data was looked for in vain.
std::string nodatamessage(const std::vector<std::string>& tried, bool strict);
// Changes into the data directory, option (--data, or null) first; false after one line on stderr.
bool enterdatadir(const char* option);
// A path named on the command line as seen from the working directory.
std::string absolutepath(const char* path);

// ---------------------------------------------------------------------------
// Language: the game's texts in the player's language (language.cpp)
// ---------------------------------------------------------------------------

// The game's texts are in Finnish, its own language, and they are the
// message ids of the GNU gettext catalogs that translate them. _("Pisteet:")
// marks a text where it is used and gives it in the game's language.
#define _(text) translated(text)
const char* const TEXTDOMAIN = "kuurakarpalo";   // a catalog is LANGUAGE/LC_MESSAGES/kuurakarpalo.mo

extern std::string gamelanguage;   // language.cpp: the language of the catalog in use ("en"); empty in Finnish
// text in the game's language: its translation, or text itself in Finnish.
const char* translated(const char* text);

// Whether text is a language as the environment writes one ("en",
// "fi_FI.UTF-8", "sr@latin"): a letter, then letters, digits and "_.@-", at
// most 32 characters.
bool languagecode(const std::string& text);
// The languages a player asks for, most wanted first, each as a catalog is
// named ("en_GB", then "en"): the option's alone when one is given; else
// the languages of LANGUAGE, a list separated by colons, and the locale's,
// the first of LC_ALL, LC_MESSAGES and LANG that is set. None when the
// locale is C or POSIX: the game's own texts then, as GNU programs do.
std::vector<std::string> languagesasked(const std::string& option, const char* language, const char* lcall,
                                        const char* lcmessages, const char* lang);
// Where the catalogs may lie, in order: the build tree's for a program in
// it, the installed ones beside the program, those where it was installed.
std::vector<std::string> localeplaces(const Datahomes& homes, const std::string& exe);
// The first of places that holds language's catalog; "" for none.
std::string findcatalog(const std::vector<std::string>& places, const std::string& language);
// The languages the game has its texts in: Finnish first, then each whose
// catalog lies where setlanguage looks.
std::vector<std::string> gamelanguages();
// Gives the game's texts in language: Finnish for "" or any Finnish,
// else from its catalog. False, and Finnish, when it has none.
bool setlanguage(const std::string& language);
// Sets this run's language, asked for by options.language or else by the
// environment: the first asked for that is Finnish or has a catalog, and
// Finnish when none does, after one warning if options.language asked.
void chooselanguage();

// ---------------------------------------------------------------------------
// Presentation: textures, font, message boxes (textures.cpp, font.cpp,
// messagebox.cpp)
// ---------------------------------------------------------------------------

const int TEXTURESLOTS = 19;

// What each texture slot holds; slots 13 to 18 stay empty.
enum TextureSlot {
    TEXGROUND,          // the map's first tile set: the ground layer
    TEXLAYERS,          // the map's second tile set: the second and the over layer
    TEXPANEL,           // the message box panel
    TEXFONT,            // the font's 16 by 16 glyphs
    TEXNEUTRAL,         // the neutrals' bodies
    TEXNEUTRALFLASH,    // their flash while invulnerable
    TEXCORPSE,          // the corpses
    TEXMONSTER,         // the monsters' bodies
    TEXMONSTERFLASH,    // their flash
    TEXPLAYER,          // the hero's body
    TEXPLAYERFLASH,     // his flash
    TEXSWORD,           // the blade
    TEXKEPT,            // the picture of a paused or ended game, while it is shown
};

// The files the game reads from its data directory, as paths under it: the
// pictures start-up loads into their slots (in this order), the tile sets a
// map's tset chooses, the music and the death sound. The list of the data
// files shipped with the game, dist/datafiles.txt, holds exactly these.
struct PictureFile {
    int slot;
    const char* file;
};
const PictureFile PICTURES[] = {
    {TEXPANEL, "DATA/message.tga"},  {TEXPLAYER, "DATA/player.tga"},   {TEXPLAYERFLASH, "DATA/playerl.tga"},
    {TEXMONSTER, "DATA/vauva.tga"},  {TEXMONSTERFLASH, "DATA/vauval.tga"}, {TEXCORPSE, "DATA/ruumiit.tga"},
    {TEXSWORD, "DATA/kirves.tga"},   {TEXFONT, "DATA/fontti.tga"},     {TEXNEUTRAL, "DATA/tonttu.tga"},
    {TEXNEUTRALFLASH, "DATA/tonttul.tga"}};
const char* const TILESETS[2][2] = {            // [tset]: the ground's and the layers' atlas
    {"DATA/iso1.tga", "DATA/iso2.tga"},         // outdoors
    {"DATA/luola1.tga", "DATA/luola2.tga"}};    // cave
const char* const MUSICFILE = "DATA/main.mp3";
const char* const HITFILE = "DATA/hit1.wav";
// The picture start-up loads into slot, or nullptr for none.
const char* picturefile(int slot);

// One texture slot; texID 0 while the slot holds nothing.
struct TextureImage {
    GLubyte* imageData;   // pixels as uploaded, rows in file order, RGB(A)
    GLuint bpp;           // bits per pixel, 24 or 32
    GLuint width;         // pixels
    GLuint height;        // pixels
    GLuint texID;         // OpenGL texture name
};

extern TextureImage textures[TEXTURESLOTS];   // textures.cpp: slots 0..18
extern int NTEXTURE;                          // textures.cpp: slot bound last, -2 before any

// Reads an uncompressed 24- or 32-bit TGA into texture and uploads it.
// Anything else, or a damaged file, is refused and leaves the slot empty.
bool LoadTGA(TextureImage* texture, const char* filename);
// Gives back what a slot holds, its texture and its pixels, and empties it.
void freetexture(TextureImage& texture);
// Uploads the pixels a slot holds as a new OpenGL texture, its texID.
void uploadtexture(TextureImage* texture);
// LoadTGA's reading and checking, from an open file at its first byte: on
// success the pixels, turned to RGB(A), and the sizes are in texture (texID
// untouched), and the image descriptor byte, which the game ignores, in
// descriptor if given; anything refused leaves texture as it was. The one
// TGA reader of the game, its tools and its tests.
bool readtga(FILE* file, TextureImage* texture, unsigned char* descriptor = nullptr);
// The bytes of a TGA file in that form: the header for width by height
// pixels of bpp bits (24 or 32) with the descriptor byte as given (bit 5 set
// tells viewers that the first row stored is the top), then size bytes of
// pixels given as RGB(A) rows in file order, stored blue first. The one
// writer; tests give fewer or no pixels for damaged files.
std::vector<unsigned char> tgabytes(int width, int height, int bpp, unsigned char descriptor,
                                    const unsigned char* pixels, size_t size);
// Binds slot n for drawing and records it in NTEXTURE.
void bindtexture(int n);

extern GLuint base;   // font.cpp: first of the font's 256 display lists

void BuildFont();
// Prints string, UTF-8, with its top-left corner at screen pixel (x, y); set
// 0 or 1 (above 1 counts as 1), color 0 white, anything else red. Each
// character is one glyph: printable ASCII, the letters of FONTLETTERS (and
// "{" and "}" as ä and ö), and a question mark for any other character and
// for each byte that does not start a whole UTF-8 character.
void glPrint(GLint x, GLint y, const char* string, int set, int color);
// The same for the first n characters of string only.
void glPrintn(GLint x, GLint y, const char* string, size_t n, int set, int color);
void KillFont();
// The next character of UTF-8 text at p, moving p past it: its code point,
// or UNREADABLE for a byte that does not start a whole character (p moves
// by that byte alone). p must not stand at the terminator.
const unsigned UNREADABLE = 0xFFFD;
unsigned nextchar(const char*& p);
// The characters in text, as glPrint counts them.
size_t textlength(const char* text);

// A modal panel of eight lines typed out over the frozen world; one press of
// space shows all lines, the next closes it. Always returns 0.
int Messagebox(const char* line1, const char* line2, const char* line3, const char* line4,
               const char* line5, const char* line6, const char* line7, const char* line8);
// The same panel with a choice among lines 6 to 8; returns the option, 1..num.
int Questionbox(const char* line1, const char* line2, const char* line3, const char* line4,
                const char* line5, const char* line6, const char* line7, const char* line8,
                int num);

// The state of one open box, advanced one box frame at a time.
struct Box {
    const char* lines[8];
    size_t lx[8];      // line lengths, characters
    int x;             // characters of line y shown
    int y;             // line being typed, 8 once all are shown
    bool repeat;       // the box stays open while true
    bool question;     // a question box: choice keys, no red eighth line
    int num;           // question box: number of options, 1..3
    int valinta;       // question box: the chosen option
};

// Opens a box: the arrow flags are cleared for a message box only.
void boxopen(Box& box, const char* const lines[8], bool question, int num);
// One key-down taken by an open box: space shows every line, then closes
// it; a question box also takes 1, 2, 3 and the up and down arrows.
void boxpress(Box& box, SDLKey sym);
// Runs one paced box frame: events, the frozen world, the panel, typing.
void boxframe(Box& box);

// ---------------------------------------------------------------------------
// World: map, camera, tiles, story, corpses (map.cpp, corpse.cpp)
// ---------------------------------------------------------------------------

const int MAPW = 199;                    // cells in each row and column of every grid
const int MAPCELLS = MAPW * MAPW;        // cells of one grid
const int TILE = 32;                     // pixels in a tile's side
const int SLOTS = 99;                    // slots of each character and corpse table
const int PLACESLOTS = 97;               // slots the placing functions fill
const int DAYLIGHT = 9;                  // light of full brightness
const char* const MAPFILE = "kuurakarpalo.map";

// What a map file holds: the world's size, its three tile layers, light and
// blocking, every grid whole, 199 by 199 cells row by row, and the tile set.
struct MapData {
    int sizex;               // tiles, 1..198
    int sizey;
    int tile[MAPCELLS];
    int tile2[MAPCELLS];
    int tile3[MAPCELLS];
    int light[MAPCELLS];
    int stop[MAPCELLS];
    int tset;                // 0 outdoors, 1 cave
};
const long MAPFILESIZE = 8 + 5L * MAPCELLS * 4 + 4;   // bytes: 792,032, every field 4 bytes

// The CRC-32 of zlib and PNG (mapfile.cpp): size bytes at data folded into
// crc, 0 to begin with. Map files and recordings' checkpoints carry it.
uint32_t crc32of(uint32_t crc, const void* data, size_t size);
// Reads the bytes of a map file (mapfile.cpp). Returns nullptr, or what is
// wrong with them: another size, or sides outside 1..198.
const char* parsemap(const unsigned char* bytes, size_t size, MapData& data);
// Reads a map file whole; crc, if given, gets the CRC-32 of its bytes.
const char* readmap(const char* path, MapData& data, uint32_t* crc);
// The bytes of a map file that holds data.
std::vector<unsigned char> mapbytes(const MapData& data);
bool writemap(const char* path, const MapData& data, std::string& error);

// The story's fixed tiles: where it places the hero and the characters it
// brings. A map for the game keeps each of them on open ground.
struct StoryTile {
    int c, r;            // column and row
    const char* what;
};
const StoryTile PLAYERSTART = {46, 9, "player start"};
const StoryTile FRIENDTILES[10] = {
    {48, 9, "friend"}, {48, 8, "friend"}, {49, 6, "friend"}, {47, 7, "friend"}, {44, 9, "friend"},
    {44, 8, "friend"}, {43, 6, "friend"}, {45, 7, "friend"}, {43, 10, "friend"}, {49, 10, "friend"}};
const StoryTile WESTCAMP = {11, 9, "west monster camp"};
const StoryTile EASTCAMP = {79, 9, "east monster camp"};
const StoryTile WESTGATE = {11, 29, "west enemy gate"};
const StoryTile EASTGATE = {79, 29, "east enemy gate"};
const StoryTile NORTHGATE = {53, 3, "north arrival"};
const StoryTile SOUTHGATE = {46, 35, "south arrival"};
const StoryTile FIRSTCORPSE = {46, 12, "corpse"};
// Every story tile, the player's start first.
extern const StoryTile* const STORYTILES[18];   // map.cpp

// The script's clock counts frames from 0, noon of the first day. At script
// frame t the darkness is 1 - |cos(t / DAYRADIAN)|: 0 at noon, 1 at
// midnight, so a day and its night last DAYRADIAN * pi frames (6,283).
const double DAYRADIAN = 2000.0;   // script frames in a radian of the day's turn
const double DUSK = 0.25;          // darkness from which the day is over: friends stop coming
const double NIGHTFALL = 0.75;     // darkness above which it is night: enemies come more often
// The darkness at script frame t, worked out as the script does.
float darkness(int t);
// The first script frame of day n (0 the first) at which the darkness is
// no longer below DUSK; above NIGHTFALL; below DUSK again after midnight.
int duskframe(int day);
int nightframe(int day);
int dawnframe(int day);
// When the story speaks, in script frames.
const int OPENINGFRAME = 20;       // the opening lines
const int WARNINGLEAD = 46;        // how long before the first dusk the night is foretold
extern const int WARNINGFRAME;     // map.cpp: duskframe(0) - WARNINGLEAD, 1400

extern int stop[MAPCELLS];    // map.cpp: non-zero blocks movement; index row * 199 + column
extern int light[MAPCELLS];   // map.cpp: brightness at a cell's top-left corner, 9 full daylight

// Light at cell (c, r), with c and r moved to the nearest cell inside the grid.
int lightat(int c, int r);
// Whether the pixel point (px, py) lies in a blocked cell; outside the grid
// everything is blocked.
bool blockedat(float px, float py);

// The world pixel at the screen's top-left corner, gliding towards (nx, ny).
struct View {
    int x;      // pixels
    int y;      // pixels
    float nx;   // target x, pixels
    float ny;   // target y, pixels
    void set(int nnx, int nny);
    void move();
};
extern View Camera;   // map.cpp
// The camera's first view, pixels: over the hero's start, as far up as it goes.
const int STARTVIEWX = 992;
const int STARTVIEWY = 0;

// Whether world pixel (x, y) lies on the screen widened by 48 pixels left and up.
bool inscreen(int x, int y);

// The colour divisors of the night tint for red, green and blue.
struct Tint {
    float r, g, b;
};
Tint nighttint();
// Sets the current colour to cell (c, r)'s light under the tint, with alpha a.
void lightcolor(const Tint& t, int c, int r, float a);
// Draws one textured square of a cell's size, its top left at pixel (x, y),
// each corner lit as the corner of cell (c, r) it lies on and textured from
// (s0, t0) at the top left to (s1, t1); a glBegin/glEnd of its own.
void litcell(const Tint& t, int c, int r, float x, float y, float s0, float t0, float s1, float t1);

// What a drawing routine needs switched on: texturing alone (the ground),
// texturing with the alpha test GREATER 0.5 (upper tiles, bodies), texturing
// with blending SRC_ALPHA, ONE_MINUS_SRC_ALPHA (corpses, swords), or
// blending alone (health bars).
enum Pen { GROUND, CUTOUT, BLENDED, PLAIN };

// The GL switches that a run of drawing routines shares (layer.cpp). Each
// routine asks for its pen and only what differs is switched, instead of
// every routine switching on what it needs and off again. The routines
// still reset the model-view at their start and send their quads exactly
// as before, so the draws that reach OpenGL are the same: Mesa's software
// rasteriser (llvmpipe) can draw a quad differently when it shares a draw
// with a vertex off the screen, or when its vertex buffer fills elsewhere.
// A layer begins with everything off and the model-view at identity, as
// every drawing routine leaves them, and ends so.
class Layer {
    int pen = -1;   // switches in effect, -1 all off

public:
    ~Layer() { end(); }
    void use(Pen npen);
    // Starts quads in world pixels: the pen, texture slot bound, colour
    // white, the model-view translated by the camera.
    void world(Pen npen, int slot);
    // Switches everything off and loads the identity.
    void end();
};

// Draws one record, a corpse or a character's body, alone: in a layer of its
// own, as the tests and tools draw them one by one.
template <class T> void drawalone(T& record)
{
    Layer l;
    record.show(l);
}

// What a corpse shows: its row in the corpse strip, from the top, 1..16; 0
// marks a free slot. The hero falls as a villager.
enum CorpseKind { RAIDERCORPSE = 1, VILLAGERCORPSE = 2, MONSTERCORPSE = 3 };

class Corpse {
    int type;      // a CorpseKind; 0 free
    int x, y;      // top-left in map pixels
    int mapx;      // cell under the centre
    int mapy;
    int d;         // 1 or -1: mirrored or as stored
    float decay;   // opacity, 1 when placed
    friend struct Rig;

public:
    void put(int ntype, int nx, int ny);
    int gettype();
    // Ages the corpse in a drawn frame: each takes 0.0005 of its opacity,
    // so after 2,000 its slot is free. An off-screen corpse does not age.
    void age();
    // Draws the corpse, unless it is off the screen.
    void show(Layer& l);

    // Calls v(name, field) for every field, in declaration order.
    template <class V> void fields(V&& v)
    {
        v("type", type), v("x", x), v("y", y), v("mapx", mapx), v("mapy", mapy), v("d", d);
        v("decay", decay);
    }
};

// Places a corpse of kind type with its top-left at pixel (x, y) in the
// first free of slots 0..96; 1 if placed.
int putcorpse(int type, int x, int y);

// ---------------------------------------------------------------------------
// Characters (hahmo.cpp, weapon.cpp, player.cpp, neutrals.cpp, monsters.cpp)
// ---------------------------------------------------------------------------

// Sides: the hero and his friends against the monsters and the raiders. The
// area tests take ANYSIDE for either.
enum Side { ANYSIDE = -1, PLAYERSIDE = 0, ENEMYSIDE = 1 };
// The side a character of this side fights.
inline int otherside(int side)
{
    return side == ENEMYSIDE ? PLAYERSIDE : ENEMYSIDE;
}

// What a computer character heads for: nobody, the hero, neutral slot i as
// TARGETNEUTRAL + i, monster slot i as TARGETMONSTER + i; a friend with
// nobody to fight follows the hero.
enum Target { TARGETFOLLOW = -1, TARGETNONE = 0, TARGETPLAYER = 1, TARGETNEUTRAL = 100, TARGETMONSTER = 200 };

// The type a live character slot holds; 0 marks a free slot. A neutral is a
// raider, of the enemy side, or a friend; a monster is a monster.
enum NeutralType { RAIDER = 1, FRIEND = 2 };
enum MonsterType { MONSTER = 1 };
// What putenemy brings: a raider into a neutral slot, or a monster.
enum EnemyKind { ENEMYRAIDER = 1, ENEMYMONSTER = 2 };

// The common body of every character: position easing towards a target that
// drifts, knockback, facing, walking animation, damage and health.
class Hahmo {
protected:
    float healtfade;      // opacity of the health bar, 0..1
    float angle;          // heading, radians, atan2(dx, dy)
    float mx;             // drift of the target, pixels per frame
    float my;
    int target;           // a target code: TARGETNONE, TARGETPLAYER, TARGETNEUTRAL + slot, ...
    int frame;            // walking frame, 0..3
    int side;             // PLAYERSIDE or ENEMYSIDE
    int counter;          // animation ticks, 0..5
    int invulnerability;  // frames left
    int invcounter;       // overlay flash ticks, 0..2
    int invcolor;         // overlay flash phase, 1 or -1
    float x;              // body top-left, pixels
    float y;
    float nx;             // target, pixels
    float ny;
    float forcex;         // knockback velocity, pixels per frame
    float forcey;
    int staticx;          // body centre at the last setposition
    int staticy;
    friend struct Rig;

public:
    int d;                // facing: 0 up, 1 down, 2 left, 3 right
    int mapx;             // tile of the body centre
    int mapy;
    float healt;          // health, 100 full; the player's -100 once its death is handled

    Hahmo(int nnx, int nny, int nd);
    int move();
    void setposition(int nnx, int nny);
    // The queries every area test asks of every slot, defined here so that
    // they cost no call.
    int getx() { return (int)x; }
    int gety() { return (int)y; }
    int getd() { return d; }
    int getside() { return side; }
    bool vulnerable() { return invulnerability < 1; }
    bool moving();
    int animate();
    void hurt(float angle, float amount, float damage);
    // What a drawn frame moves on: the invulnerable body's flash turns its
    // colour every third one; the health bar, on the screen, fades by a
    // hundredth.
    void flash();
    void fadehealt();

    // Calls v(name, field) for every field, in declaration order.
    template <class V> void fields(V&& v)
    {
        v("healtfade", healtfade), v("angle", angle), v("mx", mx), v("my", my);
        v("target", target), v("frame", frame), v("side", side), v("counter", counter);
        v("invulnerability", invulnerability), v("invcounter", invcounter);
        v("invcolor", invcolor), v("x", x), v("y", y), v("nx", nx), v("ny", ny);
        v("forcex", forcex), v("forcey", forcey), v("staticx", staticx), v("staticy", staticy);
        v("d", d), v("mapx", mapx), v("mapy", mapy), v("healt", healt);
    }

protected:
    void addx(float ax);
    void addy(float ay);
    void force();
    void addforce(float angle, float amount);
    // Draws the health bar above the body, as faded in this frame.
    void showhealt(Layer& l);
    // Brings a free slot into play on tile (nnx, nny) with full health; the
    // enemy side starts out hunting the player. Nothing else is reset.
    void enter(int nnx, int nny, int nd, int nside);
    // Once health has run out: a corpse of kind corpsekind where the body
    // lies, the slot (type) freed, and points for a fallen enemy.
    void fall(int& type, int corpsekind, int points);
    // The hero's cutting sword with its tip inside the body, 2 pixels in:
    // damage, knockback away from him and 20 frames of recovery; points for
    // a hit of the long sword.
    void takeplayersword(float damage, int points);
    // The target code of the nearest character of side mside, looked for in
    // growing squares around the body; 0 when nobody is near.
    int seektarget(int mside);
    // Heads for (tx, ty), turned by offset radians, at speed pixels a frame.
    void walkto(float tx, float ty, float speed, float offset);
    // Heads for the character a target code names; code 0 keeps the heading.
    // With wobble, the way to the player is turned by a random angle.
    void walktotarget(float speed, bool wobble);
    // After running into a wall: a quarter turn either way, at speed 2.
    void turnaside();
    // Draws the 32 by 32 body from a sprite sheet, lit by the character's
    // tile, and the flashing overlay while invulnerable.
    void showbody(Layer& l, int bodyslot, int overlayslot, float vtop, float vbottom);
};

// The sword of the player and the neutrals: a swing of seven cutting frames
// followed by a fade.
class Weapon {
protected:
    int swordhit;      // swing phase: 0 none, 1..6 swinging
    int swordd;        // facing at the strike; chooses the pivot
    float swordfade;   // opacity, 1 while swinging
    float sworda;      // blade angle, degrees
    float swordb;      // blade extension, 0..1
    friend struct Rig;

    // The last tip worked out by longswordtip and what it was worked out
    // from; every other character's step asks for it again unchanged.
    struct Tip {
        bool known;
        int d;
        float x, y, a, b;   // position, sworda, swordb
        float tipx, tipy;
    } tip;

    void swordcontrol();
    void swordstrike(int d);

public:
    Weapon() : swordhit(0), swordd(0), swordfade(0), sworda(0), swordb(0), tip{} {}
    bool cutting() { return swordfade >= 1; }
    float getlongswordx(int d, float x, float y);
    float getlongswordy(int d, float x, float y);
    // Both, as getlongswordx and getlongswordy give them.
    void longswordtip(int d, float x, float y, float& tx, float& ty);
    float getshortswordx(int d, float x, float y);
    float getshortswordy(int d, float x, float y);
    float getswordangle(int d, float x, float y, float ex, float ey);
    void showsword(Layer& l, int d, float x, float y, int mapx, int mapy);

    template <class V> void fields(V&& v)
    {
        v("swordhit", swordhit), v("swordd", swordd), v("swordfade", swordfade);
        v("sworda", sworda), v("swordb", swordb);
    }
};

class Player : public Hahmo, public Weapon {
    friend struct Rig;

public:
    Player(int nnx, int nny, int nd);
    void input();
    // A drawn frame heals the living hero by 0.02, so a paced game heals
    // him FRAMES_PER_SECOND times as much a second.
    void regenerate();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        Weapon::fields(v);
    }
};

class Neutral : public Hahmo, public Weapon {
    int type;          // 0 free, 1 enemy, 2 friend
    int od;
    int movecounter;
    int hostile;       // 1: retargets, steers and strikes
    friend struct Rig;

public:
    Neutral();
    void put(int nnx, int nny, int nd, int ntype, int nside);
    int gettype() { return type; }
    void settype(int ntype);
    void input();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        Weapon::fields(v);
        v("type", type), v("od", od), v("movecounter", movecounter), v("hostile", hostile);
    }
};

class Monster : public Hahmo {
    int type;          // 0 free, 1 a monster
    int movecounter;
    friend struct Rig;

public:
    Monster();
    void put(int nnx, int nny, int nd, int ntype, int nside);
    int gettype() { return type; }
    void settype(int ntype);
    void input();
    void show(Layer& l);
    void showfinal(Layer& l);

    template <class V> void fields(V&& v)
    {
        Hahmo::fields(v);
        v("type", type), v("movecounter", movecounter);
    }
};

// ---------------------------------------------------------------------------
// The world record (map.cpp)
// ---------------------------------------------------------------------------

class Map {
    int tile[MAPCELLS];    // ground layer
    int tile2[MAPCELLS];   // second layer, under the characters; 0 empty
    int tile3[MAPCELLS];   // over layer, above the characters; 0 empty
    int status;
    int tset;              // tile set: 0 outdoors, 1 cave
    int rollx;             // first tile column of the tile window
    int rolly;             // first tile row of the tile window
    int sizex;             // width in tiles
    int sizey;             // height in tiles
    int time;              // script clock, frames
    char name[20];         // file name of the loaded map
    Player player;
    Neutral neutral[SLOTS];
    Monster monster[SLOTS];
    Corpse corpse[SLOTS];

    void erase();
    void markborder();
    void controlcamera();
    void showtiles(Layer& l);
    void showovertiles(Layer& l);
    void showlayer(const int* layer, int slot);
    // One tile layer, drawn with pen from a tile-set slot.
    void drawtiles(Layer& l, Pen pen, const int* layer, int slot);

    friend struct Rig;
    friend int putcorpse(int, int, int);
    friend int putenemy(int, int, int);
    friend int putfriend(int, int);
    friend bool playervulnerable();
    friend bool neutralvulnerable(int);
    friend bool monstervulnerable(int);
    friend int playerx();
    friend int playery();
    friend float playerhealt();
    friend int playerside();
    friend float monsterx(int);
    friend float monstery(int);
    friend float neutralx(int);
    friend float neutraly(int);
    friend float playerlongswordx();
    friend float playerlongswordy();
    friend float playershortswordx();
    friend float playershortswordy();
    friend float playerswordangle(float, float);
    friend float neutralswordangle(int, float, float);
    friend void hurtplayer(float, float, float);
    friend int monsterinarea(float, float, float, float, int);
    friend int neutralinarea(float, float, float, float, int);
    friend int playerinarea(float, float, float, float, int);
    friend int swordinarea(float, float, float, float, int);
    friend void takedigest(struct Digest&);
    friend void emptyworld();

public:
    // An empty world; open() reads one in.
    Map();
    // The world read by open().
    Map(const char* nname);
    ~Map();
    // Loads a map file and blocks the row below it and the column right of it.
    void open(const char* nname);
    void load(const char* nname);
    // The same for a map file's data already read and checked by parsemap;
    // nname is kept as the world's name, cut to 19 characters.
    void open(const MapData& data, const char* nname);
    void load(const MapData& data, const char* nname);
    void loadtextures();
    void warpto(int x, int y, int d, const char* nname);
    void runscript();
    void initscript();
    // Draws the whole world as it stands.
    void show();
    // One drawn frame of the world, in a message box's frames too: what it
    // moves on (corpses age, health bars fade, the hero regenerates,
    // invulnerable characters flash), around the picture when there is one.
    // Without a picture the world moves on exactly as with one.
    void showframe(bool picture);
    void control();

    // Calls v(kind, slot, record) for the player ("player", slot 0) and for
    // every neutral, monster and corpse slot, live or free, in that order.
    template <class V> void records(V&& v)
    {
        v("player", 0, player);
        for (int n = 0; n < SLOTS; n++) v("neutral", n, neutral[n]);
        for (int n = 0; n < SLOTS; n++) v("monster", n, monster[n]);
        for (int n = 0; n < SLOTS; n++) v("corpse", n, corpse[n]);
    }
};

extern Map map;   // main.cpp: the world; the entry function opens kuurakarpalo.map into it

// Puts the world into its known empty state, as the game has it before it
// reads its map: every neutral, monster and corpse slot free and zeroed, the
// hero new on his start tile, the script clock, scroll window, score and
// final score at 0, the night at 1, the camera at its first view, no key
// held, no slot stepping, and the random sequence started again. The map's
// tiles, light and blocking stay as they are.
void emptyworld();

// Opens MAPFILE into the world as the game starts, and keeps it for newworld;
// a map that cannot be read ends the program.
void openworldmap();
// The world as a game starts in it: empty, its map file read again (the
// one openworldmap kept, if any), and the script's start run twice, as a
// game's start-up runs it. Never ends the program: nullptr, or what is
// wrong with the map file, the world then left empty.
const char* newworld();

// Checks a map file and its name without touching the world. Returns nullptr
// when it can be loaded, else a short description of the problem.
const char* checkmapfile(const char* nname);
extern uint32_t mapcrc;   // map.cpp: CRC-32 of the map file loaded last

// ---------------------------------------------------------------------------
// Queries between characters (returnfunctions.cpp)
// ---------------------------------------------------------------------------

bool playervulnerable();
bool neutralvulnerable(int m);
bool monstervulnerable(int m);
int playerx();
int playery();
int playerside();
// The hero's health: above 0 while he lives.
float playerhealt();
float monsterx(int m);
float monstery(int m);
float neutralx(int m);
float neutraly(int m);
float playerlongswordx();
float playerlongswordy();
float playershortswordx();
float playershortswordy();
float playerswordangle(float x, float y);
float neutralswordangle(int m, float x, float y);
void hurtplayer(float angle, float amount, float damage);
// The world's random numbers, 0..2^31-1: every random decision of the game
// draws from here, never from the C library, so that every build draws the
// same sequence. Unseeded it starts as seeded with 1.
int worldrand();
void worldsrand(unsigned seed);
// A random angle of -69..69 whole degrees, in radians.
float rnd();
// The heading from the origin towards (dx, dy), atan2(dx, dy) in double
// precision: 0 points down the screen, pi/2 to the right.
float heading(float dx, float dy);
// Whether (px, py) lies strictly inside the rectangle (x1, y1)-(x2, y2).
bool inside(float x1, float y1, float x2, float y2, float px, float py);

// Slot + 1 of the first live character of side (any for -1) strictly inside
// the rectangle, skipping the asker; 0 for none.
int monsterinarea(float x1, float y1, float x2, float y2, int side);
int neutralinarea(float x1, float y1, float x2, float y2, int side);
int playerinarea(float x1, float y1, float x2, float y2, int side);
// Slot + 1 of the first neutral of exactly side whose cutting sword tip lies
// strictly inside the rectangle; 0 for none.
int swordinarea(float x1, float y1, float x2, float y2, int side);

// Place a character on tile (x, y) in the first free of slots 0..96; 1 if
// placed: putenemy one of kind (ENEMYRAIDER or ENEMYMONSTER), putfriend a friend.
int putenemy(int kind, int x, int y);
int putfriend(int x, int y);

// ---------------------------------------------------------------------------
// Input: SDL's events into the game's actions (input.cpp)
// ---------------------------------------------------------------------------

// The actions a key stands for, pressed with the modifiers mod, a bit
// (1 << Action) each: those options.bindings binds it to, or with Alt held
// Enter full screen alone.
unsigned keyactions(SDLKey sym, int mod = KMOD_NONE);
// The actions an event starts: a key going down, or an action pushed going
// down; 0 for any other event.
unsigned downactions(const SDL_Event& e);
// A key going down or up, from the keyboard or standing in for a gamepad or
// a touch screen, with the actions it stands for.
struct Keypress {
    SDLKey sym;         // the key; SDLK_UNKNOWN for a gamepad or a pushed action
    bool down;
    unsigned actions;   // a bit (1 << Action) for each action it stands for
};
const int GAMEPADPRESSES = 4;        // the most presses one event stands for
const int GAMEPADDEADZONE = 8000;    // stick travel, of 32767, that counts as centred
// The key presses an event stands for: a key for the actions it is bound
// to; from the first gamepad, whatever the keys are bound to, the hat and
// the left stick as walking (each direction going down when it starts and
// up when it ends) and any button as the sword's swing; a pushed action.
int keypresses(const SDL_Event& e, Keypress press[GAMEPADPRESSES]);
// Opens the first gamepad, if there is one, for its events.
void opengamepad();
// The walking actions among actions going down or up set or clear their
// entries of key.
void walkkeys(unsigned actions, bool down);
// Puts a key going down (or up) into SDL's queue, as the keyboard sends it,
// with the modifiers mod held.
void pushkey(SDLKey sym, bool down = true, SDLMod mod = KMOD_NONE);
// Puts an action going down (or up) into SDL's queue, as a key bound to it
// would: how controls that are no keys (a touch screen's) play.
void pushaction(Action action, bool down);

// Set when the game must close at once: the window's close button, SIGTERM,
// SIGINT or SIGHUP, Escape while paused, the watcher of a playback stopping
// it, or a playback that no longer matches the game. Every frame loop reads
// it: the world frame running is the last, an open box ends in the box frame
// that sees it, and so does a pause.
extern volatile std::sig_atomic_t closing;   // input.cpp
// Installs handlers for SIGTERM, SIGINT and SIGHUP that only set closing.
void catchsignals();
// What every event loop takes alike, besides its own keys: a window close
// sets closing; a new window size is taken; a pause key asks for a pause;
// the window losing or regaining focus is noted in focuslost; Alt+Enter
// switches full screen. True if the event was one of these.
bool commonevent(const SDL_Event& e);

// Every read of the player's input goes through worldinput and boxinput. In
// live play they read SDL's events; while recording they also write what
// they read; in playback they read the recording instead and the keyboard
// only ends the game.
enum InputSource { LIVEINPUT, RECORDINPUT, PLAYINPUT };
extern InputSource inputsource;   // recording.cpp: where this run's input comes from
extern int worldframes;           // input.cpp: world frames whose input was read
// Takes the pending events into key, up to a pause asked for: sets quit on
// a quit key, a window close or a closing signal; asks for a pause on a
// pause key or when the window loses focus; switches full screen on
// Alt+Enter; follows the window's size.
void pollevents(bool& quit);
// One world frame's input: key[0..4] and, on Escape, a window close or a
// closing signal, quit. In playback quit is also set in the recording's
// last frame.
void worldinput(bool& quit);
// One box frame's input: every key-down the box takes, handed to boxpress.
// Once the game is closing the box ends at once: false, and the box frame
// draws nothing more.
bool boxinput(Box& box);
// The key a box takes for a letter of BOXKEYS, as the box knows it.
SDLKey boxsym(char letter);
// The events while paused: false once the pause key goes down; redraw set
// when the picture must be shown again. The arrows pressed and let go count
// when the game goes on.
bool pausedinput(bool& redraw);
// Whether a key, a button or an action went down among the pending events.
bool anykey();
// Whether frames run without waiting and mostly undrawn (fast playback, a
// check of a recording and the scripted player): only one world frame a
// second (every FRAMES_PER_SECOND-th) is drawn and reaches the screen.
extern bool fastframes;   // input.cpp
// Called before live input is read, with true in a box frame; a scripted
// player pushes its keys into SDL's queue here. Empty in the game.
extern void (*inputfeeder)(bool boxframe);   // input.cpp

// ---------------------------------------------------------------------------
// The frame on the display, and pictures of it (display.cpp)
// ---------------------------------------------------------------------------

// Whether the world runs without a picture: no frame is drawn while a
// recording is checked (the world moves on exactly as when drawn).
extern bool headless;   // display.cpp
// Whether a display is open to draw on.
bool hasdisplay();
// Starts and ends one frame on the display: true if this frame is drawn.
// In fast frames only one in FRAMES_PER_SECOND is drawn and shown, and a
// frame a picture is taken of. A frame shown while a pause is asked for
// ends in the pause.
bool beginframe(bool boxframe);
void showframe();
// Shows the back buffer.
void swapframe();
// Notes a world frame's input (or a box frame's) read, for takepictures.
void countinput(bool boxframe);

// A frame to take a picture of, by its place in the input read since
// takepictures: world frame world (the first is 1), or with box >= 1 the
// box-th box frame read after that world frame's input (box frames read
// before the first world frame count as world frame 0).
struct Picturepoint {
    int world;
    int box;
};
// Takes pictures of the frames at points: each is drawn whole, fast or not,
// and just before it is shown the viewport's pixels, width by height RGBA
// read from the back buffer, bottom row first, are handed to taken with the
// point's index. Places count from this call; no points, no pictures.
void takepictures(const std::vector<Picturepoint>& points,
                  void (*taken)(size_t point, const unsigned char* rgba, int width, int height));

// Keeps the frame just drawn, the viewport's pixels of the back buffer, in
// texture slot TEXKEPT; a picture larger than a texture may be, or without
// memory for it, leaves the slot empty.
void keepframe();
// Draws the kept frame over the whole logical screen, or black without one.
void showkept();
// Frees the kept frame.
void dropkept();

// The sound beyond start-up (audio.cpp): the options' volumes, and the music
// and the effects stopped and going on again; nothing without sound.
void setvolumes();
void pauseaudio();
void resumeaudio();

// ---------------------------------------------------------------------------
// Pausing (pause.cpp)
// ---------------------------------------------------------------------------

// A pause comes between two frames: the frame that asked for it is drawn
// whole, its picture kept and shown still with the pause notice, and nothing
// of the world runs or draws until P goes down again; the music and the
// effects stop meanwhile. The arrows pressed or let go while paused count
// when the game goes on. A pause writes nothing into a recording, so a game
// recorded with pauses plays back without them.
extern bool pauseasked;   // pause.cpp: P asked for a pause at the frame's end
extern bool pausing;      // pause.cpp: the game waits in a pause
extern int focuslost;     // pause.cpp: of SDL_APPINPUTFOCUS and SDL_APPACTIVE, what the window lost, not regained
const int AWAYFRAMES = 3;   // shown frames in a row without focus that end in a pause
// Whether a pause can be asked for: not by a scripted player, nor in fast
// playback. The window's focus pauses only a game a person plays live.
bool canpause();
bool focuspauses();
// Whether the frame being shown ends in a pause: P asked for it, or the
// window has been without the keyboard, or hidden, for AWAYFRAMES shown
// frames (focus that goes and comes back at once, as a window is mapped,
// is nothing). Called once a shown frame.
bool endsinpause();
// The pause, from the back buffer holding the frame just drawn until P, or
// until the game closes.
void pausegame();
// The width of the pause notice's band for a text, in pixels.
int noticewidth(const char* text);

// ---------------------------------------------------------------------------
// Recorded games (digest.cpp, recording.cpp)
// ---------------------------------------------------------------------------

// A digest of the whole world: the world's counters exactly and one CRC-32
// per field of each kind of record, taken over every slot of that kind.
const int DIGESTMAX = 128;
struct Digest {
    uint32_t value[DIGESTMAX];
    int count;
};
enum DigestKind { DIGESTINT, DIGESTFLOAT, DIGESTCRC };
void takedigest(Digest& digest);
// The names of the digest's entries in order ("score", "monster.x"), and
// what kind of value each holds.
const std::vector<std::string>& digestnames();
DigestKind digestkind(int i);

// A recorded game as read from its file.
const int RECORDINGVERSION = 1;
const int CHECKPOINTEVERY = 50;    // world frames between checkpoints
const int RUNMAX = 50;             // frames in one line of the file
const int BOXKEYMAX = 256;         // key-downs in one box frame
// What a recording may hold, far beyond any game played: a file past one of
// these is refused as it is read, so that reading and checking one costs
// what the game it holds costs, whatever the file claims.
const long RECORDINGMAX = 64L << 20;      // bytes
const int WORLDFRAMESMAX = 1728000;       // world frames: twelve hours at FRAMES_PER_SECOND
const int BOXFRAMESMAX = 1728000;         // box frames: twelve hours of message boxes
const int INPUTLINESMAX = 1 << 20;        // lines of input (w, b and k)
const char WORLDKEYS[] = "UDLRS";  // a world line's letters for key[0..4]
const char BOXKEYS[] = "S123UD";   // the keys a box takes: space, 1, 2, 3, up, down
const char BOXCLOSE = 'Q';         // a box frame's last letter: the game closed in it
struct RecordedInput {
    bool box;              // a box frame, or a world frame
    int count;             // frames, 1..RUNMAX, all alike
    std::string keys;      // world: "UDLRS", '-' for keys up; box: a letter a key-down, then Q if closed
};
struct Checkpoint {
    int frame;             // world frames played when it was taken
    std::vector<uint32_t> value;
};
struct Recording {
    std::string game;                  // the version of the game that made it
    std::string language;              // the language of its texts; empty for Finnish
    long long mapsize;                 // bytes of the map file it was made on
    uint32_t mapcrc;                   // CRC-32 of that map file
    int interval;                      // world frames between checkpoints
    std::vector<std::string> names;    // the digest's entries
    std::vector<RecordedInput> input;  // in the order the game read it
    std::vector<Checkpoint> checkpoints;
    std::vector<size_t> checkpointat;  // input entries read before each checkpoint
    int frames;                        // world frames in all
    int boxframes;                     // box frames in all
    bool endedbygame;                  // the game ended by itself, not by the player
    bool closedinbox;                  // the game closed in a box frame of the last world frame
    bool cut;                          // no end line: the game stopped; input and frames up to the last checkpoint
};
// Reads a recording from its text. False, with the line and what is wrong
// with it in error, for anything but a well-formed recording: a whole one,
// or one cut short after its header, whose lines are whole but perhaps the
// last (it plays to its last checkpoint).
bool parserecording(const char* text, size_t size, Recording& recording, std::string& error);
// Reads a recording file whole, once, into text: at most RECORDINGMAX
// bytes, from any file a path names (a pipe too). False, with why in error.
bool readrecordingfile(const char* path, std::string& text, std::string& error);
// Reads a recording file whole and parses it.
bool readrecording(const char* path, Recording& recording, std::string& error);
// The lines of a recording file: its header, and then the input and the
// checkpoints as the game goes.
std::string recordingheader(long mapsize, uint32_t mapcrc, const std::string& language);
std::string worldline(int count, const std::string& keys);  // keys as "UDLRS", '-' for up
std::string boxline(int count, const std::string& keys);
std::string checkpointline(int frame, const Digest& digest);
std::string endline(int frames, bool bygame);
// Checkpoints are compared by field name: where each of the game's digest
// entries stands in a recording's list of names, -1 where the recording
// lacks it.
std::vector<int> digestplaces(const std::vector<std::string>& recorded);
// What differs between a checkpoint and the digest taken at its frame, in
// the entries both have, for a message; empty when they match.
std::string digestdiff(const Checkpoint& recorded, const std::vector<int>& places, const Digest& now);
// The fields the recorded list and the game's do not share, as a clause
// ("it lacks a; the game no longer has b"); empty when they are the same.
std::string digestunchecked(const std::vector<std::string>& recorded);


// Recording a game: the file open for writing; its header is written at
// once. recordworld and recordbox add a frame's input; worldframedone writes
// the checkpoints, and the end with the last frame.
// A kept game's recording (kept) that cannot be written whole is said so,
// but it does not fail the game.
bool startrecording(FILE* file, const char* path, bool kept);
void recordworld(bool ends);
void recordbox(const std::string& keys);
// Called after every checkpoint written and flushed; empty but on the web,
// where it stores the game so far.
extern void (*recordingsaved)();   // recording.cpp
// Playing a recording back from its text, named label in what is said of
// it: checks it against this map and this game's digest and plays in its
// language. False, with the line to give in error, when it cannot be
// played; unchecked gets the line naming the fields the recording and the
// game do not share, if any.
bool startplayback(const std::string& text, const std::string& label, std::string& error, std::string& unchecked);
// The recorded world frame's keys, and quit at the recording's end.
void playworld(bool& quit);
// The recorded box frame's keys, handed to boxpress; false once the box ends
// because the game closed.
bool playbox(Box& box);
// A world frame's checkpoint written (recorder.cpp), after every
// CHECKPOINTEVERY-th world frame and the last, with the end line after it;
// or compared with the recording's (playback.cpp).
void writecheckpoint(bool last);
void comparecheckpoint();
// Closes the recording file: 0, or 1 for one that could not be written
// whole, after its line; a kept game's failure costs only the line.
int closerecording();
// The end of a world frame, after it was drawn: a checkpoint is written or
// compared. quit says that this frame is the game's last. A difference ends
// the playback: closing is set and the line kept for playbackresult.
void worldframedone(bool quit);
// How the playback went so far.
struct Played {
    std::string difference;   // the first difference, as a line; empty if none
    bool closedbydifference;  // the difference set closing, not the player
    bool ended;               // played to its last frame, every checkpoint matched
    bool cut;                 // a recording cut short
    bool endedbygame;         // the recorded game ended by itself
    int frames;               // world frames it holds
    int score;                // the score of its last checkpoint
    std::string cutline;      // for a cut recording, the line that says so
};
Played playbackresult();
// Ends a playback without a word: the input is live again.
void stopplayback();
// Starts recording into, or playing back from, the file options name: a
// recording keeps gamelanguage, and playback plays in the recording's
// language. False after one line on stderr, also for a recording in a
// language the game has no texts in. A recording whose checkpoints lack
// fields of the game, or hold fields it no longer has, plays with those
// left unchecked, after one line on stderr naming them; one that shares
// none is refused.
bool openinput();
// How a playback ended, for the page to say: played to the end of a
// finished game or of one cut short, stopped by its watcher, or no longer
// matching; ENDLEFT for a game played, ENDDARK once its world went dark.
enum Ending { ENDLEFT, ENDDARK, ENDPLAYED, ENDCUT, ENDSTOPPED, ENDDIFFERS };
extern Ending ending;   // recording.cpp: set as a playback closes
// Finishes the recording file or the playback: 0, or the exit code it asks
// for after its line on stderr: 1 for a recording not written whole, 3 for
// a playback that differed. A cut recording played to its end gives its line.
int closeinput();

// ---------------------------------------------------------------------------
// Kept games: the games folder (games.cpp), and the table of the best games
// checked by playing them back (scores.cpp)
// ---------------------------------------------------------------------------

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
// Text as a JSON string, quotes included; a byte that starts no whole UTF-8
// character is written as \ufffd, so that the string is always valid.
std::string jsonstring(const std::string& text);
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
