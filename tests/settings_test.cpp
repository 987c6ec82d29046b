// The settings file: where it lies, what it takes in and what it warns of,
// and the command line over it.
#include "rig.h"
#include "keys.h"
#include "settings.h"

#include <SDL/SDL.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The warnings a settings text gives, taken in over the defaults.
std::vector<std::string> warningsof(const std::string& text)
{
    options = Options{};
    std::vector<std::string> warnings;
    parsesettings(text.data(), text.size(), "s.conf", warnings);
    return warnings;
}

std::string keysof(const Binding& b)
{
    std::string out;
    for (int i = 0; i < b.count; i++) out += (i ? " " : "") + keyname(b.keys[i]);
    return out;
}

// Whether options hold every default.
::testing::AssertionResult defaults()
{
    const Options d;
    if (options.window != d.window || options.sound != d.sound || options.windowwidth != d.windowwidth ||
        options.windowheight != d.windowheight || options.musicvolume != d.musicvolume ||
        options.effectsvolume != d.effectsvolume || options.language != d.language)
        return ::testing::AssertionFailure() << "a setting differs from its default";
    for (int a = 0; a < ACTIONS; a++)
        if (keysof(options.bindings[a]) != keysof(d.bindings[a]))
            return ::testing::AssertionFailure() << "action " << a << " has keys " << keysof(options.bindings[a]);
    return ::testing::AssertionSuccess();
}

// What readsettings prints on stderr for the file at path.
std::string readout(const std::string& path, bool given)
{
    options = Options{};
    ::testing::internal::CaptureStderr();
    readsettings(path, given);
    return ::testing::internal::GetCapturedStderr();
}

int lines(const std::string& text) { return (int)std::count(text.begin(), text.end(), '\n'); }

}  // namespace

