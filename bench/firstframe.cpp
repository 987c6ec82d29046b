// Start-up of the real game, unchanged: preloaded into it (LD_PRELOAD), this
// library notes when the game's libraries are loaded, when it calls
// SDL_Init (its map file is read by then), when its video mode is set, when
// its music is loaded (the last step of start-up) and when it shows its
// first frame (its first SDL_GL_SwapBuffers), counted from KUURAKARPALO_T0,
// the CLOCK_MONOTONIC nanoseconds its launcher took just before exec. It
// prints one line to standard error and ends the game right after that
// frame.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

static double since(long long t0)
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return ((long long)t.tv_sec * 1000000000LL + t.tv_nsec - t0) / 1e6;
}

static long long start()
{
    const char* t0 = std::getenv("KUURAKARPALO_T0");
    return t0 ? std::atoll(t0) : 0;
}

static double loaded = -1;   // milliseconds
static double sdlinit = -1;
static double videomode = -1;
static double musicloaded = -1;

__attribute__((constructor)) static void onload()
{
    loaded = since(start());
}

extern "C" int SDL_Init(Uint32 flags)
{
    if (sdlinit < 0) sdlinit = since(start());
    auto real = (int (*)(Uint32))dlsym(RTLD_NEXT, "SDL_Init");
    return real(flags);
}

extern "C" SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    auto real = (SDL_Surface * (*)(int, int, int, Uint32)) dlsym(RTLD_NEXT, "SDL_SetVideoMode");
    SDL_Surface* s = real(width, height, bpp, flags);
    if (videomode < 0) videomode = since(start());
    return s;
}

extern "C" Mix_Music* Mix_LoadMUS(const char* file)
{
    auto real = (Mix_Music * (*)(const char*)) dlsym(RTLD_NEXT, "Mix_LoadMUS");
    Mix_Music* m = real(file);
    if (musicloaded < 0) musicloaded = since(start());
    return m;
}

extern "C" void SDL_GL_SwapBuffers(void)
{
    auto real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    real();
    const double first = since(start());
    std::fprintf(stderr, "startup_ms loaded %.1f sdl_init %.1f video_mode %.1f music_loaded %.1f first_frame %.1f\n",
                 loaded, sdlinit, videomode, musicloaded, first);
    SDL_Quit();
    _exit(0);
}
