// Pausing between two frames.
#ifndef KUURAKARPALO_PAUSE_H
#define KUURAKARPALO_PAUSE_H

// Pausing (pause.cpp)

// A pause comes between two frames: the frame that asked for it is drawn
// whole, its picture kept and shown still with the pause notice, and nothing
// of the world runs or draws until P goes down again; the music and the
// effects stop meanwhile. The arrows pressed or let go while paused count
// when the game goes on. A pause writes nothing into a recording, so a game
// recorded with pauses plays back without them.
extern bool pauseasked;   // pause.cpp: P asked for a pause at the frame's end
extern bool pausing;      // pause.cpp: the game waits in a pause
extern int focuslost;     // pause.cpp: of SDL_APPINPUTFOCUS and SDL_APPACTIVE, what the window lost, not regained
const int AWAYFRAMES = 3;   // shown frames in a row without focus that end in a pause
// Whether a pause can be asked for: not by a scripted player, nor in fast
// playback. The window's focus pauses only a game a person plays live.
bool canpause();
bool focuspauses();
// Whether the frame being shown ends in a pause: P asked for it, or the
// window has been without the keyboard, or hidden, for AWAYFRAMES shown
// frames (focus that goes and comes back at once, as a window is mapped,
// is nothing). Called once a shown frame.
bool endsinpause();
// The pause, from the back buffer holding the frame just drawn until P, or
// until the game closes.
void pausegame();
// The width of the pause notice's band for a text, in pixels.
int noticewidth(const char* text);

#endif
