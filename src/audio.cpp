// The sound beyond what start-up opens and loads: the volumes the options
// ask for, and the music and the effects stopped while the game pauses.
// Without sound the mixer was never opened, and none of this touches it.
#include "audio.h"
#include "options.h"

#include <SDL/SDL_mixer.h>

void setvolumes()
{
    if (!options.sound) return;
    Mix_VolumeMusic(options.musicvolume);
    Mix_Volume(-1, options.effectsvolume);
}

void pauseaudio()
{
    if (!options.sound) return;
    Mix_PauseMusic();
    Mix_Pause(-1);
}

void resumeaudio()
{
    if (!options.sound) return;
    Mix_Resume(-1);
    Mix_ResumeMusic();
}
