// Finding the directory that holds kuurakarpalo.map and DATA/, and changing
// into it so that every loader can keep its relative path.
#include "datadir.h"
#include "mapfile.h"
#include "settings.h"
#include "system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// The build fills these in: the installed data directory as an absolute path
// and as seen from the installed executable's directory; with build-tree
// lookup, the build directory and the repository's root.
#ifndef KUURAKARPALO_DATADIR
#define KUURAKARPALO_DATADIR ""
#endif
#ifndef KUURAKARPALO_DATADIR_FROMGAMES
#define KUURAKARPALO_DATADIR_FROMGAMES ""
#endif
#ifndef KUURAKARPALO_BUILDDIR
#define KUURAKARPALO_BUILDDIR ""
#endif
#ifndef KUURAKARPALO_SOURCEDIR
#define KUURAKARPALO_SOURCEDIR ""
#endif
#ifndef KUURAKARPALO_LOCALEDIR
#define KUURAKARPALO_LOCALEDIR ""
#endif
#ifndef KUURAKARPALO_LOCALEDIR_FROMGAMES
#define KUURAKARPALO_LOCALEDIR_FROMGAMES ""
#endif

namespace {

// Whether path lies inside dir (or is dir), comparing whole components.
bool inside(const fs::path& path, const fs::path& dir)
{
    const fs::path rel = path.lexically_relative(dir);
    return !rel.empty() && *rel.begin() != "..";
}

// A directory spelled without "." and ".." steps or a trailing separator.
std::string tidy(const fs::path& dir)
{
    fs::path p = dir.lexically_normal();
    if (p.has_relative_path() && p.filename().empty()) p = p.parent_path();
    return p.string();
}

}  // namespace

// Read through volatile pointers, each path stays one whole string in the
// program, so that a search of the binary finds a build path if there is one.
static const char* volatile builtplaces[6] = {KUURAKARPALO_DATADIR,    KUURAKARPALO_DATADIR_FROMGAMES,
                                              KUURAKARPALO_BUILDDIR,   KUURAKARPALO_SOURCEDIR,
                                              KUURAKARPALO_LOCALEDIR, KUURAKARPALO_LOCALEDIR_FROMGAMES};

Datahomes builtdatahomes()
{
    Datahomes homes{builtplaces[0], builtplaces[1], builtplaces[2],
                    builtplaces[3], builtplaces[4], builtplaces[5]};
    // The executable's path comes with every link resolved; so must the
    // build directory it is compared with.
    std::error_code error;
    if (!homes.buildtree.empty()) {
        const fs::path real = fs::weakly_canonical(homes.buildtree, error);
        if (!error) homes.buildtree = real.string();
    }
    return homes;
}

std::vector<std::string> dataplaces(const Datahomes& homes, const char* option, const char* env,
                                    const std::string& exe, const std::string& cwd)
{
    std::vector<std::string> places;
    auto add = [&places](const fs::path& dir) {
        if (dir.empty()) return;
        const std::string d = tidy(dir);
        if (std::find(places.begin(), places.end(), d) == places.end()) places.push_back(d);
    };
    // An explicit --data comes first even when empty (the working directory),
    // so that it alone decides.
    if (option) places.push_back(tidy(*option ? option : "."));
    if (env) add(env);
    // The data installed beside the program before the data installed where
    // the build said: an unpacked or moved installation keeps its own data.
    const fs::path bindir = fs::path(exe).parent_path();
    if (!exe.empty() && !homes.fromgames.empty()) add(bindir / homes.fromgames);
    add(homes.installed);
    if (!exe.empty() && !homes.buildtree.empty() && inside(bindir, homes.buildtree))
        add(homes.sourcetree);
    add(cwd.empty() ? "." : cwd);
    return places;
}

bool holdsdata(const std::string& dir)
{
    struct stat st;
    const std::string base = dir.empty() ? "." : dir;
    return stat((base + "/" + MAPFILE).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           stat((base + "/DATA").c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string finddata(const std::vector<std::string>& places, bool strict,
                     std::vector<std::string>* tried)
{
    tried->clear();
    for (const std::string& place : places) {
        tried->push_back(place);
        if (holdsdata(place)) return place;
        if (strict) break;
    }
    return "";
}

std::string nodatamessage(const std::vector<std::string>& tried, bool strict)
{
    std::string line = "kuurakarpalo: cannot find the game's data (kuurakarpalo.map and DATA/)";
    if (strict && !tried.empty()) return line + " in " + tried[0] + ", given with --data";
    line += "; looked in: ";
    for (size_t n = 0; n < tried.size(); n++) line += (n ? ", " : "") + tried[n];
    return line;
}

std::string absolutepath(const char* path)
{
    if (path[0] == '/' || path[0] == '\0') return path;
    char here[4096];
    if (!getcwd(here, sizeof here)) return path;
    return std::string(here) + "/" + path;
}

bool enterdatadir(const char* option)
{
    std::error_code error;
    const std::string exe = programpath();
    const fs::path cwd = fs::current_path(error);
    const char* env = std::getenv(DATAENV);
    if (env && !*env) env = nullptr;
    const std::vector<std::string> places =
        dataplaces(builtdatahomes(), option, env, exe, cwd.string());
    std::vector<std::string> tried;
    const std::string dir = finddata(places, option != nullptr, &tried);
    if (dir.empty()) {
        std::fprintf(stderr, "%s\n", nodatamessage(tried, option != nullptr).c_str());
        return false;
    }
    if (chdir(dir.c_str()) != 0) {
        std::perror(("kuurakarpalo: cannot enter the data directory " + dir).c_str());
        return false;
    }
    return true;
}

std::string basedirpath(const char* xdghome, const char* home, const char* fallback, const char* below)
{
    // A relative XDG directory is no directory at all.
    if (xdghome && xdghome[0] == '/') return std::string(xdghome) + "/" + below;
    if (home && home[0]) return std::string(home) + "/" + fallback + "/" + below;
    return "";
}
