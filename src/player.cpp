// The hero: arrow keys move the target 4 pixels a frame, space swings the
// sword, and a death is handled exactly once.
#include "audio.h"
#include "language.h"
#include "layer.h"
#include "main.h"
#include "messagebox.h"
#include "textures.h"
#include "world.h"

#include <SDL/SDL_mixer.h>

Player::Player(int nnx, int nny, int nd) : Hahmo(nnx, nny, nd), Weapon()
{
}

void Player::input()
{
    if (healt > 0) {
        // The facing stays locked from the strike until the sword has faded.
        if (swordfade == 0)
            d = animate();
        else
            animate();
        swordcontrol();
        if (key[KEYSPACE]) swordstrike(d);
        if (key[KEYUP]) ny -= 4;
        if (key[KEYDOWN]) ny += 4;
        if (key[KEYLEFT]) nx -= 4;
        if (key[KEYRIGHT]) nx += 4;
        move();
    }

    // -100 marks a death already handled.
    if (healt <= 0 && healt != -100) {
        Mix_PlayChannelTimed(-1, hit1, 0, -1);
        putcorpse(VILLAGERCORPSE, (int)x, (int)y);
        Messagebox(_("Argh!!!"), "", "", "", "", "", "", "");
        healt = -100;
    }
}

void Player::regenerate()
{
    if (healt < 100) {
        healt += 0.02;
        healtfade = 1;
    }
}

void Player::show(Layer& l)
{
    showbody(l, TEXPLAYER, TEXPLAYERFLASH, frame / 4.0f, (frame + 1) / 4.0f);
}

void Player::showfinal(Layer& l)
{
    showsword(l, d, x, y, mapx, mapy);
    showhealt(l);
}
