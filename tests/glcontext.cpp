// Preloaded into the game, it stops the game at the first OpenGL call made
// while no GL context exists (before the window opens, or after it closed):
// such a call is undefined, and works only where a driver happens to ignore
// it. The calls watched are those that loading pictures and the font makes.
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void check(const char* name)
{
    if (glXGetCurrentContext()) return;
    std::fprintf(stderr, "glcontext: %s called without a GL context\n", name);
    _exit(97);
}

template <class F> F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void glGenTextures(GLsizei n, GLuint* textures)
{
    check("glGenTextures");
    next<void (*)(GLsizei, GLuint*)>("glGenTextures")(n, textures);
}

void glBindTexture(GLenum target, GLuint texture)
{
    check("glBindTexture");
    next<void (*)(GLenum, GLuint)>("glBindTexture")(target, texture);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    check("glTexParameteri");
    next<void (*)(GLenum, GLenum, GLint)>("glTexParameteri")(target, pname, param);
}

void glPixelStorei(GLenum pname, GLint param)
{
    check("glPixelStorei");
    next<void (*)(GLenum, GLint)>("glPixelStorei")(pname, param);
}

void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels)
{
    check("glTexImage2D");
    next<void (*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*)>("glTexImage2D")(
        target, level, internalformat, width, height, border, format, type, pixels);
}

GLuint glGenLists(GLsizei range)
{
    check("glGenLists");
    return next<GLuint (*)(GLsizei)>("glGenLists")(range);
}

void glDeleteLists(GLuint list, GLsizei range)
{
    check("glDeleteLists");
    next<void (*)(GLuint, GLsizei)>("glDeleteLists")(list, range);
}

void glMatrixMode(GLenum mode)
{
    check("glMatrixMode");
    next<void (*)(GLenum)>("glMatrixMode")(mode);
}
}
