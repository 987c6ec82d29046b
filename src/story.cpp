// The story: the day's turn in script frames, the opening and the warning,
// the arrivals at the gates by day and night, and the warps.
#include "language.h"
#include "main.h"
#include "messagebox.h"
#include "world.h"

#include <cmath>

const StoryTile* const STORYTILES[18] = {
    &PLAYERSTART,    &FRIENDTILES[0], &FRIENDTILES[1], &FRIENDTILES[2], &FRIENDTILES[3], &FRIENDTILES[4],
    &FRIENDTILES[5], &FRIENDTILES[6], &FRIENDTILES[7], &FRIENDTILES[8], &FRIENDTILES[9], &WESTCAMP,
    &EASTCAMP,       &WESTGATE,       &EASTGATE,       &NORTHGATE,      &SOUTHGATE,      &FIRSTCORPSE};

float darkness(int t)
{
    return 1 - ABS((float)cos(t / DAYRADIAN));
}

// The first script frame from `from` on whose darkness reached takes; every
// darkness comes round within a day's turn.
template <class F> static int firstframe(int from, F reached)
{
    int t = from;
    while (!reached(darkness(t))) t++;
    return t;
}

// The first script frame of day n: its noon, or just after.
static int noon(int day)
{
    return (int)std::ceil(day * DAYRADIAN * 3.141592653589793);
}

int duskframe(int day)
{
    return firstframe(noon(day), [](float d) { return !(d < DUSK); });
}

int nightframe(int day)
{
    return firstframe(noon(day), [](float d) { return d > NIGHTFALL; });
}

int dawnframe(int day)
{
    return firstframe(nightframe(day), [](float d) { return d < DUSK; });
}

const int WARNINGFRAME = duskframe(0) - WARNINGLEAD;

static void say(const char* text)
{
    Messagebox(text, "", "", "", "", "", "", "");
}

// Ten friends around the start tile, two monsters on each camp and a body in
// the village. Only the neutrals are cleared first.
void Map::initscript()
{
    for (int n = 0; n < SLOTS; n++) neutral[n].settype(0);

    for (const StoryTile& f : FRIENDTILES) putfriend(f.c, f.r);

    putenemy(ENEMYMONSTER, WESTCAMP.c, WESTCAMP.r);
    putenemy(ENEMYMONSTER, WESTCAMP.c, WESTCAMP.r);
    putenemy(ENEMYMONSTER, EASTCAMP.c, EASTCAMP.r);
    putenemy(ENEMYMONSTER, EASTCAMP.c, EASTCAMP.r);
    putcorpse(VILLAGERCORPSE, FIRSTCORPSE.c * TILE, FIRSTCORPSE.r * TILE);
}

// Enemies arrive as a monster and a raider on the same gate tile; friends
// in twos.
static void enemypair(const StoryTile& gate)
{
    putenemy(ENEMYMONSTER, gate.c, gate.r);
    putenemy(ENEMYRAIDER, gate.c, gate.r);
}

static void friendpair(const StoryTile& gate)
{
    putfriend(gate.c, gate.r);
    putfriend(gate.c, gate.r);
}

void Map::runscript()
{
    if (time == OPENINGFRAME) {
        say(_("On koston aika!"));
        say(_("Teurastakaa ne kaikki!"));
    }

    if (!(player.healt > 0)) {
        // The dead world darkens by a hundredth a frame until the game ends.
        // A death at the very instant of full daylight would leave night at
        // 0 for ever; start from the least darkness the clock can show.
        if (night == 0.0f) night = 5.96046448e-8f;
        night = (float)(night * 1.01);
        score = finalscore;
        return;
    }

    // Each random draw is made only when the trigger's other conditions hold.
    // TRANSLATORS: the game's font draws "{" as ä and "}" as ö, so the
    // Finnish texts write them so; a translation writes its letters as they
    // are, in UTF-8.
    if (time == WARNINGFRAME) say(_("Valmistautukaa pahimpaan, sill{ pian koittaa y}!"));
    if (playerx() > 1024 && worldrand() % 600 == 1) enemypair(WESTGATE);
    if (playerx() < 1024 && worldrand() % 600 == 1) enemypair(EASTGATE);
    if (playerx() < 1920 && worldrand() % 600 == 1) enemypair(EASTGATE);
    if (playerx() > 1920 && worldrand() % 600 == 1) enemypair(WESTGATE);
    if (night < DUSK && playery() > 544 && worldrand() % 700 == 1) friendpair(NORTHGATE);
    if (night < DUSK && playery() < 480 && worldrand() % 700 == 1) friendpair(SOUTHGATE);
    if (night > NIGHTFALL && playerx() < 1920 && worldrand() % 400 == 1) enemypair(EASTGATE);
    if (night > NIGHTFALL && playerx() > 1024 && worldrand() % 400 == 1) enemypair(WESTGATE);

    time = time + 1;
    night = darkness(time);
    finalscore = score;
}

void Map::warpto(int x, int y, int d, const char* nname)
{
    for (int i = KEYUP; i <= KEYRIGHT; i++) key[i] = false;
    player.setposition(x * TILE, y * TILE);
    Camera.set(x * TILE - 480, y * TILE - 384);
    player.d = d;
    load(nname);

    if (Camera.x < 0) Camera.x = 0;
    if (Camera.y < 0) Camera.y = 0;
    if (Camera.nx < 0) Camera.nx = 0;
    if (Camera.ny < 0) Camera.ny = 0;
    const int maxx = sizex * TILE - SCREEN_WIDTH;
    const int maxy = sizey * TILE - SCREEN_HEIGHT;
    if (Camera.x > maxx) Camera.x = maxx;
    if (Camera.y > maxy) Camera.y = maxy;
    if (Camera.nx > maxx) Camera.nx = (float)maxx;
    if (Camera.ny > maxy) Camera.ny = (float)maxy;
}
