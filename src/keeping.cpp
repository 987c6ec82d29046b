// A game kept from its first frame to its end: its recording started in
// the games folder, and at its dark end checked, ranked and the table shown.
#include "display.h"
#include "frame.h"
#include "games.h"
#include "input.h"
#include "options.h"
#include "recording.h"

static std::string keptname;   // the game being kept, in the games folder

void keepgame()
{
    keptname.clear();
    if (!options.keepgames || inputsource != LIVEINPUT) return;
    const std::string folder = gamesfolder();
    std::string why = "neither XDG_DATA_HOME nor HOME is set", name;
    FILE* f = nullptr;
    if (!folder.empty() && makefolder(folder, why)) f = newgamefile(folder, "", name, why);
    if (!f) {
        std::fprintf(stderr, "kuurakarpalo: games are not kept: cannot write in %s: %s\n",
                     folder.empty() ? "the games folder" : folder.c_str(), why.c_str());
        return;
    }
    if (!startrecording(f, (folder + "/" + name).c_str(), true)) {
        std::fprintf(stderr, "kuurakarpalo: games are not kept: cannot write in %s\n", folder.c_str());
        return;
    }
    keptname = name;
    // The folder is tidied as a game starts, without playing anything back.
    std::vector<Keptgame> games = keptgames(folder, false);
    prunegames(folder, games);
}

int finishgame()
{
    const bool live = inputsource != PLAYINPUT && !inputfeeder && !closing;
    const std::string mine = keptname;
    keptname.clear();
    const int code = closeinput();
    if (!live || !darkend()) return code;
    const std::string folder = gamesfolder();
    std::vector<Keptgame> games = keptgames(folder, true);
    if (!mine.empty()) prunegames(folder, games);
    const std::vector<const Keptgame*> best = bestgames(games, false);
    // A close during the check ends the game there, as anywhere.
    for (int frame = 0; !closing && !anykey(); frame++) {
        // Drawn again now and then, for a window uncovered or resized.
        if (frame % 10 == 0) drawtable(best, mine);
        rest();
    }
    dropkept();
    return code;
}
