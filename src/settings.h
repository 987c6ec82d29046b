// The settings file: where it lies, what it takes in (the keys of the
// option rows) and what it warns of; and what the page's panel reads and
// writes through it.
#ifndef KUURAKARPALO_SETTINGS_H
#define KUURAKARPALO_SETTINGS_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Settings: the file of lasting settings (settings.cpp)

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

#endif
