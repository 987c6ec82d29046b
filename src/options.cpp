// The command line: how to play (full screen or in a window of some size,
// with or without sound, in which language, with which keys), where the
// data is, and recording and playing back games. Every option is a row of
// one table; --help is printed from it, the manual page is made from
// --help, the README's table of options is held to it, and the settings
// file's keys are the rows' keys.
#include "options.h"
#include "datadir.h"
#include "games.h"
#include "keys.h"
#include "language.h"
#include "main.h"
#include "settings.h"


#include <getopt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

Options options;
const char VERSION[] = KUURAKARPALO_VERSION;

// A whole decimal number from lo to hi into out; false leaves out as it was.
static bool wholenumber(const char* text, int lo, int hi, int& out)
{
    const size_t n = std::strlen(text);
    if (n == 0 || n > 6 || std::strspn(text, "0123456789") != n) return false;
    const int v = std::atoi(text);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

static const char* volume(const char* text, int& out)
{
    return wholenumber(text, 0, VOLUMEMAX, out) ? nullptr : "takes a number from 0 to 128";
}

const int WINDOWMAX = 16384;   // pixels: the widest and tallest window asked for

static const char* windowsize(const char* text)
{
    const char* x = std::strchr(text, 'x');
    if (!x) return "takes a size as WIDTHxHEIGHT, such as 1280x960";
    const std::string width(text, x);
    int w, h;
    if (!wholenumber(width.c_str(), 1, WINDOWMAX, w) || !wholenumber(x + 1, 1, WINDOWMAX, h))
        return "takes a size as WIDTHxHEIGHT, each from 1 to 16384";
    options.windowwidth = w;
    options.windowheight = h;
    return nullptr;
}

static const char* language(const char* text)
{
    if (!languagecode(text)) return "takes a language code, such as en or fi";
    options.language = text;
    return nullptr;
}

// The keys of an action, from an option or a setting, and as the settings
// write them.
template <Action A> static const char* bindkeys(const char* keys)
{
    return readbinding(keys, options.bindings[A]);
}

template <Action A> static std::string boundkeys()
{
    return bindingtext(options.bindings[A]);
}

static std::string yes(bool on)
{
    return on ? "yes" : "no";
}

const OptionRow OPTIONROWS[] = {
    {"window", nullptr, "play in a window instead of full screen; the window can be resized",
     [](const char*) { return options.window = true, (const char*)nullptr; }, "fullscreen", "no", [] { return yes(!options.window); }},
    {"fullscreen", nullptr, "play full screen at the desktop's resolution (the default)",
     [](const char*) { return options.window = false, (const char*)nullptr; }, "fullscreen", "yes", [] { return yes(!options.window); }},
    {"window-size", "WxH", "the window's size in pixels, 1024x768 unless set", windowsize, "window-size", nullptr,
     [] { return std::to_string(options.windowwidth) + "x" + std::to_string(options.windowheight); }},
    {"no-sound", nullptr, "play silently, without opening an audio device",
     [](const char*) { return options.sound = false, (const char*)nullptr; }, "sound", "no", [] { return yes(options.sound); }},
    {"sound", nullptr, "play with music and sound effects (the default)",
     [](const char*) { return options.sound = true, (const char*)nullptr; }, "sound", "yes", [] { return yes(options.sound); }},
    {"music-volume", "N", "the music's volume, from 0 (silent) to 128 (full, the default)",
     [](const char* n) { return volume(n, options.musicvolume); }, "music-volume", nullptr,
     [] { return std::to_string(options.musicvolume); }},
    {"effects-volume", "N", "the sound effects' volume, from 0 (silent) to 128 (full, the default)",
     [](const char* n) { return volume(n, options.effectsvolume); }, "effects-volume", nullptr,
     [] { return std::to_string(options.effectsvolume); }},
    {"language", "LANG",
     "the language of the game's texts: en for English, fi for Finnish; unless set, the environment's "
     "(LANGUAGE, LC_ALL, LC_MESSAGES, LANG), and Finnish for one the game does not have",
     language, "language", nullptr, [] { return options.language; }},
    {"key-up", "KEYS", "the keys that walk up, by name, separated by spaces (default: Up)",
     bindkeys<ACTIONUP>, "key-up", nullptr, boundkeys<ACTIONUP>},
    {"key-down", "KEYS", "the keys that walk down (default: Down)",
     bindkeys<ACTIONDOWN>, "key-down", nullptr, boundkeys<ACTIONDOWN>},
    {"key-left", "KEYS", "the keys that walk left (default: Left)",
     bindkeys<ACTIONLEFT>, "key-left", nullptr, boundkeys<ACTIONLEFT>},
    {"key-right", "KEYS", "the keys that walk right (default: Right)",
     bindkeys<ACTIONRIGHT>, "key-right", nullptr, boundkeys<ACTIONRIGHT>},
    {"key-swing", "KEYS", "the keys that swing the sword and close messages (default: Space)",
     bindkeys<ACTIONSWING>, "key-swing", nullptr, boundkeys<ACTIONSWING>},
    {"key-quit", "KEYS", "the keys that quit the game (default: Escape)",
     bindkeys<ACTIONQUIT>, "key-quit", nullptr, boundkeys<ACTIONQUIT>},
    {"key-pause", "KEYS", "the keys that pause and resume the game (default: P)",
     bindkeys<ACTIONPAUSE>, "key-pause", nullptr, boundkeys<ACTIONPAUSE>},
    {"left-handed", nullptr, "in the web page on a touch screen: the sword on the left, the arrows on the right",
     [](const char*) { return options.lefthanded = true, (const char*)nullptr; }, "left-handed", "yes",
     [] { return yes(options.lefthanded); }},
    {"right-handed", nullptr, "in the web page on a touch screen: the arrows on the left, the sword on the right "
     "(the default)",
     [](const char*) { return options.lefthanded = false, (const char*)nullptr; }, "left-handed", "no",
     [] { return yes(options.lefthanded); }},
    {"config", "FILE", "read the settings from FILE instead of the settings file",
     [](const char* file) { return options.config = file, (const char*)nullptr; }, nullptr, nullptr},
    {"data", "DIR", "read the game's data (kuurakarpalo.map and DATA/) from DIR, and from nowhere else",
     [](const char* dir) { return options.data = dir, (const char*)nullptr; }, nullptr, nullptr},
    {"record", "FILE", "record the game into FILE: every key it reads, and digests of the world",
     [](const char* file) { return options.record = file, (const char*)nullptr; }, nullptr, nullptr},
    {"play", "FILE", "play back the game recorded in FILE; of the keys, only the quit keys count",
     [](const char* file) { return options.play = file, (const char*)nullptr; }, nullptr, nullptr},
    {"fast", nullptr, "with --play or --watch: play back as fast as possible",
     [](const char*) { return options.fast = true, (const char*)nullptr; }, nullptr, nullptr},
    {"keep-games", nullptr, "record every game into the games folder, for the table of the best (the default)",
     [](const char*) { return options.keepgames = true, (const char*)nullptr; }, "keep-games", "yes", [] { return yes(options.keepgames); }},
    {"no-keep-games", nullptr, "keep no record of the games played",
     [](const char*) { return options.keepgames = false, (const char*)nullptr; }, "keep-games", "no", [] { return yes(options.keepgames); }},
    {"scores", nullptr, "print the table of the best games kept and exit",
     [](const char*) { return options.scores = true, (const char*)nullptr; }, nullptr, nullptr},
    {"watch", "N", "play back the Nth best game of the table, as --play of its file",
     [](const char* n) { return wholenumber(n, 1, BESTGAMES, options.watch) ? nullptr : "takes a rank from 1 to 10"; },
     nullptr, nullptr},
    {"verify", "FILE",
     "check the recording in FILE without a window or sound, as fast as it goes: print its final score, or its "
     "first difference from the game",
     [](const char* file) { return options.verify = file, (const char*)nullptr; }, nullptr, nullptr},
    {"check", "FILE",
     "check the recording in FILE as --verify does, for other programs: print the verdict as one line of JSON",
     [](const char* file) { return options.check = file, (const char*)nullptr; }, nullptr, nullptr},
    {"keep", "FILE", "check the recording in FILE, a game played elsewhere, and keep it among the games if it verifies",
     [](const char* file) { return options.keep = file, (const char*)nullptr; }, nullptr, nullptr},
    {"help", nullptr, "show this help and exit",
     [](const char*) { return options.help = true, (const char*)nullptr; }, nullptr, nullptr},
    {"version", nullptr, "show the version and exit",
     [](const char*) { return options.version = true, (const char*)nullptr; }, nullptr, nullptr},
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
    {"a gamepad", "the first one plugged in walks with its hat or left stick, and any button swings "
                  "the sword, whatever the keys are bound to"},
};
static const HelpLine EXITLINES[] = {
    {"0", "a normal end: Escape, the window closed, a signal to end, or the game's own end"},
    {"1", "the game cannot start, or a file it reads is bad; one line on stderr says why"},
    {"2", "a wrong command line, with a one-line hint"},
    {"3", "a recording given with --play, --watch, --verify or --keep no longer matches the game"},
};

const int HELPTEXTAT = 24;   // the column where the texts of --help start
const int HELPWIDTH = 79;    // characters in a line of --help, at most

// text wrapped at spaces into lines of at most HELPWIDTH characters that
// start at column indent; the first line's indent is left to the caller.
static std::string wrapped(const std::string& text, size_t indent)
{
    const size_t room = HELPWIDTH - indent;
    std::string out;
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
        out += std::string(indent, ' ');
    }
}

