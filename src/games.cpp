// The folder the games are kept in, under the player's data home: its place,
// its recordings by name, new files named by the date and time that never
// overwrite one another, and files written whole or not at all, so that two
// games ending at once lose nothing.
#include "games.h"
#include "settings.h"
#include "system.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string gamespath(const char* xdgdatahome, const char* home)
{
    return basedirpath(xdgdatahome, home, ".local/share", GAMESFOLDER);
}

std::string gamesfolder()
{
    return gamespath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::vector<Gamefile> listgames(const std::string& folder)
{
    std::vector<Gamefile> out;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".rec") != 0 || name[0] == '.') continue;
        std::error_code e;
        if (!it->is_regular_file(e)) continue;
        const auto size = it->file_size(e);
        if (!e) out.push_back(Gamefile{name, (long long)size});
    }
    std::sort(out.begin(), out.end(), [](const Gamefile& a, const Gamefile& b) { return a.name < b.name; });
    return out;
}

bool makefolder(const std::string& folder, std::string& why)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) why = error.message();
    return !error;
}

// "2026-12-07_23-15-57" for a time: sorted by name, the games are in order.
static std::string stamp(std::time_t t)
{
    std::tm local{};
    char text[32];
    if (!localtime_r(&t, &local) || !std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local)) return "game";
    return text;
}

FILE* newgamefile(const std::string& folder, const char* suffix, std::string& name, std::string& why)
{
    const std::string base = stamp(std::time(nullptr)) + suffix;
    for (int n = 1; n < 100; n++) {
        name = base + (n > 1 ? "-" + std::to_string(n) : "") + ".rec";
        // Created here, never opened if another game made it first.
        FILE* f = std::fopen((folder + "/" + name).c_str(), "wbx");
        if (f) return f;
        if (errno != EEXIST) break;
    }
    why = std::strerror(errno);
    return nullptr;
}

bool writeatomically(const std::string& path, const std::string& text, std::string& why)
{
    const std::string temporary = path + "." + std::to_string((long)getpid()) + ".new";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() && syncfile(f);
    const int error = errno;
    if (std::fclose(f) != 0 || !written) {
        why = std::strerror(written ? errno : error);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    const size_t slash = path.rfind('/');
    syncfolder(slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash));
    return true;
}

bool readwhole(const std::string& path, long most, std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    text.clear();
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && (long)text.size() <= most) text.append(chunk, got);
    const bool read = !std::ferror(f) && (long)text.size() <= most;
    std::fclose(f);
    return read;
}

bool removegame(const std::string& folder, const std::string& name)
{
    std::remove((folder + "/" + standingname(name)).c_str());
    return std::remove((folder + "/" + name).c_str()) == 0;
}
