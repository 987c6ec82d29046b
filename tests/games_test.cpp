// The kept games' folder and table, without playing a game; playing back,
// verifying and the folder's failures are e2e/games.sh's.
#include "digest.h"
#include "games.h"
#include "main.h"
#include "mapfile.h"
#include "options.h"
#include "recording.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A new empty folder under /tmp; files put in it, read, and all taken away.
std::string newfolder()
{
    char folder[] = "/tmp/kuurakarpalo-games-XXXXXX";
    EXPECT_NE(mkdtemp(folder), nullptr);
    return folder;
}

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string textof(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void emptied(const std::string& folder)
{
    for (const Gamefile& f : listgames(folder)) removegame(folder, f.name);
    std::remove((folder + "/" + GAMESINDEX).c_str());
    EXPECT_EQ(rmdir(folder.c_str()), 0) << folder;
}

Keptgame game(int i, Keptgame::State state, int score, long long size = 1000)
{
    char name[40];
    std::snprintf(name, sizeof name, "2026-01-01_00-%02d-%02d.rec", i / 60, i % 60);
    return Keptgame{name, size, 0, state, score, 100, "", "1.0", {}};
}

// Makes the games' files in a new folder; their names left after pruning.
std::vector<std::string> pruned(std::vector<Keptgame> games)
{
    const std::string folder = newfolder();
    for (const Keptgame& g : games) put(folder + "/" + g.name, "x");
    prunegames(folder, games);
    std::vector<std::string> left;
    for (const Gamefile& f : listgames(folder)) left.push_back(f.name);
    emptied(folder);
    std::vector<std::string> named;
    for (const Keptgame& g : games) named.push_back(g.name);
    EXPECT_EQ(named, left) << "what pruning reports is what the folder holds";
    return left;
}

}   // namespace

// Beyond the best and the newest the oldest go; the bytes' cap takes the
// oldest of the newest too, never one of the best, and a game not yet
// checked counts by its recorded score.
TEST(Games, PruningKeepsTheBestAndTheNewest)
{
    std::vector<Keptgame> games;
    for (int i = 0; i < 40; i++) games.push_back(game(i, Keptgame::FINISHED, i == 3 || i == 5 ? 1000 : 10));
    games[7] = game(7, Keptgame::UNCHECKED, 900);
    games[8] = game(8, Keptgame::CUT, 5000);
    games[9] = game(9, Keptgame::REFUSED, 5000);
    std::vector<std::string> left = pruned(games);
    // The best: 3, 5, 7 and the seven oldest of the games scoring 10; the
    // newest: 20 to 39.
    std::vector<std::string> expected;
    for (int i = 0; i < 40; i++)
        if (i < 8 || i == 10 || i == 11 || i >= 40 - LASTGAMES) expected.push_back(games[i].name);
    EXPECT_EQ(left, expected);

    for (Keptgame& g : games) g.size = GAMESBYTES / 25;
    left = pruned(games);
    EXPECT_EQ(left.size(), 25u) << "the cap leaves the best and the 15 newest that fit";
    EXPECT_EQ(left[10], games[25].name);
    EXPECT_EQ(left.back(), games[39].name);
}

TEST(Games, TheTableRanksFinishedGamesByScoreTheEarlierFirst)
{
    std::vector<Keptgame> games = {game(0, Keptgame::FINISHED, 5), game(1, Keptgame::CUT, 99),
                                   game(2, Keptgame::FINISHED, 7), game(3, Keptgame::UNCHECKED, 8),
                                   game(4, Keptgame::FINISHED, 7)};
    EXPECT_EQ(bestgames(games, false), (std::vector<const Keptgame*>{&games[2], &games[4], &games[0]}));
    EXPECT_EQ(bestgames(games, true)[0], &games[3]);

    EXPECT_EQ(gamedate("2026-12-07_23-15-57"), "2026-12-07 23:15");
    EXPECT_EQ(gamedate("friend.rec"), "");
    EXPECT_EQ(gamelength(0), "0:00");
    EXPECT_EQ(gamespath("/x", "/home/a"), "/x/kuurakarpalo/games");
    EXPECT_EQ(gamespath(nullptr, "/home/a"), "/home/a/.local/share/kuurakarpalo/games");
    EXPECT_EQ(gamelength(FRAMES_PER_SECOND * 120 + FRAMES_PER_SECOND - 1), "2:00");
}

// The index caches what each recording holds: written when a game first
// comes, and again when checking it changes its state, rows the same.
TEST(Games, TheIndexFollowsAGameChecked)
{
    const std::string folder = newfolder(), index = folder + "/" + GAMESINDEX;
    put(folder + "/2026-01-01_00-00-00.rec", textof("tests/golden/death.rec"));
    const auto indexed = [&](bool check) {
        const Keptgame::State state = keptgames(folder, check).at(0).state;
        return std::to_string(state) + textof(index);
    };
    const std::string first = indexed(false), checked = indexed(true);
    EXPECT_TRUE(first[0] - '0' == Keptgame::UNCHECKED && first.size() > 1) << first;
    EXPECT_EQ(checked[0] - '0', Keptgame::FINISHED);
    EXPECT_NE(first.substr(1), checked.substr(1));
    EXPECT_EQ(indexed(false), checked);   // read back from the index
    // Listing alone writes nothing, even past a row of a game gone.
    std::string stale = checked.substr(1);
    stale[stale.find("00-00.rec") + 4] = '1';
    put(index, stale);
    EXPECT_EQ(indexed(false), std::to_string(Keptgame::UNCHECKED) + stale);
    // A write cut short by the size limit leaves no temporary: the folder empties below.
    const rlimit small{4, RLIM_INFINITY}, whole{RLIM_INFINITY, RLIM_INFINITY};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    indexed(true);
    setrlimit(RLIMIT_FSIZE, &whole);
    // Unchecked, a game ranks by its last recorded score (not the final score beside it).
    Digest d{};
    d.count = (int)digestnames().size();
    d.value[0] = 5, d.value[1] = 7;
    put(folder + "/2026-01-01_00-00-01.rec",
        recordingheader(MAPFILESIZE, mapcrc, "", digestnames()) + worldline(1, "-----") + checkpointline(1, d) + endline(1, false));
    EXPECT_EQ(keptgames(folder, false).at(1).score, 5);
    emptied(folder);
}