// One entry of --help: what, indented by two, then text from HELPTEXTAT on
// (on the next line if what reaches too far).
static std::string helpentry(const std::string& what, const std::string& text)
{
    std::string out = "  " + what;
    out += out.size() + 2 > (size_t)HELPTEXTAT ? "\n" + std::string(HELPTEXTAT, ' ')
                                                : std::string(HELPTEXTAT - out.size(), ' ');
    return out + wrapped(text, HELPTEXTAT);
}

std::string optionusage(const OptionRow& row)
{
    return std::string("--") + row.name + (row.argument ? std::string(" ") + row.argument : "");
}

// The settings' keys, each with the values it takes and the options that
// set the same for one run: "sound = yes|no" and "--sound, --no-sound".
static std::string settingslines()
{
    std::string out;
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        if (!row.setting) continue;
        bool first = true;
        for (int k = 0; k < i; k++)
            first = first && !(OPTIONROWS[k].setting && std::strcmp(OPTIONROWS[k].setting, row.setting) == 0);
        if (!first) continue;
        std::string values, flags;
        for (int k = i; k < NOPTIONROWS; k++) {
            const OptionRow& same = OPTIONROWS[k];
            if (!same.setting || std::strcmp(same.setting, row.setting) != 0) continue;
            if (same.value) values += (values.empty() ? "" : "|") + std::string(same.value);
            flags += (flags.empty() ? "" : ", ") + std::string("--") + same.name;
        }
        out += helpentry(std::string(row.setting) + " = " + (row.argument ? row.argument : values), "as " + flags);
    }
    return out;
}