TEST(Settings, WhereTheFileLies)
{
    const struct { const char* xdg; const char* home; const char* path; } cases[] = {
        {"/x/conf", "/home/a", "/x/conf/kuurakarpalo/kuurakarpalo.conf"},
        {nullptr, "/home/a", "/home/a/.config/kuurakarpalo/kuurakarpalo.conf"},
        {"", "/home/a", "/home/a/.config/kuurakarpalo/kuurakarpalo.conf"},
        {"conf", "/home/a", "/home/a/.config/kuurakarpalo/kuurakarpalo.conf"},   // not absolute
        {nullptr, nullptr, ""},
        {"relative", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(settingspath(c.xdg, c.home), c.path) << (c.xdg ? c.xdg : "(none)");
}

TEST(Settings, AGoodFileSetsEverything)
{
    const std::string text =
        "\xEF\xBB\xBF# Kuurakarpalo\n"
        "fullscreen = no\r\n"
        "window-size = 1280x960\n"
        "\tsound = off   # quiet\n"
        "music-volume=64\n"
        "effects-volume = 0\n"
        "language = en_GB.UTF-8\n"
        "key-up = Up W\n"
        "key-down = down s\n"
        "key-left = Left   A\n"
        "key-right = Right D\n"
        "key-swing = Space Return KP0 F12\n"
        "key-quit = Escape Q\n"
        "key-pause = none\n"
        "\n"
        "   \n";
    EXPECT_EQ(warningsof(text), std::vector<std::string>{});
    EXPECT_TRUE(options.window && !options.sound && options.language == "en_GB.UTF-8");
    EXPECT_TRUE(options.windowwidth == 1280 && options.windowheight == 960);
    EXPECT_TRUE(options.musicvolume == 64 && options.effectsvolume == 0);
    const char* keys[ACTIONS] = {"Up W", "Down S", "Left A", "Right D", "Space Return KP0 F12", "Escape Q", ""};
    for (int a = 0; a < ACTIONS; a++) EXPECT_EQ(keysof(options.bindings[a]), keys[a]) << a;

    // A later line wins; a bad one leaves what came before.
    EXPECT_TRUE(warningsof("sound = no\nsound = yes\n").empty() && options.sound);
    EXPECT_TRUE(warningsof("music-volume = 10\nmusic-volume = loud\n").size() == 1 && options.musicvolume == 10);
    EXPECT_EQ(warningsof("# nothing but a comment").size(), 0u);
    EXPECT_TRUE(defaults());
}

// Each line that cannot be taken in gives one warning naming the file, the
// line and why, and sets nothing.
TEST(Settings, EveryBadLineIsOneWarning)
{
    const struct { std::string text; const char* warning; } cases[] = {
        {"bogus = 1", "s.conf:1: no setting is called bogus"},
        {"\n\nfullscreen", "s.conf:3: is not a line KEY = VALUE"},
        {"= yes", "has no key before its ="},
        {"fullscreen =", "the setting fullscreen has no value"},
        {"fullscreen = maybe", "fullscreen takes yes or no"},
        {"data = /tmp", "no setting is called data"},
        {std::string(40, 'k') + " = 1", "is called kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk\n"},   // up to 40 repeated
        {std::string(41, 'k') + " = 1", "no setting is called\n"},
        {"config = other.conf", "no setting is called config"},
        {"music-volume = 129", "music-volume takes a number from 0 to 128"},
        {"music-volume = -1", "music-volume takes a number"},
        {"effects-volume = 1e2", "effects-volume takes a number"},
        {"music-volume = 99999999999999999999", "music-volume takes a number"},
        {"window-size = 0x768", "window-size takes a size"},
        {"language = ../../etc", "language takes a language code"},
        {"language = 12", "language takes a language code"},
        {"key-up = Up Nosuch", "key-up names a key the game does not know: Nosuch"},
        {"key-up = A B C D E F G H I", "key-up names more than 8 keys"},
        {"key-up = none Up", "key-up names keys and none"},
        {"key-up = \xE4", "key-up names a key the game does not know\n"},
        // A name is repeated up to 20 characters, longer ones are left out.
        {"key-up = Nosuchkeyatallhere12", "does not know: Nosuchkeyatallhere12\n"},
        {"key-up = Nosuchkeyatallhere123", "key-up names a key the game does not know\n"},
        {"fullscreen\x01 = yes", "holds a character a settings file never has"},
        {"sound = no\x7f", "holds a character"},
        {std::string(SETTINGSLINEMAX + 1, ' '), "s.conf:1: is longer than 1024 characters"},
        {std::string("sound = no\n\0\n", 13), "s.conf: is not a text file"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> w = warningsof(c.text);
        ASSERT_EQ(w.size(), 1u) << c.text;
        EXPECT_EQ(w[0].rfind("kuurakarpalo: s.conf", 0), 0u) << w[0];
        EXPECT_NE((w[0] + "\n").find(c.warning), std::string::npos) << w[0];
        EXPECT_TRUE(defaults()) << c.text;
    }
    // The longest line still counts.
    EXPECT_EQ(warningsof("sound = no" + std::string(SETTINGSLINEMAX - 10, ' ')).size(), 0u);
    EXPECT_FALSE(options.sound);
}

// Files that cannot be read at all: one warning, and every default.
TEST(Settings, FilesThatCannotBeRead)
{
    const std::string dir = scratchdir() + "/settings";
    mkdir(dir.c_str(), 0700);
    const auto file = [&](const std::string& name, const std::string& text) {
        return writefile(text, ("settings/" + name).c_str());
    };
    std::string junk;
    for (int i = 0; i < 4096; i++) junk += (char)(i * 7 % 255 + 1);   // no NUL, many lines
    std::string binary = junk;
    binary[100] = '\0';
    // Exactly SETTINGSMAX bytes: lines of comments, then one setting.
    std::string huge(SETTINGSMAX - 9, '#');
    for (size_t i = 63; i < huge.size(); i += 64) huge[i] = '\n';
    huge.back() = '\n';
    huge += "sound=no\n";

    const struct {
        std::string path;
        bool given;
        const char* warning;   // "" for none
        int most;              // warning lines at most
    } cases[] = {
        {dir + "/missing.conf", false, "", 0},
        {"", false, "", 0},
        {dir + "/missing.conf", true, "missing.conf: cannot be read: No such file or directory", 1},
        {dir, true, "is a directory, not a settings file", 1},
        {dir, false, "is a directory", 1},
        {file("a", "x") + "/under.conf", true, "cannot be read: Not a directory", 1},
        {file("huge.conf", huge + "#"), false, "is larger than 64 KiB; the settings are left as they are", 1},
        {file("binary.conf", binary), false, "binary.conf: is not a text file", 1},
        {file("junk.conf", junk), false, "more lines could not be taken in", SETTINGSWARNINGS + 1},
        {"/dev/null", true, "", 0},
    };
    for (const auto& c : cases) {
        const std::string out = readout(c.path, c.given);
        EXPECT_NE(out.find(c.warning), std::string::npos) << c.path << ": " << out;
        EXPECT_EQ(out.empty(), *c.warning == '\0') << c.path << ": " << out;
        EXPECT_LE(lines(out), c.most) << c.path;
        EXPECT_TRUE(defaults()) << c.path;
    }
    EXPECT_EQ(readout(file("full.conf", huge), false), "");   // at the cap, the file is read
    EXPECT_FALSE(options.sound);

    options = Options{};
}

// The command line overrides the file for one run; --config reads another
// file; --help and --version read none.
TEST(Settings, TheCommandLineOverridesTheFile)
{
    const std::string home = scratchdir() + "/xdg";
    mkdir(home.c_str(), 0700);
    mkdir((home + "/kuurakarpalo").c_str(), 0700);
    writefile("fullscreen = no\nsound = no\nlanguage = en\nkey-up = W\nbogus = 1\n",
              "xdg/kuurakarpalo/kuurakarpalo.conf");
    const std::string other = writefile("music-volume = 5\n", "other.conf");
    const Scopedenv xdg("XDG_CONFIG_HOME", home.c_str());

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(parseargs({}), -1);
    EXPECT_TRUE(options.window && !options.sound && options.language == "en");
    EXPECT_EQ(keysof(options.bindings[ACTIONUP]), "W");
    EXPECT_EQ(parseargs({"--fullscreen", "--sound", "--language=fi", "--key-up", "Up KP8"}), -1);
    EXPECT_TRUE(!options.window && options.sound && options.language == "fi");
    EXPECT_EQ(keysof(options.bindings[ACTIONUP]), "Up KP8");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(err), 2) << err;   // the bogus line, once for each run
    EXPECT_NE(err.find("/xdg/kuurakarpalo/kuurakarpalo.conf:5: no setting is called bogus"), std::string::npos);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(parseargs({"--config", other.c_str()}), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(options.musicvolume == 5 && !options.window && options.sound);

    // A bad value on the command line is a usage error; one in the file is not.
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(parseargs({"--music-volume", "200"}), 2);
    EXPECT_EQ(parseargs({"--music-volume", ""}), 2);
    EXPECT_EQ(parseargs({"--key-quit", "Nosuch"}), 2);
    EXPECT_EQ(parseargs({"--version", "--config", "/nonexistent"}), 0);
    ::testing::internal::GetCapturedStdout();
    const std::string usage = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(usage), 3) << usage;
    EXPECT_NE(usage.find("kuurakarpalo: --music-volume 200: takes a number from 0 to 128; try"), std::string::npos);
    options = Options{};
}

TEST(Settings, KeyNames)
{
    const struct { const char* name; SDLKey sym; const char* shown; } cases[] = {
        {"Up", SDLK_UP, "Up"},           {"up", SDLK_UP, "Up"},           {"a", SDLK_a, "A"},
        {"Z", SDLK_z, "Z"},              {"0", SDLK_0, "0"},              {"9", SDLK_9, "9"},
        {"space", SDLK_SPACE, "Space"},
        {"Enter", SDLK_RETURN, "Return"}, {"esc", SDLK_ESCAPE, "Escape"}, {"F1", SDLK_F1, "F1"},
        {"f15", SDLK_F15, "F15"},        {"KP0", SDLK_KP0, "KP0"},        {"kp9", SDLK_KP9, "KP9"},
        {"KPEnter", SDLK_KP_ENTER, "KPEnter"}, {"LeftShift", SDLK_LSHIFT, "LeftShift"},
        {"", SDLK_UNKNOWN, ""},          {"F16", SDLK_UNKNOWN, ""},       {"F01", SDLK_UNKNOWN, ""},
        {"KP", SDLK_UNKNOWN, ""},        {"KP-1", SDLK_UNKNOWN, ""},      {"Upp", SDLK_UNKNOWN, ""},
        {"!", SDLK_UNKNOWN, ""},         {"none", SDLK_UNKNOWN, ""},      {"A1", SDLK_UNKNOWN, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keynamed(c.name), c.sym) << c.name;
        EXPECT_EQ(c.sym == SDLK_UNKNOWN ? "" : keyname(c.sym), c.shown) << c.name;
    }
    // Every name the help lists is a name the game knows, and back.
    const std::string list = keynamelist() + ", ";
    for (size_t at = 0, end; (end = list.find(", ", at)) != std::string::npos; at = end + 2) {
        const std::string name = list.substr(at, end - at);
        EXPECT_NE(keynamed(name), SDLK_UNKNOWN) << name;
        EXPECT_EQ(keynamed(keyname(keynamed(name))), keynamed(name)) << name;
    }
}

// The page's panel reads the settings as the game does and writes only its
// changes: every other line stays as written, a key's later lines go, an
// empty value takes the key back to its default, and a change the game
// cannot take is left out with its warning.
TEST(Settings, ThePanelReadsAndWritesAsTheGame)
{
    options = Options{};
    std::vector<std::string> warnings;
    std::vector<std::pair<std::string, std::string>> values = settingvalues("sound = off\nkey-up = w up\n", warnings);
    const auto value = [&](const char* key) {
        const auto v = std::find_if(values.begin(), values.end(), [&](const auto& kv) { return kv.first == key; });
        return v == values.end() ? std::string("(none)") : v->second;
    };
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(value("sound"), "no");
    EXPECT_EQ(value("key-up"), "W Up");
    EXPECT_EQ(value("key-pause"), "P");
    EXPECT_EQ(value("fullscreen"), "yes");
    EXPECT_EQ(value("window-size"), "1024x768");
    EXPECT_EQ(value("left-handed"), "no");
    EXPECT_EQ(value("language"), "");
    EXPECT_EQ(std::count_if(values.begin(), values.end(), [](const auto& kv) { return kv.first == "sound"; }), 1);
    values = settingvalues("left-handed = true\nmusic-volume = loud\n", warnings);
    EXPECT_TRUE(value("left-handed") == "yes" && value("music-volume") == "128" && warnings.size() == 1);
    EXPECT_TRUE(defaults()) << "the game's own options are left as they were";

    const struct {
        const char *text, *changes, *merged;
        size_t warnings;
    } cases[] = {
        {"sound = off\n", "", "sound = off\n", 0},
        {"sound = off # quiet\n# mine\n", "music-volume = 64\n", "sound = off # quiet\n# mine\nmusic-volume = 64\n", 0},
        {"a line the game does not know\nsound = off\nsound = on\n", "sound = yes\n",
         "a line the game does not know\nsound = yes\n", 0},
        {"language = en\nkey-up = W\n", "language = \nkey-up =\n", "", 0},
        {"key-up = W", "key-up = Foo\nmusic-volume = 999\nnothing = 1\nleft-handed = yes\n",
         "key-up = W\nleft-handed = yes\n", 3},
    };
    for (const auto& c : cases) {
        warnings.clear();
        EXPECT_EQ(mergesettings(c.text, c.changes, warnings), c.merged) << c.changes;
        EXPECT_EQ(warnings.size(), c.warnings) << c.changes;
    }
    EXPECT_TRUE(defaults());
}
