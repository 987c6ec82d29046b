// The command line: how to play (full screen or in a window, with or without
// sound), where the data is, and recording and playing back games.
#include "main.h"

#include <getopt.h>
#include <unistd.h>

#include <cstdio>
#include <string>

Options options;
const char VERSION[] = KUURAKARPALO_VERSION;

static const char USAGE[] =
    "Usage: kuurakarpalo [OPTION]...\n"
    "A top-down action game: a hero with a sword, his friends, monsters and raiders.\n"
    "\n"
    "  --window       play in a 1024x768 window\n"
    "  --fullscreen   play full screen (the default)\n"
    "  --no-sound     play silently, without opening an audio device\n"
    "  --data DIR     read the game's data (kuurakarpalo.map and DATA/) from DIR\n"
    "  --record FILE  record the game into FILE\n"
    "  --play FILE    play back the game recorded in FILE; Escape ends it\n"
    "  --fast         with --play: play back as fast as possible\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "Keys: the arrows walk, space swings the sword and closes messages, Escape quits.\n"
    "Exit status: 0 after a normal end, 1 when the game cannot start or a file is\n"
    "bad, 2 on a wrong command line, 3 when a recording no longer matches the game.\n";

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

int parseoptions(int argc, char* argv[])
{
    enum { WINDOW = 256, FULLSCREEN, NOSOUND, DATA, RECORD, PLAY, FAST, HELP, SHOWVERSION };
    static const option longopts[] = {
        {"window", no_argument, nullptr, WINDOW},    {"fullscreen", no_argument, nullptr, FULLSCREEN},
        {"no-sound", no_argument, nullptr, NOSOUND}, {"data", required_argument, nullptr, DATA},
        {"record", required_argument, nullptr, RECORD}, {"play", required_argument, nullptr, PLAY},
        {"fast", no_argument, nullptr, FAST},        {"help", no_argument, nullptr, HELP},
        {"version", no_argument, nullptr, SHOWVERSION},  {}};

    options = Options{};
    opterr = 0;
    optind = 1;
    int c;
    while ((c = getopt_long(argc, argv, ":", longopts, nullptr)) != -1) {
        switch (c) {
        case WINDOW: options.window = true; break;
        case FULLSCREEN: options.window = false; break;
        case NOSOUND: options.sound = false; break;
        case DATA: options.data = optarg; break;
        case RECORD: options.record = optarg; break;
        case PLAY: options.play = optarg; break;
        case FAST: options.fast = true; break;
        case HELP: std::fputs(USAGE, stdout); return 0;
        case SHOWVERSION: std::printf("kuurakarpalo %s\n", VERSION); return 0;
        case ':': return usageerror("option needs an argument:", argv[optind - 1]);
        default:
            if (optopt != 0) {
                const char shortoption[3] = {'-', (char)optopt, '\0'};
                return usageerror("unknown option", shortoption);
            }
            return usageerror("unknown option", argv[optind - 1]);
        }
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