static int showhelp()
{
    std::string text = "Usage: kuurakarpalo [OPTION]...\n"
                       "Defend a village with your sword: a top-down action game.\n\nOptions:\n";
    for (const OptionRow& row : OPTIONROWS) text += helpentry(optionusage(row), row.help);
    text += "\nSettings:\n";
    text += "  " + wrapped(std::string("The settings file, $XDG_CONFIG_HOME/") + SETTINGSFILE + " (~/.config/" +
                              SETTINGSFILE +
                              " by default) or the FILE of --config, holds lines KEY = VALUE; # starts a "
                              "comment. Its keys are the options that last, and the command line overrides "
                              "them for one run. The game reads the file and never writes it; a line it "
                              "cannot take gives one warning and leaves that setting as it was.", 2) + "\n";
    text += settingslines();
    text += helpentry("KEYS", "key names separated by spaces, or none: a letter or a digit (W, 2), F1 to F15, "
                              "KP0 to KP9 on the keypad, or " + keynamelist());
    text += "\nKeys, as bound unless the settings say otherwise:\n";
    for (const HelpLine& line : KEYLINES) text += helpentry(line.what, line.text);
    text += "\nExit status:\n";
    for (const HelpLine& line : EXITLINES) text += helpentry(line.what, line.text);
    std::fputs(text.c_str(), stdout);
    return 0;
}

