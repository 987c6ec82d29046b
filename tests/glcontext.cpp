// Preloaded into the game, stops it at the first OpenGL call made with no GL
// context (before the window opens or after it closed), which is undefined.
// Watched: the calls that loading pictures and the font make.
#include <GL/glx.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

static void check(const char* name)
{
    if (glXGetCurrentContext()) return;
    std::fprintf(stderr, "glcontext: %s called without a GL context\n", name);
    _exit(97);
}

// Defines NAME PARAMETERS, which checks and then calls the next NAME with ARGUMENTS.
#define WATCH(TYPE, NAME, PARAMETERS, ARGUMENTS)                                               \
    extern "C" TYPE NAME PARAMETERS                                                            \
    {                                                                                          \
        check(#NAME);                                                                          \
        return reinterpret_cast<TYPE(*) PARAMETERS>(dlsym(RTLD_NEXT, #NAME)) ARGUMENTS;        \
    }

WATCH(void, glGenTextures, (GLsizei n, GLuint* textures), (n, textures))
WATCH(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))
WATCH(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))
WATCH(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))
WATCH(void, glTexImage2D,
      (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border,
       GLenum format, GLenum type, const void* pixels),
      (target, level, internalformat, width, height, border, format, type, pixels))
WATCH(GLuint, glGenLists, (GLsizei range), (range))
WATCH(void, glDeleteLists, (GLuint list, GLsizei range), (list, range))
WATCH(void, glMatrixMode, (GLenum mode), (mode))
