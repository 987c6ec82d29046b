// The command line: its options read from one table, --help printed from
// it, and the README's table of options held to it.
#include "rig.h"

#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What --help prints.
std::string help()
{
    char name[] = "kuurakarpalo", option[] = "--help";
    char* argv[] = {name, option, nullptr};
    ::testing::internal::CaptureStdout();
    const int code = parseoptions(2, argv);
    const std::string out = ::testing::internal::GetCapturedStdout();
    options = Options{};
    return code == 0 ? out : "";
}

}  // namespace

TEST(Options, CommandLines)
{
    const struct {
        std::vector<const char*> args;
        int code;
    } cases[] = {
        {{}, -1},
        {{"--window", "--no-sound", "--data", "d", "--play=r.rec", "--fast"}, -1},
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{"--bogus"}, 2},
        {{"-x"}, 2},
        {{"--record"}, 2},
        {{"stray"}, 2},
        {{"--fast"}, 2},
        {{"--record", "a", "--play", "b"}, 2},
    };
    for (const auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("kuurakarpalo")};
        for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int code = parseoptions((int)argv.size() - 1, argv.data());
        ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, c.code) << (c.args.empty() ? "" : c.args[0]);
        // A usage error is one line that points to --help.
        if (code == 2) {
            EXPECT_TRUE(err.find("--help'\n") == err.size() - 8) << err;
        }
    }
    const char* args[] = {"kuurakarpalo", "--window", "--no-sound", "--data", "d", "--play=r.rec", "--fast", nullptr};
    parseoptions(7, const_cast<char**>(args));
    EXPECT_TRUE(options.window && !options.sound && options.fast);
    EXPECT_STREQ(options.data, "d");
    // Taken from where the game starts, before it enters its data directory.
    char here[4096];
    ASSERT_TRUE(getcwd(here, sizeof here));
    EXPECT_EQ(std::string(options.play), std::string(here) + "/r.rec");
    options = Options{};
}

// A window's size is two whole numbers of pixels with an x between; the
// display clamps what the screen cannot hold.
TEST(Options, WindowSizes)
{
    const struct {
        const char* size;
        int w, h;   // 0: a usage error
    } cases[] = {
        {"800x600", 800, 600},  {"1x1", 1, 1},     {"16384x16384", 16384, 16384}, {"0x600", 0, 0},
        {"16385x600", 0, 0},
        {"800", 0, 0},          {"800x", 0, 0},    {"x600", 0, 0},                {"800x600x2", 0, 0},
        {" 800x600", 0, 0},     {"+800x600", 0, 0}, {"800X600", 0, 0},            {"-800x600", 0, 0},
        {"123456x10", 0, 0},    {"", 0, 0},
    };
    for (const auto& c : cases) {
        const std::string option = std::string("--window-size=") + c.size;
        char name[] = "kuurakarpalo";
        char* argv[] = {name, const_cast<char*>(option.c_str()), nullptr};
        ::testing::internal::CaptureStderr();
        const int code = parseoptions(2, argv);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, c.w ? -1 : 2) << c.size;
        if (c.w) {
            EXPECT_EQ(options.windowwidth, c.w) << c.size;
            EXPECT_EQ(options.windowheight, c.h) << c.size;
        } else {
            EXPECT_NE(err.find("WIDTHxHEIGHT"), std::string::npos) << err;
        }
    }
    options = Options{};
    EXPECT_EQ(options.windowwidth, SCREEN_WIDTH);
    EXPECT_EQ(options.windowheight, SCREEN_HEIGHT);
}

// Every option is in --help with its whole text, wrapped into lines of at
// most 79 characters that continue under the text's first column; every
// settings key is there once, with the options that set the same.
TEST(Options, HelpGivesEveryRowWhole)
{
    const std::string text = help();
    ASSERT_FALSE(text.empty());
    size_t from = 0;
    for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        EXPECT_LE(end - from, 79u) << text.substr(from, end - from);
    const std::string column(24, ' ');   // where the texts start
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        std::string first = "  " + optionusage(row);
        ASSERT_LE(first.size(), 22u) << row.name;
        first += std::string(column.size() - first.size(), ' ');
        const size_t at = text.find("\n" + first);
        ASSERT_NE(at, std::string::npos) << row.name;
        // The entry's lines, joined again from the texts' column on.
        std::string joined;
        size_t line = at + 1;
        do {
            const size_t end = text.find('\n', line);
            joined += (joined.empty() ? "" : " ") + text.substr(line + column.size(), end - line - column.size());
            line = end + 1;
        } while (text.compare(line, column.size(), column) == 0);
        EXPECT_EQ(joined, row.help) << row.name;
        if (row.setting) {
            const std::string key = "\n  " + std::string(row.setting) + " = ";
            const size_t once = text.find(key);
            EXPECT_NE(once, std::string::npos) << row.setting;
            EXPECT_EQ(text.find(key, once + 1), std::string::npos) << row.setting << " is given twice";
        }
    }
}

// The README's lines that start with start ("" for all of them).
std::vector<std::string> readmelines(const std::string& start)
{
    std::vector<std::string> lines;
    FILE* readme = std::fopen("README.md", "r");
    if (!readme) return lines;
    char line[1024];
    while (std::fgets(line, sizeof line, readme))
        if (std::string(line).rfind(start, 0) == 0) lines.emplace_back(line, std::strcspn(line, "\n"));
    std::fclose(readme);
    return lines;
}

// The README's table of options has a line for each row, in order, that
// says what --help says; its table of settings a line for each key, with
// the values it takes and the options that set the same.
TEST(Options, TheReadmeTablesAreTheTable)
{
    std::vector<std::string> rows, settings;
    for (int i = 0; i < NOPTIONROWS; i++) {
        const OptionRow& row = OPTIONROWS[i];
        rows.push_back("| `" + optionusage(row) + "` | " + row.help + " |");
        if (!row.setting) continue;
        const std::string start = "| `" + std::string(row.setting) + "` | ";
        auto same = std::find_if(settings.begin(), settings.end(),
                                 [&](const std::string& s) { return s.rfind(start, 0) == 0; });
        if (same == settings.end()) {
            settings.push_back(start + (row.argument ? row.argument : row.value) + " | `--" + row.name + "` |");
            continue;
        }
        if (!row.argument) same->insert(same->find(" | `--"), std::string(", ") + row.value);
        same->insert(same->size() - 2, std::string(", `--") + row.name + "`");
    }
    const auto table = [](const std::vector<std::string>& lines) {
        std::string out;
        for (const std::string& l : lines) out += l + "\n";
        return out;
    };
    EXPECT_EQ(readmelines("| `--"), rows) << "the README's table of options should read:\n" << table(rows);
    // The settings table: the lines after its header and rule.
    const std::vector<std::string> all = readmelines("");
    std::vector<std::string> readme;
    const auto header = std::find(all.begin(), all.end(), "| Setting | Value | The same for one game |");
    ASSERT_NE(header, all.end()) << "the README has no table of settings";
    for (auto l = header + 2; l < all.end() && l->rfind("|", 0) == 0; ++l) readme.push_back(*l);
    EXPECT_EQ(readme, settings) << "the README's table of settings should read:\n" << table(settings);
}
