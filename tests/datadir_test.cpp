// Finding the game's data: the order of the places, what counts as holding
// the data, --data's strictness and the one-line complaint.
#include "rig.h"
#include "datadir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

using Places = std::vector<std::string>;

const Datahomes HOMES = {"/usr/share/games/kuurakarpalo", "../share/games/kuurakarpalo",
                         "/src/build", "/src", "/usr/share/locale", "../share/locale"};

TEST(DataLookup, PlacesInOrderEachOnce)
{
    struct Case {
        const char* what;
        Datahomes homes;
        const char* option;
        const char* env;
        const char* exe;
        const char* cwd;
        Places want;
    };
    const Case cases[] = {
        {"every place, the game in the build tree", HOMES, "/opt/d/", "rel/dir",
         "/src/build/src/kuurakarpalo", "/home/u",
         {"/opt/d", "rel/dir", "/src/build/share/games/kuurakarpalo", "/usr/share/games/kuurakarpalo",
          "/src", "/home/u"}},
        {"installed: beside the program is the installed directory", HOMES, nullptr, nullptr,
         "/usr/games/kuurakarpalo", "/usr/share/games/kuurakarpalo",
         {"/usr/share/games/kuurakarpalo"}},
        {"unpacked elsewhere", HOMES, nullptr, nullptr, "/tmp/x/usr/games/kuurakarpalo", "/",
         {"/tmp/x/usr/share/games/kuurakarpalo", "/usr/share/games/kuurakarpalo", "/"}},
        {"a sibling of the build tree is not in it", HOMES, nullptr, nullptr,
         "/src/build2/kuurakarpalo", "/w",
         {"/src/share/games/kuurakarpalo", "/usr/share/games/kuurakarpalo", "/w"}},
        {"no build-tree lookup", {HOMES.installed, HOMES.fromgames, "", "", HOMES.locale, HOMES.localefromgames}, nullptr, nullptr,
         "/src/build/src/kuurakarpalo", "/w",
         {"/src/build/share/games/kuurakarpalo", "/usr/share/games/kuurakarpalo", "/w"}},
        {"program and working directory unknown", HOMES, nullptr, "/e", "", "",
         {"/e", "/usr/share/games/kuurakarpalo", "."}},
        {"an empty --data is the working directory and still comes first", HOMES, "", nullptr, "",
         "/w", {".", "/usr/share/games/kuurakarpalo", "/w"}},
        {"--data naming a later place keeps it first", HOMES, "/w/./", nullptr, "", "/w",
         {"/w", "/usr/share/games/kuurakarpalo"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataplaces(c.homes, c.option, c.env, c.exe, c.cwd), c.want) << c.what;
}

// A scratch directory laid out as named: "map" a regular kuurakarpalo.map,
// "mapdir" a directory of that name, "data" a DATA directory, "datafile" a
// file named DATA, "datalink" a link to a DATA directory.
static std::string layout(const char* name, std::initializer_list<const char*> parts)
{
    const std::string dir = scratchdir() + "/" + name;
    mkdir(dir.c_str(), 0755);
    for (std::string part : parts) {
        const std::string map = dir + "/kuurakarpalo.map", data = dir + "/DATA";
        if (part == "map") writefile("m", (std::string(name) + "/kuurakarpalo.map").c_str());
        if (part == "mapdir") mkdir(map.c_str(), 0755);
        if (part == "data") mkdir(data.c_str(), 0755);
        if (part == "datafile") writefile("d", (std::string(name) + "/DATA").c_str());
        if (part == "datalink") {
            EXPECT_EQ(0, symlink((scratchdir() + "/good/DATA").c_str(), data.c_str()));
        }
    }
    return dir;
}

TEST(DataLookup, FirstPlaceHoldingMapAndDataWins)
{
    const std::string good = layout("good", {"map", "data"});
    const std::string linked = layout("linked", {"map", "datalink"});
    const std::string empty = layout("empty", {});
    const std::string mapdir = layout("mapdir", {"mapdir", "data"});
    const std::string datafile = layout("datafile", {"map", "datafile"});
    const std::string nomap = layout("nomap", {"data"});
    const std::string missing = scratchdir() + "/missing";
    Places tried;   // a linked DATA directory counts
    const Places places = {missing, empty, mapdir, datafile, nomap, linked, good};
    EXPECT_EQ(finddata(places, false, &tried), linked);
    EXPECT_EQ(tried, Places(places.begin(), places.end() - 1));

    // --data alone decides: the first place or nothing.
    EXPECT_EQ(finddata({empty, good}, true, &tried), "");
    EXPECT_EQ(tried, Places{empty});
    EXPECT_EQ(finddata({good, linked}, true, &tried), good);

    EXPECT_EQ(finddata({missing, nomap}, false, &tried), "");
    EXPECT_EQ(tried, (Places{missing, nomap}));
}

TEST(DataLookup, OneLineNamesEveryPlaceTried)
{
    EXPECT_EQ(nodatamessage({"/a", "b", "/c"}, false),
              "kuurakarpalo: cannot find the game's data (kuurakarpalo.map and DATA/); "
              "looked in: /a, b, /c");
    EXPECT_EQ(nodatamessage({"/opt/d"}, true),
              "kuurakarpalo: cannot find the game's data (kuurakarpalo.map and DATA/) in /opt/d, "
              "given with --data");
    char here[4096];
    EXPECT_TRUE(getcwd(here, sizeof here) && absolutepath("a") == std::string(here) + "/a" &&
                absolutepath("/a") == "/a" && absolutepath("").empty());
}
