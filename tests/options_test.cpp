// The command line: its options read from one table, and --help printed
// from it.
#include "rig.h"

#include <unistd.h>

#include <string>
#include <vector>

// The command lines and what they give: -1 to play, 0 to stop (help and
// version), 2 for a usage error, which is one line that points to --help.
// A window's size is two whole numbers of pixels with an x between.
TEST(Options, CommandLines)
{
    const struct {
        std::vector<const char*> args;
        int code, w, h;   // w, h: the window's size when played
    } cases[] = {
        {{}, -1, SCREEN_WIDTH, SCREEN_HEIGHT},
        {{"--help"}, 0, 0, 0},
        {{"--version"}, 0, 0, 0},
        {{"--bogus"}, 2, 0, 0},
        {{"-x"}, 2, 0, 0},
        {{"--record"}, 2, 0, 0},
        {{"stray"}, 2, 0, 0},
        {{"--fast"}, 2, 0, 0},
        {{"--record", "a", "--play", "b"}, 2, 0, 0},
        {{"--window-size=800x600"}, -1, 800, 600},
        {{"--window-size=1x1"}, -1, 1, 1},
        {{"--window-size", "16384x16384"}, -1, 16384, 16384},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int code = parseargs(c.args);
        ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string what = c.args.empty() ? "" : c.args[0];
        EXPECT_EQ(code, c.code) << what;
        EXPECT_TRUE(code != 2 || err.find("--help'\n") == err.size() - 8) << err;
        EXPECT_TRUE(code != -1 || (options.windowwidth == c.w && options.windowheight == c.h)) << what;
        options = Options{};
    }
    for (const char* size : {"0x600", "16385x600", "800", "800x", "x600", "800x600x2", " 800x600", "+800x600",
                             "800X600", "-800x600", "123456x10", ""}) {
        const std::string option = std::string("--window-size=") + size;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(parseargs({option.c_str()}), 2) << size;
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("WIDTHxHEIGHT"), std::string::npos) << size;
    }
    parseargs({"--window", "--no-sound", "--data", "d", "--play=r.rec", "--fast"});
    EXPECT_TRUE(options.window && !options.sound && options.fast);
    EXPECT_STREQ(options.data, "d");
    // Taken from where the game starts, before it enters its data directory.
    char here[4096];
    ASSERT_TRUE(getcwd(here, sizeof here));
    EXPECT_EQ(std::string(options.play), std::string(here) + "/r.rec");
    options = Options{};
}

// Every option is in --help with its whole text, wrapped into lines of at
// most 79 characters that continue under the text's first column; every
// settings key is there once, with the options that set the same.
TEST(Options, HelpGivesEveryRowWhole)
{
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(parseargs({"--help"}), 0);
    const std::string text = ::testing::internal::GetCapturedStdout();
    options = Options{};
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