// A game that verified on an earlier version and map keeps its place when
// this game cannot play it back: by its row in an index of either form
// that version wrote, or by the standing beside it when the index is gone.
// Twenty newer games do not push it out, and the table says so.
TEST(Games, AGameThatOnceVerifiedKeepsItsPlace)
{
    const std::string old = "2026-01-01_00-00-00.rec";
    std::string tampered = textof("tests/golden/death.rec");
    tampered.replace(tampered.find("\nc 100 00000000"), 15, "\nc 100 00000001");
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", (unsigned)crc32of(0, tampered.data(), tampered.size()));
    const std::string size = std::to_string(tampered.size()), row = old + " " + size + " " + crc;
    const std::string standing = "kuurakarpalo verified 1\nsize " + size + "\ncrc " + crc +
                                 "\nscore 435\nframes 7270\ngame 0.9\nmap 792032 deadbeef\n";
    const struct {
        const char* what;
        std::string index, beside;
        bool kept;
    } cases[] = {
        {"an index of the first form", "kuurakarpalo games 1\ngame 0.9\nmap 792032 deadbeef\n" + row +
                                           " finished 435 7270 - 0.9\n", "", true},
        {"an index with its standing", "kuurakarpalo games 2\ngame 0.9\nmap 792032 deadbeef\n" + row +
                                           " refused 0 1510 - 1.0 verified 0.9 792032 deadbeef 435 7270\n", "", true},
        {"its standing beside it, the index damaged", "\x01\x02 damaged", standing, true},
        {"neither", "", "", false},
    };
    for (const auto& c : cases) {
        const std::string folder = newfolder();
        put(folder + "/" + old, tampered);
        if (!c.index.empty()) put(folder + "/" + GAMESINDEX, c.index);
        if (!c.beside.empty()) put(folder + "/" + standingname(old), c.beside);
        for (int i = 1; i <= LASTGAMES + 1; i++) {
            char name[40];
            std::snprintf(name, sizeof name, "2026-01-02_00-00-%02d.rec", i);
            put(folder + "/" + name, recordingheader(MAPFILESIZE, mapcrc, "", digestnames()));
        }
        for (int round = 0; round < 2; round++) {
            ::testing::internal::CaptureStderr();
            std::vector<Keptgame> games = keptgames(folder, true);
            ::testing::internal::GetCapturedStderr();
            prunegames(folder, games);
            const std::vector<const Keptgame*> best = bestgames(games, false);
            ASSERT_EQ(best.size(), c.kept ? 1u : 0u) << c.what;
            EXPECT_EQ(listgames(folder).size(), LASTGAMES + (c.kept ? 1u : 0u)) << c.what;
            if (!c.kept) break;
            EXPECT_TRUE(best[0]->name == old && keptscore(*best[0]) == 435 && keptframes(*best[0]) == 7270 &&
                        olderversion(*best[0]))
                << c.what;
            // Once read, the standing also lies beside the game, where it
            // outlives the index.
            put(folder + "/" + GAMESINDEX, "damaged");
        }
        emptied(folder);
    }
}

// Any name the folder can hold is one word of the index, and back.
TEST(Games, TheIndexHoldsAnyFileName)
{
    const std::string folder = newfolder();
    std::vector<Keptgame> games;
    for (const char* name : {"best run.rec", "100%.rec", "%41.rec", "two\nlines.rec", "tab\there.rec",
                             "p\xc3\xa4iv\xc3\xa4.rec", "\x7f.rec", " .rec"})
        games.push_back(Keptgame{name, 5, 0x1234abcd, Keptgame::CUT, 0, 0, "en", "1.0", {}});
    games[0].standing = Standing{true, "0.9", 1, 2, 3, 4};
    Gamesindex index;
    ASSERT_TRUE(parseindex(indextext("1.0", MAPFILESIZE, mapcrc, games), index));
    for (const Keptgame& g : games)
        EXPECT_TRUE(index.rows.count(g.name) && index.rows[g.name].language == "en" &&
                    index.rows[g.name].standing.score == g.standing.score)
            << g.name;
    for (const char* word : {"%", "%4", "%zz.rec", "a%2Fb.rec", "%00.rec"}) {
        std::string name;
        EXPECT_FALSE(unescapename(word, name)) << word;
    }

    // A game with a space in its name is checked once; the index trusted after.
    put(folder + "/best run.rec", textof("tests/golden/death.rec"));
    const auto checked = [&] {
        ::testing::internal::CaptureStderr();
        const Keptgame::State state = keptgames(folder, true).at(0).state;
        return std::to_string(state) + ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(checked(), std::to_string(Keptgame::FINISHED));
    EXPECT_EQ(checked(), std::to_string(Keptgame::FINISHED));
    emptied(folder);
}
