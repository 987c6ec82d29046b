// The settings that last between runs: a small text file of "key = value"
// lines whose keys are the settings keys of the option rows, read before
// the command line. The game only reads it. Nothing in it can stop the game
// from starting: whatever cannot be taken in is one warning, and what it
// would have set keeps its default. The keys bound to the actions are
// named as the settings write them.
#include "settings.h"
#include "options.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

std::string settingspath(const char* xdgconfighome, const char* home)
{
    return basedirpath(xdgconfighome, home, ".config", SETTINGSFILE);
}

std::string settingsfile()
{
    return settingspath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
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

// A key as a warning names it: " key" when it is short printable text,
// else nothing of it.
static std::string quoted(const std::string& key)
{
    for (char c : key)
        if (c < 33 || c > 126) return "";
    return key.size() <= 40 ? " " + key : "";
}

// Takes in one line, already cut at its comment and trimmed: "" when it is
// taken in, else why not.
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

// Each line of a settings text: f(number, raw, line, why) with the line as
// written (without its end), the line cut at its comment and trimmed, and
// why it is no setting at all ("" when it may be one).
template <class F> static void eachline(const char* text, size_t size, F f)
{
    const char* p = text;
    const char* end = text + size;
    // A byte order mark, as some editors write, is no part of the first line.
    if (size >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    for (int number = 1; p < end; number++) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)));
        const char* stop = nl ? nl : end;
        const std::string raw(p, stop);
        std::string line = raw;
        p = nl ? nl + 1 : end;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > (size_t)SETTINGSLINEMAX) {
            f(number, raw, "", "is longer than " + std::to_string(SETTINGSLINEMAX) + " characters");
            continue;
        }
        line.erase(std::min(line.find('#'), line.size()));
        bool control = false;
        for (char c : line) control = control || ((unsigned char)c < 32 && c != '\t') || c == 127;
        if (control) {
            f(number, raw, "", "holds a character a settings file never has");
            continue;
        }
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t") + 1);
        f(number, raw, line, "");
    }
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
    eachline(text, size, [&](int number, const std::string&, const std::string& line, const std::string& bad) {
        const std::string why = !bad.empty() || line.empty() ? bad : takeline(line);
        if (!why.empty()) warn(number, why);
    });
}

// The key a settings line sets, as takeline reads it; "" for none.
static std::string keyof(const std::string& line)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return "";
    std::string key = line.substr(0, equals);
    key.erase(key.find_last_not_of(" \t") + 1);
    return key;
}

std::vector<std::pair<std::string, std::string>> settingvalues(const std::string& text,
                                                               std::vector<std::string>& warnings)
{
    const Options kept = options;
    options = Options{};
    parsesettings(text.data(), text.size(), SETTINGSFILE, warnings);
    std::vector<std::pair<std::string, std::string>> values;
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        if (!row.setting) continue;
        const bool seen = std::any_of(values.begin(), values.end(), [&](const auto& v) { return v.first == row.setting; });
        if (!seen) values.emplace_back(row.setting, row.current());
    }
    options = kept;
    return values;
}

std::string mergesettings(const std::string& text, const std::string& changes, std::vector<std::string>& warnings)
{
    // The changes the game can take in, each as "key = value".
    std::vector<std::pair<std::string, std::string>> taken;
    const Options kept = options;
    eachline(changes.data(), changes.size(), [&](int, const std::string&, const std::string& line, const std::string& bad) {
        if (line.empty() && bad.empty()) return;
        const std::string key = keyof(line);
        std::string value = line.substr(std::min(line.find('='), line.size() - 1) + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        // A key without a value goes back to its default.
        const bool known = std::any_of(OPTIONROWS, OPTIONROWS + NOPTIONROWS,
                                       [&](const OptionRow& row) { return row.setting && key == row.setting; });
        const std::string why = !bad.empty() ? bad : value.empty() && known ? "" : takeline(line);
        if (!why.empty())
            warnings.push_back("kuurakarpalo: " + why);
        else
            taken.emplace_back(key, value);
    });
    options = kept;
    std::string out;
    std::vector<bool> written(taken.size(), false);
    eachline(text.data(), text.size(), [&](int, const std::string& raw, const std::string& line, const std::string&) {
        const std::string key = keyof(line);
        for (size_t i = 0; i < taken.size(); i++) {
            if (key.empty() || taken[i].first != key) continue;
            if (!written[i] && !taken[i].second.empty()) out += key + " = " + taken[i].second + "\n";
            written[i] = true;
            return;
        }
        out += raw + "\n";
    });
    for (size_t i = 0; i < taken.size(); i++)
        if (!written[i] && !taken[i].second.empty()) out += taken[i].first + " = " + taken[i].second + "\n";
    return out;
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

