// The command line: how to play (full screen or in a window of some size,
// with or without sound), where the data is, and recording and playing back
// games. Every option is a row of one table; --help is printed from it, the
// manual page is made from --help, and the README's table of options is held
// to it.
#include "main.h"

#include <getopt.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

Options options;
const char VERSION[] = KUURAKARPALO_VERSION;

static int showhelp(const char*);
static int showversion(const char*);
static int windowsize(const char* size);

const OptionRow OPTIONROWS[] = {
    {"window", nullptr, "play in a window instead of full screen; the window can be resized",
     [](const char*) { return options.window = true, -1; }},
    {"size", "SIZE", "the window's size in pixels, as WIDTHxHEIGHT: 1024x768 unless given", windowsize},
    {"fullscreen", nullptr, "play full screen at the desktop's resolution (the default)",
     [](const char*) { return options.window = false, -1; }},
    {"no-sound", nullptr, "play silently, without opening an audio device",
     [](const char*) { return options.sound = false, -1; }},
    {"data", "DIR", "read the game's data (kuurakarpalo.map and DATA/) from DIR, and from nowhere else",
     [](const char* dir) { return options.data = dir, -1; }},
    {"record", "FILE", "record the game into FILE: every key it reads, and digests of the world",
     [](const char* file) { return options.record = file, -1; }},
    {"play", "FILE", "play back the game recorded in FILE; of the keys, only Escape counts",
     [](const char* file) { return options.play = file, -1; }},
    {"fast", nullptr, "with --play: play back as fast as possible",
     [](const char*) { return options.fast = true, -1; }},
    {"help", nullptr, "show this help and exit", showhelp},
    {"version", nullptr, "show the version and exit", showversion},
};
const int NOPTIONROWS = sizeof OPTIONROWS / sizeof OPTIONROWS[0];

// What --help says besides the options: the keys, and the exit codes.
struct HelpLine {
    const char* what;
    const char* text;
};
static const HelpLine KEYLINES[] = {
    {"arrow keys", "walk; two at once walk diagonally"},
    {"space", "swing the sword; in a message box, show the whole text, then close it"},
    {"P", "pause, and go on; the game also pauses when its window loses focus"},
    {"Escape", "quit (in a message box only while paused)"},
    {"Alt+Enter", "switch between full screen and a window"},
    {"window close", "quit at once, at any moment; so do SIGTERM, SIGINT and SIGHUP"},
    {"a gamepad", "the first one plugged in walks with its hat or left stick; any button is space"},
};
static const HelpLine EXITLINES[] = {
    {"0", "a normal end: Escape, the window closed, a signal to end, or the game's own end"},
    {"1", "the game cannot start, or a file it reads is bad; one line on stderr says why"},
    {"2", "a wrong command line, with a one-line hint"},
    {"3", "a recording given with --play no longer matches the game"},
};

const int HELPTEXTAT = 17;   // the column where the texts of --help start
const int HELPWIDTH = 79;    // characters in a line of --help, at most

// One entry of --help: what, indented by two, then text from HELPTEXTAT on
// (on the next line if what reaches too far), wrapped at spaces into lines
// of at most HELPWIDTH characters.
static std::string helpentry(const std::string& what, const std::string& text)
{
    const std::string indent(HELPTEXTAT, ' ');
    std::string out = "  " + what;
    out += out.size() + 2 > (size_t)HELPTEXTAT ? "\n" + indent : std::string(HELPTEXTAT - out.size(), ' ');
    const size_t room = HELPWIDTH - HELPTEXTAT;
    for (size_t at = 0;;) {
        size_t end = text.size();
        if (end - at > room) {
            end = text.rfind(' ', at + room);
            if (end == std::string::npos || end <= at) end = text.find(' ', at + room);
            if (end == std::string::npos) end = text.size();
        }
        out += text.substr(at, end - at) + "\n";
        if (end >= text.size()) return out;
        at = end + 1;
        out += indent;
    }
}

std::string optionusage(const OptionRow& row)
{
    return std::string("--") + row.name + (row.argument ? std::string(" ") + row.argument : "");
}

static int showhelp(const char*)
{
    std::string text = "Usage: kuurakarpalo [OPTION]...\n"
                       "Defend a village with your sword: a top-down action game.\n\nOptions:\n";
    for (const OptionRow& row : OPTIONROWS) text += helpentry(optionusage(row), row.help);
    text += "\nKeys:\n";
    for (const HelpLine& line : KEYLINES) text += helpentry(line.what, line.text);
    text += "\nExit status:\n";
    for (const HelpLine& line : EXITLINES) text += helpentry(line.what, line.text);
    std::fputs(text.c_str(), stdout);
    return 0;
}

static int showversion(const char*)
{
    std::printf("kuurakarpalo %s\n", VERSION);
    return 0;
}

// The path as seen from the working directory.
static std::string absolutepath(const char* path)
{
    if (path[0] == '/' || path[0] == '\0') return path;
    char here[4096];
    if (!getcwd(here, sizeof here)) return path;
    return std::string(here) + "/" + path;
}

static int usageerror(const char* what, const char* arg)
{
    std::fprintf(stderr, "kuurakarpalo: %s%s%s; try 'kuurakarpalo --help'\n", what, arg ? " " : "",
                 arg ? arg : "");
    return 2;
}

// WIDTHxHEIGHT, each a whole number of pixels; the display clamps it to
// what a window may be.
static int windowsize(const char* size)
{
    int w = 0, h = 0, end = 0;
    if (size[std::strspn(size, "0123456789x")] != '\0' || std::sscanf(size, "%5dx%5d%n", &w, &h, &end) != 2 ||
        size[end] != '\0' || w < 1 || h < 1)
        return usageerror("a window size is WIDTHxHEIGHT, not", size);
    options.windowwidth = w;
    options.windowheight = h;
    return -1;
}

int parseoptions(int argc, char* argv[])
{
    // getopt_long's table, from the rows: a row's code is FIRSTROW + its index.
    const int FIRSTROW = 256;
    static option longopts[NOPTIONROWS + 1];
    for (int i = 0; i < NOPTIONROWS; i++)
        longopts[i] = option{OPTIONROWS[i].name, OPTIONROWS[i].argument ? required_argument : no_argument,
                             nullptr, FIRSTROW + i};

    options = Options{};
    opterr = 0;
    optind = 1;
    int c;
    while ((c = getopt_long(argc, argv, ":", longopts, nullptr)) != -1) {
        if (c >= FIRSTROW && c < FIRSTROW + NOPTIONROWS) {
            const int code = OPTIONROWS[c - FIRSTROW].apply(optarg);
            if (code >= 0) return code;
            continue;
        }
        if (c == ':') return usageerror("option needs an argument:", argv[optind - 1]);
        if (optopt != 0) {
            const char shortoption[3] = {'-', (char)optopt, '\0'};
            return usageerror("unknown option", shortoption);
        }
        return usageerror("unknown option", argv[optind - 1]);
    }
    if (optind < argc) return usageerror("unexpected argument", argv[optind]);
    if (options.record && options.play) return usageerror("--record and --play exclude each other", nullptr);
    if (options.fast && !options.play) return usageerror("--fast goes with --play", nullptr);
    // The game changes into its data directory before it opens the files the
    // command line names: they are taken from where the game was started.
    static std::string record, play;
    if (options.record) options.record = (record = absolutepath(options.record)).c_str();
    if (options.play) options.play = (play = absolutepath(options.play)).c_str();
    return -1;
}
