// The language of the game's texts: which one is asked for, where the
// catalogs lie, and the English and Finnish texts.
#include "rig.h"
#include "fontletters.h"
#include "datadir.h"
#include "language.h"
#include "text.h"
#include "system.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Languages = std::vector<std::string>;

// The game's texts, in the order the story shows them.
const char* const TEXTS[] = {"On koston aika!", "Teurastakaa ne kaikki!",
                             "Valmistautukaa pahimpaan, sill{ pian koittaa y}!", "Argh!!!", "Pisteet:"};
const char* const ENGLISH[] = {"The time for revenge has come!", "Slaughter them all!",
                               "Prepare for the worst, for night will soon fall!", "Argh!!!", "Score:"};

// Whether the font draws every character of text with a glyph of its own.
::testing::AssertionResult drawable(const char* text)
{
    for (const char* p = text; *p;) {
        const unsigned c = nextchar(p);
        bool known = (c >= 32 && c < 127) || c == '?';
        for (const FontLetter& l : FONTLETTERS) known = known || l.code == c;
        if (!known) return ::testing::AssertionFailure() << text << " holds U+" << std::hex << c;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Language, WhichOneIsAskedFor)
{
    const struct {
        const char* option;
        const char* language;
        const char* lcall;
        const char* lcmessages;
        const char* lang;
        Languages asked;
    } cases[] = {
        {"en", "sv", nullptr, nullptr, "de_DE.UTF-8", {"en"}},
        {"en_GB.UTF-8@euro", nullptr, nullptr, nullptr, nullptr, {"en_GB", "en"}},
        {"fi", nullptr, nullptr, nullptr, "en_US.UTF-8", {"fi"}},
        {"", "sv:en", nullptr, nullptr, "de_DE.UTF-8", {"sv", "en", "de_DE", "de"}},
        {"", nullptr, nullptr, nullptr, "en_US.UTF-8", {"en_US", "en"}},
        {"", "en", nullptr, nullptr, nullptr, {"en"}},           // no locale set at all
        {"", "en", nullptr, nullptr, "C", {}},                   // the C locale: the game's own
        {"", "en", "POSIX", nullptr, "en_US.UTF-8", {}},
        {"", nullptr, nullptr, nullptr, "C.UTF-8", {}},
        {"", nullptr, "", "en_US.UTF-8", "fi_FI.UTF-8", {"en_US", "en"}},   // an empty one is unset
        {"", nullptr, "fi_FI.UTF-8", "en_US.UTF-8", "en_US.UTF-8", {"fi_FI", "fi"}},
        {"", "::en:", nullptr, nullptr, nullptr, {"en"}},
        {"", "../x:en", nullptr, nullptr, "xx_YY", {"en", "xx_YY", "xx"}},
        {"", nullptr, nullptr, nullptr, nullptr, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(languagesasked(c.option, c.language, c.lcall, c.lcmessages, c.lang), c.asked)
            << c.option << " " << (c.language ? c.language : "-") << " " << (c.lang ? c.lang : "-");
    for (const char* code : {"en", "fi_FI.UTF-8", "sr@latin", "pt-BR", "x1"}) EXPECT_TRUE(languagecode(code)) << code;
    for (const char* code : {"", "1en", "en/..", "en us", "e\xC3\xA4", "_en"}) EXPECT_FALSE(languagecode(code)) << code;
    EXPECT_FALSE(languagecode(std::string(33, 'e')));
}

TEST(Language, WhereTheCatalogsLie)
{
    const Datahomes homes = {"/usr/share/games/kuurakarpalo", "../share/games/kuurakarpalo", "/src/build", "/src",
                             "/usr/share/locale", "../share/locale"};
    const struct { const char* exe; Languages places; } cases[] = {
        {"/src/build/src/kuurakarpalo", {"/src/build/locale", "/src/build/share/locale", "/usr/share/locale"}},
        {"/usr/games/kuurakarpalo", {"/usr/share/locale"}},
        {"/opt/k/games/kuurakarpalo", {"/opt/k/share/locale", "/usr/share/locale"}},
        {"/src/buildx/kuurakarpalo", {"/src/share/locale", "/usr/share/locale"}},
        {"", {"/usr/share/locale"}},
    };
    for (const auto& c : cases) EXPECT_EQ(localeplaces(homes, c.exe), c.places) << c.exe;

    // This program's own: the build tree's catalogs, which hold English.
    const Languages places = localeplaces(builtdatahomes(), programpath());
    ASSERT_FALSE(places.empty());
    EXPECT_NE(findcatalog(places, "en"), "");
    EXPECT_EQ(findcatalog(places, "xx"), "");
    EXPECT_EQ(findcatalog({}, "en"), "");
}

// English for every text, drawn by the font; Finnish, the game's own, for
// Finnish and for a language the game has no texts in.
TEST(Language, EnglishAndFinnishTexts)
{
    ASSERT_TRUE(setlanguage("en"));
    EXPECT_EQ(gamelanguage, "en");
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(_(TEXTS[i]), ENGLISH[i]);
        EXPECT_TRUE(drawable(_(TEXTS[i])));
    }
    const struct {
        const char* language;
        bool found;
    } finnish[] = {{"", true}, {"fi", true}, {"fi_FI", true}, {"xx", false}, {"en_US", false}, {"../en", false}};
    for (const auto& f : finnish) {
        ASSERT_TRUE(setlanguage("en"));
        EXPECT_EQ(setlanguage(f.language), f.found) << f.language;
        EXPECT_EQ(gamelanguage, "") << f.language;
        for (const char* text : TEXTS) EXPECT_EQ(_(text), text) << f.language;
    }
    for (const char* text : TEXTS) EXPECT_TRUE(drawable(text));
}

// The language a player asks for, from the command line or the
// environment; an unknown one gives Finnish, with one warning only when the
// command line asked for it.
TEST(Language, ChosenFromTheOptionOrTheEnvironment)
{
    const Scopedenv kept[] = {{"LANGUAGE", nullptr}, {"LC_ALL", nullptr}, {"LC_MESSAGES", nullptr}, {"LANG", nullptr}};
    const struct { const char *option, *language, *lang, *chosen; bool warns; } cases[] = {
        {"", nullptr, "en_US.UTF-8", "en", false},  {"", "en", nullptr, "en", false},
        {"", "en", "C", "", false},                 {"", "xx:en", "fi_FI.UTF-8", "en", false},
        {"", "fi:en", nullptr, "", false},          {"", nullptr, "xx_YY.UTF-8", "", false},
        {"en", nullptr, "C", "en", false},          {"fi", "en", "en_US.UTF-8", "", false},
        {"xx", nullptr, "en_US.UTF-8", "", true},
    };
    for (const auto& c : cases) {
        c.language ? setenv("LANGUAGE", c.language, 1) : unsetenv("LANGUAGE");
        c.lang ? setenv("LANG", c.lang, 1) : unsetenv("LANG");
        resetoptions();
        options.language = c.option;
        ::testing::internal::CaptureStderr();
        chooselanguage();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(gamelanguage, c.chosen) << c.option << " " << (c.language ? c.language : "-") << " "
                                          << (c.lang ? c.lang : "-");
        EXPECT_EQ(err, c.warns ? "kuurakarpalo: the game has no texts in the language xx; they are in Finnish\n" : "");
        EXPECT_STREQ(_("Pisteet:"), *c.chosen ? "Score:" : "Pisteet:");
    }
    resetoptions();
    setlanguage("");
}

// Run by tests/e2e/language.sh, in bare environments: the language that the
// environment as it stands asks for, with no option.
TEST(Language, TheEnvironmentAsItStands)
{
    const char* expected = std::getenv("KUURAKARPALO_EXPECTED_LANGUAGE");
    if (!expected) GTEST_SKIP() << "run by tests/e2e/language.sh";
    resetoptions();
    chooselanguage();
    EXPECT_EQ(gamelanguage, expected);
    EXPECT_STREQ(_("Pisteet:"), *expected ? "Score:" : "Pisteet:");
    setlanguage("");
}