static int showversion()
{
    std::printf("kuurakarpalo %s\n", VERSION);
    return 0;
}

static int usageerror(const char* what, const char* arg)
{
    std::fprintf(stderr, "kuurakarpalo: %s%s%s; try 'kuurakarpalo --help'\n", what, arg ? " " : "",
                 arg ? arg : "");
    return 2;
}

int parseoptions(int argc, char* argv[])
{
    // getopt_long's table, from the rows: a row's code is FIRSTROW + its index.
    const int FIRSTROW = 256;
    static option longopts[NOPTIONROWS + 1];
    for (int i = 0; i < NOPTIONROWS; i++)
        longopts[i] = option{OPTIONROWS[i].name, OPTIONROWS[i].argument ? required_argument : no_argument,
                             nullptr, FIRSTROW + i};

    // The command line is read whole first: it names the settings file,
    // which is read before the command line's options are taken in.
    std::vector<std::pair<const OptionRow*, const char*>> given;
    options = Options{};
    opterr = 0;
    optind = 1;
    int c;
    while ((c = getopt_long(argc, argv, ":", longopts, nullptr)) != -1) {
        if (c >= FIRSTROW && c < FIRSTROW + NOPTIONROWS) {
            given.emplace_back(&OPTIONROWS[c - FIRSTROW], optarg);
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
    for (const auto& [row, argument] : given) {
        if (const char* wrong = row->apply(argument)) {
            const std::string what =
                optionusage(*row).substr(0, 2 + std::strlen(row->name)) + " " + argument + ": " + wrong;
            return usageerror(what.c_str(), nullptr);
        }
        if (options.help) return showhelp();
        if (options.version) return showversion();
    }
    const std::string config = options.config ? options.config : "";
    options = Options{};
    if (!config.empty())
        readsettings(config, true);
    else
        readsettings(settingsfile(), false);
    for (const auto& [row, argument] : given) row->apply(argument);

    // What the game is asked to do besides playing: one thing at a time.
    const char* const doing[] = {options.record ? "--record" : nullptr, options.play ? "--play" : nullptr,
                                 options.watch ? "--watch" : nullptr, options.verify ? "--verify" : nullptr,
                                 options.check ? "--check" : nullptr, options.keep ? "--keep" : nullptr, options.scores ? "--scores" : nullptr};
    const char* first = nullptr;
    for (const char* d : doing) {
        if (d && first) return usageerror((std::string(first) + " and " + d + " exclude each other").c_str(), nullptr);
        if (d) first = d;
    }
    if (options.fast && !options.play && !options.watch)
        return usageerror("--fast goes with --play or --watch", nullptr);
    // The game changes into its data directory before it opens the files the
    // command line names: they are taken from where the game was started.
    static std::string record, play, verify, check, keep;
    if (options.record) options.record = (record = absolutepath(options.record)).c_str();
    if (options.play) options.play = (play = absolutepath(options.play)).c_str();
    if (options.verify) options.verify = (verify = absolutepath(options.verify)).c_str();
    if (options.check) options.check = (check = absolutepath(options.check)).c_str();
    if (options.keep) options.keep = (keep = absolutepath(options.keep)).c_str();
    return -1;
}
