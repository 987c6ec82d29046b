// The OpenGL 1.x the game draws with, for the web build: WebGL has no
// immediate mode, no matrix stacks, no display lists and no alpha test, so
// the game's own small layer (web/gl.cpp) gives it exactly the calls the
// game makes, over WebGL through the GLES2 API. The native build includes
// the system's <GL/gl.h> instead and calls desktop OpenGL directly.
#ifndef KUURAKARPALO_WEB_GL_H
#define KUURAKARPALO_WEB_GL_H

// Types, and the calls WebGL shares with OpenGL 1.x: the layer defines
// glEnable, glDisable, glBindTexture, glClear, glScissor, glReadPixels and
// the other shared calls itself, so that it sees every change of state.
#include <GLES2/gl2.h>

#define GL_QUADS 0x0007
#define GL_COMPILE 0x1300
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_ALPHA_TEST 0x0BC0
#define GL_BACK 0x0405

#ifdef __cplusplus
extern "C" {
#endif

typedef double GLdouble;

// Quads between glBegin(GL_QUADS) and glEnd, with the current colour and
// texture coordinate of each vertex.
void glBegin(GLenum mode);
void glEnd(void);
void glVertex2i(GLint x, GLint y);
void glVertex2f(GLfloat x, GLfloat y);
void glTexCoord2f(GLfloat s, GLfloat t);
void glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);

// The projection and model-view matrices.
void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glPushMatrix(void);
void glPopMatrix(void);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glTranslated(GLdouble x, GLdouble y, GLdouble z);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearval, GLdouble farval);

// The alpha test: GL_GREATER only, the one comparison the game uses.
void glAlphaFunc(GLenum func, GLclampf ref);

// Display lists of the calls above.
GLuint glGenLists(GLsizei range);
void glNewList(GLuint list, GLenum mode);
void glEndList(void);
void glCallList(GLuint list);
void glDeleteLists(GLuint list, GLsizei range);
GLboolean glIsList(GLuint list);

// Reading takes the one drawing buffer WebGL has.
void glReadBuffer(GLenum mode);

#ifdef __cplusplus
}
#endif

#endif
