// Sound: the music and the effect, the options' volumes, the sound held
// by a pause.
#ifndef KUURAKARPALO_AUDIO_H
#define KUURAKARPALO_AUDIO_H

#include <SDL/SDL_mixer.h>

extern Mix_Music* music;     // main.cpp: the background track, empty if it failed to load

extern Mix_Chunk* hit1;      // main.cpp: the player's death sound, empty if it failed to load

// The sound beyond start-up (audio.cpp): the options' volumes, and the music
// and the effects stopped and going on again; nothing without sound.
void setvolumes();
void pauseaudio();
void resumeaudio();

#endif
