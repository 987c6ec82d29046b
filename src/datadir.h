// The data lookup: the directory that holds kuurakarpalo.map and DATA/,
// and the places compiled into the program.
#ifndef KUURAKARPALO_DATADIR_H
#define KUURAKARPALO_DATADIR_H

#include <string>
#include <vector>

// Data: the directory that holds kuurakarpalo.map and DATA/ (datadir.cpp)

const char* const DATAENV = "KUURAKARPALO_DATA";   // environment variable naming the data directory

// Where the build put the data, as compiled in.
struct Datahomes {
    std::string installed;    // the installed data directory, absolute
    std::string fromgames;    // the same, relative to the installed executable's directory
    std::string buildtree;    // the build directory; empty without build-tree lookup
    std::string sourcetree;   // the repository's root, tried by executables under buildtree
    std::string locale;       // the installed catalogs' directory (share/locale), absolute
    std::string localefromgames;   // the same, relative to the installed executable's directory
};

// The places compiled into this program.
Datahomes builtdatahomes();
// Where to look, in order, each once: option, env, beside exe, installed, source tree, cwd.
std::vector<std::string> dataplaces(const Datahomes& homes, const char* option, const char* env,
                                    const std::string& exe, const std::string& cwd);
// Whether dir holds a regular file kuurakarpalo.map and a directory DATA.
bool holdsdata(const std::string& dir);
// The first place holding the data, or ""; tried gets each place looked at; strict: the first only.
std::string finddata(const std::vector<std::string>& places, bool strict,
                     std::vector<std::string>* tried);
// The one line that says where the data was looked for in vain.
std::string nodatamessage(const std::vector<std::string>& tried, bool strict);
// Changes into the data directory, option (--data, or null) first; false after one line on stderr.
bool enterdatadir(const char* option);
// A path named on the command line as seen from the working directory.
std::string absolutepath(const char* path);

#endif
