// The entry function: read the command line, find the data, open
// everything, run frames until the game ends, keep it, close.
#include "datadir.h"
#include "frame.h"
#include "games.h"
#include "language.h"
#include "options.h"
#include "recording.h"
#include "world.h"

int main(int argc, char* argv[])
{
    bool quit = false;

    const int code = parseoptions(argc, argv);
    if (code >= 0) return code;
    if (!enterdatadir(options.data)) return 1;
    // A map file that cannot be read ends the program here, before any window.
    openworldmap();
    chooselanguage();
    // --scores, --verify and --keep end here; --watch finds its recording.
    const int asked = gamescommand();
    if (asked >= 0) return asked;
    if (!openinput()) return 1;
    if (!init()) quitgame(1);
    startup();
    // Only a game that starts is kept: a failed start leaves nothing.
    keepgame();
    while (!quit) quit = runframe();
    quitgame(finishgame());
}
