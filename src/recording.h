// Recorded games: the recording file's format, the recorder, the playback,
// and where a run's input comes from.
#ifndef KUURAKARPALO_RECORDING_H
#define KUURAKARPALO_RECORDING_H

#include "digest.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Box;

// A recorded game as read from its file.
const int RECORDINGVERSION = 1;
const int CHECKPOINTEVERY = 50;    // world frames between checkpoints
const int RUNMAX = 50;             // frames in one line of the file
const int BOXKEYMAX = 256;         // key-downs in one box frame
// What a recording may hold, far beyond any game played: a file past one of
// these is refused as it is read, so that reading and checking one costs
// what the game it holds costs, whatever the file claims.
const long RECORDINGMAX = 64L << 20;      // bytes
const int WORLDFRAMESMAX = 1728000;       // world frames: twelve hours at FRAMES_PER_SECOND
const int BOXFRAMESMAX = 1728000;         // box frames: twelve hours of message boxes
const int INPUTLINESMAX = 1 << 20;        // lines of input (w, b and k)
const char WORLDKEYS[] = "UDLRS";  // a world line's letters for key[0..4]
const char BOXKEYS[] = "S123UD";   // the keys a box takes: space, 1, 2, 3, up, down
const char BOXCLOSE = 'Q';         // a box frame's last letter: the game closed in it
struct RecordedInput {
    bool box;              // a box frame, or a world frame
    int count;             // frames, 1..RUNMAX, all alike
    std::string keys;      // world: "UDLRS", '-' for keys up; box: a letter a key-down, then Q if closed
};
struct Recording {
    std::string game;                  // the version of the game that made it
    std::string language;              // the language of its texts; empty for Finnish
    long long mapsize;                 // bytes of the map file it was made on
    uint32_t mapcrc;                   // CRC-32 of that map file
    int interval;                      // world frames between checkpoints
    std::vector<std::string> names;    // the digest's entries
    std::vector<RecordedInput> input;  // in the order the game read it
    std::vector<Checkpoint> checkpoints;
    std::vector<size_t> checkpointat;  // input entries read before each checkpoint
    int frames;                        // world frames in all
    int boxframes;                     // box frames in all
    bool endedbygame;                  // the game ended by itself, not by the player
    bool closedinbox;                  // the game closed in a box frame of the last world frame
    bool cut;                          // no end line: the game stopped; input and frames up to the last checkpoint
};
// Reads a recording from its text. False, with the line and what is wrong
// with it in error, for anything but a well-formed recording: a whole one,
// or one cut short after its header, whose lines are whole but perhaps the
// last (it plays to its last checkpoint).
bool parserecording(const char* text, size_t size, Recording& recording, std::string& error);
// Reads a recording file whole, once, into text: at most RECORDINGMAX
// bytes, from any file a path names (a pipe too). False, with why in error.
bool readrecordingfile(const char* path, std::string& text, std::string& error);
// Reads a recording file whole and parses it.
bool readrecording(const char* path, Recording& recording, std::string& error);
// The lines of a recording file: its header, and then the input and the
// checkpoints as the game goes.
std::string recordingheader(long mapsize, uint32_t mapcrc, const std::string& language,
                            const std::vector<std::string>& names);
std::string worldline(int count, const std::string& keys);  // keys as "UDLRS", '-' for up
std::string boxline(int count, const std::string& keys);
std::string checkpointline(int frame, const Digest& digest);
std::string endline(int frames, bool bygame);

// Recording a game: the file open for writing; its header is written at
// once. recordworld and recordbox add a frame's input; worldframedone writes
// the checkpoints, and the end with the last frame.
// A kept game's recording (kept) that cannot be written whole is said so,
// but it does not fail the game.
bool startrecording(FILE* file, const char* path, bool kept);
void recordworld(bool ends);
void recordbox(const std::string& keys);
// Called after every checkpoint written and flushed; empty but on the web,
// where it stores the game so far.
extern void (*recordingsaved)();   // recording.cpp
// Playing a recording back from its text, named label in what is said of
// it: checks it against this map and this game's digest and plays in its
// language. False, with the line to give in error, when it cannot be
// played; unchecked gets the line naming the fields the recording and the
// game do not share, if any.
bool startplayback(const std::string& text, const std::string& label, std::string& error, std::string& unchecked);
// The recorded world frame's keys, and quit at the recording's end.
void playworld(bool& quit);
// The recorded box frame's keys, handed to boxpress; false once the box ends
// because the game closed.
bool playbox(Box& box);
// A world frame's checkpoint written (recorder.cpp), after every
// CHECKPOINTEVERY-th world frame and the last, with the end line after it;
// or compared with the recording's (playback.cpp).
void writecheckpoint(bool last);
void comparecheckpoint();
// Closes the recording file: 0, or 1 for one that could not be written
// whole, after its line; a kept game's failure costs only the line.
int closerecording();
// The end of a world frame, after it was drawn: a checkpoint is written or
// compared. quit says that this frame is the game's last. A difference ends
// the playback: closing is set and the line kept for playbackresult.
void worldframedone(bool quit);
// How the playback went so far.
struct Played {
    std::string difference;   // the first difference, as a line; empty if none
    bool closedbydifference;  // the difference set closing, not the player
    bool ended;               // played to its last frame, every checkpoint matched
    bool cut;                 // a recording cut short
    bool endedbygame;         // the recorded game ended by itself
    int frames;               // world frames it holds
    int score;                // the score of its last checkpoint
    std::string cutline;      // for a cut recording, the line that says so
};
Played playbackresult();
// Ends a playback without a word: the input is live again.
void stopplayback();
// Starts recording into, or playing back from, the file options name: a
// recording keeps gamelanguage, and playback plays in the recording's
// language. False after one line on stderr, also for a recording in a
// language the game has no texts in. A recording whose checkpoints lack
// fields of the game, or hold fields it no longer has, plays with those
// left unchecked, after one line on stderr naming them; one that shares
// none is refused.
bool openinput();
// How a playback ended, for the page to say: played to the end of a
// finished game or of one cut short, stopped by its watcher, or no longer
// matching; ENDLEFT for a game played, ENDDARK once its world went dark.
enum Ending { ENDLEFT, ENDDARK, ENDPLAYED, ENDCUT, ENDSTOPPED, ENDDIFFERS };
extern Ending ending;   // recording.cpp: set as a playback closes
// Finishes the recording file or the playback: 0, or the exit code it asks
// for after its line on stderr: 1 for a recording not written whole, 3 for
// a playback that differed. A cut recording played to its end gives its line.
int closeinput();

#endif
