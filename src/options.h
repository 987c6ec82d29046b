// The command line and the options it sets: every option is a row of one
// table, which --help, the manual page, the settings file and the web page
// all read.
#ifndef KUURAKARPALO_OPTIONS_H
#define KUURAKARPALO_OPTIONS_H

#include "main.h"

#include <array>
#include <string>

const int BINDINGKEYS = 8;   // keys one action takes at most
const int VOLUMEMAX = 128;   // the full volume, as SDL_mixer counts it
// The keys bound to one action, as SDL names keys (SDLKey's values).
struct Binding {
    int count;
    int keys[BINDINGKEYS];
};
// The keys each action has unless the settings bind others (keys.cpp).
std::array<Binding, ACTIONS> defaultbindings();

// What the settings file and the command line ask for.
struct Options {
    bool window = false;          // a window instead of full screen
    int windowwidth = SCREEN_WIDTH;     // pixels: the window's size when it opens
    int windowheight = SCREEN_HEIGHT;
    bool sound = true;            // false: no audio device, no music, no effect
    int musicvolume = VOLUMEMAX;     // 0..VOLUMEMAX
    int effectsvolume = VOLUMEMAX;   // 0..VOLUMEMAX
    std::array<Binding, ACTIONS> bindings = defaultbindings();   // indexed by Action
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

#endif
