// Recording a game as it is played: each frame's input into runs of alike
// frames, and a checkpoint of the world's digest every 50 world frames,
// written and synced to the disk.
#include "digest.h"
#include "input.h"
#include "language.h"
#include "main.h"
#include "mapfile.h"
#include "recording.h"
#include "system.h"

#include <cstdio>

// The open file and the run of alike frames not yet written.
static FILE* recordfile;

static std::string recordpath;

static bool recordkept;   // a kept game's: its failure does not fail the game

static bool writefailed;

static bool namesynced;   // the folder synced since the file was made

static struct {
    bool box;
    int count;
    std::string keys;
} run;

static bool gameends;   // the game ends by itself after this world frame

static void write(const std::string& line)
{
    if (std::fputs(line.c_str(), recordfile) == EOF) writefailed = true;
}

static void flushrun()
{
    if (run.count == 0) return;
    write(run.box ? boxline(run.count, run.keys) : worldline(run.count, run.keys));
    run.count = 0;
}

// Adds one frame's input to the run, starting a new run when it differs.
// A box frame with keys is a line of its own.
static void addframe(bool box, const std::string& keys)
{
    if (run.count > 0 && (run.box != box || run.keys != keys || run.count == RUNMAX)) flushrun();
    run.box = box;
    run.keys = keys;
    run.count++;
    if (box && !keys.empty()) flushrun();
}

void recordworld(bool ends)
{
    gameends = ends;
    std::string keys;
    for (int i = 0; i < 5; i++) keys += key[i] ? WORLDKEYS[i] : '-';
    addframe(false, keys);
}

void recordbox(const std::string& keys)
{
    addframe(true, keys);
}

bool startrecording(FILE* file, const char* path, bool kept)
{
    recordfile = file;
    recordpath = path;
    recordkept = kept;
    writefailed = false;
    namesynced = false;
    run.count = 0;
    inputsource = RECORDINPUT;
    write(recordingheader(MAPFILESIZE, mapcrc, gamelanguage, digestnames()));
    return std::fflush(recordfile) == 0;
}

void writecheckpoint(bool last)
{
    if (worldframes % CHECKPOINTEVERY != 0 && !last) return;
    Digest d;
    takedigest(d);
    flushrun();
    write(checkpointline(worldframes, d));
    if (last) write(endline(worldframes, gameends));
    // On the disk, not only in the system's cache: a power cut loses at
    // most the frames since. The first time, the file's name too.
    if (!syncfile(recordfile)) writefailed = true;
    if (!namesynced) {
        const size_t slash = recordpath.rfind('/');
        syncfolder(slash == std::string::npos ? "." : recordpath.substr(0, slash + 1));
        namesynced = true;
    }
    if (recordingsaved) recordingsaved();
}

int closerecording()
{
    if (!recordfile) return 0;
    flushrun();
    const bool closed = std::fclose(recordfile) == 0;
    recordfile = nullptr;
    if (closed && !writefailed) return 0;
    writefailed = false;
    if (recordkept) {
        std::fprintf(stderr, "kuurakarpalo: this game is not kept whole: its recording \"%s\" could not be written\n",
                     recordpath.c_str());
        return 0;
    }
    std::fprintf(stderr, "kuurakarpalo: the recording \"%s\" could not be written whole\n", recordpath.c_str());
    return 1;
}
