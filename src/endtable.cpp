// The table of the best games at the dark end, drawn in the game's font
// over the last picture.
#include "display.h"
#include "font.h"
#include "games.h"
#include "language.h"

#include <GL/gl.h>

// The table of the best over the kept picture, the row of the game just
// played marked, in the game's font.
void drawtable(const std::vector<const Keptgame*>& best, const std::string& mine)
{
    showkept();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    glColor4f(0, 0, 0, 0.6f);
    glBegin(GL_QUADS);
    glVertex2i(192, 160);
    glVertex2i(832, 160);
    glVertex2i(832, 560);
    glVertex2i(192, 560);
    glEnd();
    glDisable(GL_BLEND);
    glPrint(232, 190, _("Parhaat pelit"), 0, 0);
    glPrint(272, 240, _("Pisteet"), 0, 0);
    glPrint(392, 240, _("P{iv{"), 0, 0);
    glPrint(592, 240, _("Kesto"), 0, 0);
    for (size_t i = 0; i < best.size(); i++) {
        const Keptgame& g = *best[i];
        const int y = 270 + 22 * (int)i, red = g.name == mine;
        char rank[16];
        std::snprintf(rank, sizeof rank, "%d.", (int)i + 1);
        glPrint(232, y, rank, 0, red);
        glPrint(272, y, std::to_string(keptscore(g)).c_str(), 0, red);
        glPrint(392, y, gamedate(g.name).c_str(), 0, red);
        glPrint(592, y, gamelength(keptframes(g)).c_str(), 0, red);
        if (olderversion(g))
            glPrint(672, y, ("v" + g.version).substr(0, 10).c_str(), 0, red);
        else if (fromelsewhere(g.name))
            glPrint(672, y, _("muualta"), 0, red);
    }
    glPrint(232, 520, _("Paina n{pp{int{"), 0, 0);
    swapframe();
}
