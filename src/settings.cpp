// The settings that last between runs: a small text file of "key = value"
// lines whose keys are the settings keys of the option rows, read before
// the command line. The game only reads it. Nothing in it can stop the game
// from starting: whatever cannot be taken in is one warning, and what it
// would have set keeps its default.
#include "main.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

std::string settingspath(const char* xdgconfighome, const char* home)
{
    // A relative XDG_CONFIG_HOME is no configuration directory at all.
    if (xdgconfighome && xdgconfighome[0] == '/') return std::string(xdgconfighome) + "/" + SETTINGSFILE;
    if (home && home[0]) return std::string(home) + "/.config/" + SETTINGSFILE;
    return "";
}

// yes or no, as a switch's value: also true/false, on/off and 1/0; "" for
// anything else.
static std::string yesno(const std::string& word)
{
    for (const char* yes : {"yes", "true", "on", "1"})
        if (word == yes) return "yes";
    for (const char* no : {"no", "false", "off", "0"})
        if (word == no) return "no";
    return "";
}

// What is wrong with a key shown in a warning: itself when it is short
// printable text, else nothing of it.
static std::string quoted(const std::string& key)
{
    for (char c : key)
        if (c < 33 || c > 126) return "";
    return key.size() <= 40 ? " " + key : "";
}

// Takes in one line, already cut at its comment and trimmed: nullptr, or
// why it could not be taken in.
static std::string takeline(const std::string& line)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return "is not a line KEY = VALUE";
    std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    key.erase(key.find_last_not_of(" \t") + 1);
    value.erase(0, value.find_first_not_of(" \t"));
    if (key.empty()) return "has no key before its =";
    bool known = false;
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        if (!row.setting || key != row.setting) continue;
        known = true;
        if (value.empty()) return "the setting" + quoted(key) + " has no value";
        if (!row.argument) {
            // The switches of one key: the one whose value this is.
            if (yesno(value) != row.value) continue;
            row.apply(nullptr);
            return "";
        }
        if (const char* wrong = row.apply(value.c_str())) return key + " " + wrong;
        return "";
    }
    if (!known) return "no setting is called" + quoted(key);
    return key + " takes yes or no";
}

void parsesettings(const char* text, size_t size, const std::string& name, std::vector<std::string>& warnings)
{
    const auto warn = [&](int line, const std::string& why) {
        warnings.push_back("kuurakarpalo: " + name + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why);
    };
    if (std::memchr(text, '\0', size)) {
        warn(0, "is not a text file; the settings are left as they are");
        return;
    }
    const char* p = text;
    const char* end = text + size;
    // A byte order mark, as some editors write, is no part of the first line.
    if (size >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    for (int number = 1; p < end; number++) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)));
        const char* stop = nl ? nl : end;
        std::string line(p, stop);
        p = nl ? nl + 1 : end;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > (size_t)SETTINGSLINEMAX) {
            warn(number, "is longer than " + std::to_string(SETTINGSLINEMAX) + " characters");
            continue;
        }
        line.erase(std::min(line.find('#'), line.size()));
        bool control = false;
        for (char c : line) control = control || ((unsigned char)c < 32 && c != '\t') || c == 127;
        if (control) {
            warn(number, "holds a character a settings file never has");
            continue;
        }
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t") + 1);
        if (line.empty()) continue;
        const std::string why = takeline(line);
        if (!why.empty()) warn(number, why);
    }
}

void readsettings(const std::string& path, bool given)
{
    if (path.empty()) return;
    std::vector<std::string> warnings;
    const auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "kuurakarpalo: %s: %s; the settings are left as they are\n", path.c_str(), why.c_str());
    };
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT || given) fail(std::string("cannot be read: ") + std::strerror(errno));
        return;
    }
    if (S_ISDIR(st.st_mode)) return fail("is a directory, not a settings file");
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return fail(std::string("cannot be read: ") + std::strerror(errno));
    std::string text(SETTINGSMAX + 1, '\0');
    const size_t got = std::fread(&text[0], 1, text.size(), f);
    const int error = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (error) return fail(std::string("cannot be read: ") + std::strerror(error));
    if (got > (size_t)SETTINGSMAX) return fail("is larger than " + std::to_string(SETTINGSMAX >> 10) + " KiB");
    parsesettings(text.data(), got, path, warnings);
    for (size_t i = 0; i < warnings.size() && i < (size_t)SETTINGSWARNINGS; i++)
        std::fprintf(stderr, "%s\n", warnings[i].c_str());
    if (warnings.size() > (size_t)SETTINGSWARNINGS)
        std::fprintf(stderr, "kuurakarpalo: %s: %zu more lines could not be taken in\n", path.c_str(),
                     warnings.size() - SETTINGSWARNINGS);
}
