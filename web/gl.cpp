// The game's OpenGL 1.x over WebGL: the calls the game makes and nothing
// more. Quads are gathered with their colours and texture coordinates, moved
// through the matrices here, and sent in batches: a batch ends only when
// something that changes how it is drawn changes (the texture, the alpha
// test, blending, the scissor) or when the picture is cleared, read or
// shown, so a frame is a few dozen draws instead of thousands. One shader
// does what the fixed pipeline did: the colour, clamped to 0..1, modulates
// the texture, and the alpha test drops what fails it.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <emscripten.h>
#include <webgl/webgl1.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Matrices, column-major as OpenGL keeps them
// ---------------------------------------------------------------------------

struct Matrix {
    float m[16];
};

const Matrix IDENTITY = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix times(const Matrix& a, const Matrix& b)
{
    Matrix r;
    for (int c = 0; c < 4; c++)
        for (int row = 0; row < 4; row++) {
            float s = 0;
            for (int k = 0; k < 4; k++) s += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = s;
        }
    return r;
}

const int STACKDEPTH = 32;   // as OpenGL's model-view stack at least holds

struct Stack {
    Matrix level[STACKDEPTH];
    int top = 0;
    Stack() { level[0] = IDENTITY; }
    Matrix& current() { return level[top]; }
};

Stack modelview, projection;
Stack* matrices = &modelview;

// ---------------------------------------------------------------------------
// What a batch is drawn with
// ---------------------------------------------------------------------------

struct Texture {
    GLsizei width = 0, height = 0;
    bool filtered = false;   // a minifying filter without mipmaps was set
};
std::vector<Texture> made(1);   // by texture name; 0 is the default, empty

struct State {
    GLuint texture = 0;      // 0: untextured
    bool alphatest = false;
    float alpharef = 0;
    bool operator==(const State& o) const
    {
        return texture == o.texture && alphatest == o.alphatest && alpharef == o.alpharef;
    }
};

bool texturing;         // GL_TEXTURE_2D is enabled
GLuint bound;           // the texture the game bound
bool alphatest;         // GL_ALPHA_TEST is enabled
float alpharef;

// The state the game's calls ask for now: a texture that is not complete
// draws as if texturing were off, as in OpenGL.
State wanted()
{
    State s;
    if (texturing && bound < made.size() && made[bound].width > 0 && made[bound].filtered) s.texture = bound;
    s.alphatest = alphatest;
    s.alpharef = alphatest ? alpharef : 0;
    return s;
}

// ---------------------------------------------------------------------------
// The batch
// ---------------------------------------------------------------------------

struct Vertex {
    float x, y;         // clip coordinates
    float s, t;
    float r, g, b, a;   // clamped to 0..1
};

const int BATCHQUADS = 8192;   // 32,768 vertices: 16-bit indices reach them all
Vertex batch[BATCHQUADS * 4];
int batched;                   // vertices in the batch
State batchstate;

float colour[4] = {1, 1, 1, 1};
float coord[2];
Vertex quad[4];
int inquad = -1;               // vertices of the quad so far; -1 outside glBegin

GLuint program, buffer, indices;
GLint alphatestat, alpharefat, texturingat;
State drawn;                   // the uniforms as last set
bool ready;

const char* const VERTEXSHADER =
    "attribute vec2 position;\n"
    "attribute vec2 coord;\n"
    "attribute vec4 colour;\n"
    "varying highp vec2 v_coord;\n"
    "varying lowp vec4 v_colour;\n"
    "void main() {\n"
    "    v_coord = coord;\n"
    "    v_colour = colour;\n"
    "    gl_Position = vec4(position, 0.0, 1.0);\n"
    "}\n";

const char* const FRAGMENTSHADER =
    "precision highp float;\n"
    "uniform sampler2D picture;\n"
    "uniform bool texturing;\n"
    "uniform bool alphatest;\n"
    "uniform float alpharef;\n"
    "varying highp vec2 v_coord;\n"
    "varying lowp vec4 v_colour;\n"
    "void main() {\n"
    "    vec4 c = v_colour;\n"
    "    if (texturing) c *= texture2D(picture, v_coord);\n"
    "    if (alphatest && !(c.a > alpharef)) discard;\n"
    "    gl_FragColor = c;\n"
    "}\n";

GLuint compile(GLenum kind, const char* source)
{
    const GLuint s = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(s, 1, &source, nullptr);
    emscripten_glCompileShader(s);
    return s;
}

// Made on the first draw, when SDL has made the WebGL context current.
void prepare()
{
    if (ready) return;
    ready = true;
    program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compile(GL_VERTEX_SHADER, VERTEXSHADER));
    emscripten_glAttachShader(program, compile(GL_FRAGMENT_SHADER, FRAGMENTSHADER));
    emscripten_glBindAttribLocation(program, 0, "position");
    emscripten_glBindAttribLocation(program, 1, "coord");
    emscripten_glBindAttribLocation(program, 2, "colour");
    emscripten_glLinkProgram(program);
    emscripten_glUseProgram(program);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "picture"), 0);
    texturingat = emscripten_glGetUniformLocation(program, "texturing");
    alphatestat = emscripten_glGetUniformLocation(program, "alphatest");
    alpharefat = emscripten_glGetUniformLocation(program, "alpharef");
    emscripten_glUniform1i(texturingat, 0);
    emscripten_glUniform1i(alphatestat, 0);
    emscripten_glUniform1f(alpharefat, 0);

    // Every quad as two triangles split along its second and fourth
    // corners, the way Mesa splits OpenGL's quads, so that colours
    // interpolate across a quad as they do on the desktop.
    static GLushort order[BATCHQUADS * 6];
    for (int q = 0; q < BATCHQUADS; q++) {
        const GLushort v = (GLushort)(q * 4);
        const GLushort tri[6] = {v, (GLushort)(v + 1), (GLushort)(v + 3), (GLushort)(v + 1), (GLushort)(v + 2),
                                 (GLushort)(v + 3)};
        std::memcpy(order + q * 6, tri, sizeof tri);
    }
    emscripten_glGenBuffers(1, &indices);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof order, order, GL_STATIC_DRAW);

    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, sizeof batch, nullptr, GL_STREAM_DRAW);
    const GLsizei stride = sizeof(Vertex);
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glEnableVertexAttribArray(1);
    emscripten_glEnableVertexAttribArray(2);
    emscripten_glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, x));
    emscripten_glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, s));
    emscripten_glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, r));
}

// Draws what the batch holds with the state it was gathered under.
void flush()
{
    if (batched == 0) return;
    prepare();
    const State& s = batchstate;
    if (!(s == drawn)) {
        if (s.texture != drawn.texture) {
            emscripten_glUniform1i(texturingat, s.texture != 0);
            if (s.texture != 0) emscripten_glBindTexture(GL_TEXTURE_2D, s.texture);
        }
        if (s.alphatest != drawn.alphatest) emscripten_glUniform1i(alphatestat, s.alphatest);
        if (s.alpharef != drawn.alpharef) emscripten_glUniform1f(alpharefat, s.alpharef);
        drawn = s;
    }
    emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)(batched * sizeof(Vertex)), batch);
    emscripten_glDrawElements(GL_TRIANGLES, batched / 4 * 6, GL_UNSIGNED_SHORT, nullptr);
    batched = 0;
}

// A quad joins the batch; the batch is drawn first if it was gathered under
// another state or is full.
void addquad()
{
    const State s = wanted();
    if (batched > 0 && (!(s == batchstate) || batched == BATCHQUADS * 4)) flush();
    batchstate = s;
    std::memcpy(batch + batched, quad, sizeof quad);
    batched += 4;
}

float clamped(float v)
{
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

// ---------------------------------------------------------------------------
// Display lists: each holds the calls made while it was compiled, made
// again when it is called.
// ---------------------------------------------------------------------------

enum Call { BEGIN, END, VERTEX, COORD, COLOUR, TRANSLATE };

struct Step {
    Call call;
    float v[4];
};

std::vector<std::vector<Step>> lists(1);   // by list name; 0 is no list
GLuint compiling;                          // the list being compiled, 0 none

bool record(Call call, float a = 0, float b = 0, float c = 0, float d = 0)
{
    if (compiling == 0) return false;
    lists[compiling].push_back(Step{call, {a, b, c, d}});
    return true;
}

void vertex(float x, float y)
{
    if (record(VERTEX, x, y) || inquad < 0) return;
    const Matrix& mv = modelview.current();
    const Matrix& p = projection.current();
    // The model-view first, then the projection, as the fixed pipeline does.
    const float ex = mv.m[0] * x + mv.m[4] * y + mv.m[12];
    const float ey = mv.m[1] * x + mv.m[5] * y + mv.m[13];
    const float ez = mv.m[2] * x + mv.m[6] * y + mv.m[14];
    const float ew = mv.m[3] * x + mv.m[7] * y + mv.m[15];
    const float cx = p.m[0] * ex + p.m[4] * ey + p.m[8] * ez + p.m[12] * ew;
    const float cy = p.m[1] * ex + p.m[5] * ey + p.m[9] * ez + p.m[13] * ew;
    const float cw = p.m[3] * ex + p.m[7] * ey + p.m[11] * ez + p.m[15] * ew;
    quad[inquad] = Vertex{cx / cw, cy / cw, coord[0], coord[1], colour[0], colour[1], colour[2], colour[3]};
    if (++inquad == 4) {
        addquad();
        inquad = 0;
    }
}

void multiply(const Matrix& by)
{
    matrices->current() = times(matrices->current(), by);
}

}   // namespace

extern "C" {

// ---------------------------------------------------------------------------
// Quads
// ---------------------------------------------------------------------------

void glBegin(GLenum mode)
{
    if (record(BEGIN, (float)mode)) return;
    inquad = mode == GL_QUADS ? 0 : -1;
}

void glEnd(void)
{
    if (record(END)) return;
    inquad = -1;
}

void glVertex2i(GLint x, GLint y)
{
    vertex((float)x, (float)y);
}

void glVertex2f(GLfloat x, GLfloat y)
{
    vertex(x, y);
}

void glTexCoord2f(GLfloat s, GLfloat t)
{
    if (record(COORD, s, t)) return;
    coord[0] = s;
    coord[1] = t;
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)
{
    if (record(COLOUR, red, green, blue, alpha)) return;
    colour[0] = clamped(red);
    colour[1] = clamped(green);
    colour[2] = clamped(blue);
    colour[3] = clamped(alpha);
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue)
{
    glColor4f(red, green, blue, 1);
}

// ---------------------------------------------------------------------------
// Matrices
// ---------------------------------------------------------------------------

void glMatrixMode(GLenum mode)
{
    matrices = mode == GL_PROJECTION ? &projection : &modelview;
}

void glLoadIdentity(void)
{
    matrices->current() = IDENTITY;
}

void glPushMatrix(void)
{
    if (matrices->top + 1 >= STACKDEPTH) return;
    matrices->level[matrices->top + 1] = matrices->current();
    matrices->top++;
}

void glPopMatrix(void)
{
    if (matrices->top > 0) matrices->top--;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (record(TRANSLATE, x, y, z)) return;
    Matrix t = IDENTITY;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiply(t);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    glTranslatef((float)x, (float)y, (float)z);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    const float len = std::sqrt(x * x + y * y + z * z);
    if (len == 0) return;
    x /= len;
    y /= len;
    z /= len;
    const float a = angle * (float)(M_PI / 180.0);
    const float s = std::sin(a), c = std::cos(a), k = 1 - c;
    Matrix r = IDENTITY;
    r.m[0] = x * x * k + c;
    r.m[1] = y * x * k + z * s;
    r.m[2] = x * z * k - y * s;
    r.m[4] = x * y * k - z * s;
    r.m[5] = y * y * k + c;
    r.m[6] = y * z * k + x * s;
    r.m[8] = x * z * k + y * s;
    r.m[9] = y * z * k - x * s;
    r.m[10] = z * z * k + c;
    multiply(r);
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearval, GLdouble farval)
{
    Matrix o = IDENTITY;
    o.m[0] = (float)(2 / (right - left));
    o.m[5] = (float)(2 / (top - bottom));
    o.m[10] = (float)(-2 / (farval - nearval));
    o.m[12] = (float)(-(right + left) / (right - left));
    o.m[13] = (float)(-(top + bottom) / (top - bottom));
    o.m[14] = (float)(-(farval + nearval) / (farval - nearval));
    multiply(o);
}

// ---------------------------------------------------------------------------
// Switches
// ---------------------------------------------------------------------------

void glEnable(GLenum cap)
{
    if (cap == GL_TEXTURE_2D) {
        texturing = true;
    } else if (cap == GL_ALPHA_TEST) {
        alphatest = true;
    } else {
        flush();
        emscripten_glEnable(cap);
    }
}

void glDisable(GLenum cap)
{
    if (cap == GL_TEXTURE_2D) {
        texturing = false;
    } else if (cap == GL_ALPHA_TEST) {
        alphatest = false;
    } else {
        flush();
        emscripten_glDisable(cap);
    }
}

void glAlphaFunc(GLenum, GLclampf ref)
{
    alpharef = ref;
}

void glBlendFunc(GLenum sfactor, GLenum dfactor)
{
    flush();
    emscripten_glBlendFunc(sfactor, dfactor);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    flush();
    emscripten_glScissor(x, y, width, height);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    flush();
    emscripten_glViewport(x, y, width, height);
}

void glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)
{
    emscripten_glClearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask)
{
    flush();
    emscripten_glClear(mask);
}

GLenum glGetError(void)
{
    return emscripten_glGetError();
}

// ---------------------------------------------------------------------------
// Textures
// ---------------------------------------------------------------------------

void glGenTextures(GLsizei n, GLuint* textures)
{
    emscripten_glGenTextures(n, textures);
    for (GLsizei i = 0; i < n; i++)
        if (textures[i] >= made.size()) made.resize(textures[i] + 1);
}

void glBindTexture(GLenum, GLuint texture)
{
    bound = texture;
}

// The texture the game bound, bound in WebGL too, for calls that change it.
static void bindbound()
{
    flush();
    emscripten_glBindTexture(GL_TEXTURE_2D, bound);
    drawn.texture = bound;
    emscripten_glUniform1i(texturingat, bound != 0);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    prepare();
    bindbound();
    emscripten_glTexParameteri(target, pname, param);
    if (pname == GL_TEXTURE_MIN_FILTER && bound < made.size())
        made[bound].filtered = param == GL_NEAREST || param == GL_LINEAR;
}

void glPixelStorei(GLenum pname, GLint param)
{
    emscripten_glPixelStorei(pname, param);
}

void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    prepare();
    bindbound();
    emscripten_glTexImage2D(target, level, internalformat, width, height, border, format, type, pixels);
    // WebGL repeats only pictures whose sides are powers of two; the game's
    // coordinates stay inside 0..1, where clamping draws the same.
    const bool pot = (width & (width - 1)) == 0 && (height & (height - 1)) == 0;
    if (!pot) {
        emscripten_glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        emscripten_glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    if (level == 0 && bound > 0 && bound < made.size()) {
        made[bound].width = width;
        made[bound].height = height;
    }
}

// ---------------------------------------------------------------------------
// Display lists
// ---------------------------------------------------------------------------

GLuint glGenLists(GLsizei range)
{
    const GLuint first = (GLuint)lists.size();
    lists.resize(lists.size() + (size_t)range);
    return first;
}

void glNewList(GLuint list, GLenum)
{
    if (list == 0 || list >= lists.size()) return;
    lists[list].clear();
    compiling = list;
}

void glEndList(void)
{
    compiling = 0;
}

void glCallList(GLuint list)
{
    if (list == 0 || list >= lists.size() || compiling != 0) return;
    for (const Step& s : lists[list]) {
        switch (s.call) {
        case BEGIN: glBegin((GLenum)s.v[0]); break;
        case END: glEnd(); break;
        case VERTEX: vertex(s.v[0], s.v[1]); break;
        case COORD: glTexCoord2f(s.v[0], s.v[1]); break;
        case COLOUR: glColor4f(s.v[0], s.v[1], s.v[2], s.v[3]); break;
        case TRANSLATE: glTranslatef(s.v[0], s.v[1], s.v[2]); break;
        }
    }
}

void glDeleteLists(GLuint list, GLsizei range)
{
    for (GLsizei i = 0; i < range; i++)
        if (list + i < lists.size()) lists[list + i].clear();
}

// ---------------------------------------------------------------------------
// Reading and showing the picture
// ---------------------------------------------------------------------------

void glReadBuffer(GLenum)
{
}

void glFinish(void)
{
    flush();
    emscripten_glFinish();
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)
{
    flush();
    emscripten_glReadPixels(x, y, width, height, format, type, pixels);
}

// The browser shows the canvas, and takes its events, whenever the game
// gives it control: every paced frame does in its wait. Frames that do not
// wait (fast playback) give it control when shown, at least every 50
// milliseconds, so that the page stays alive and shows how far it got.
static double given;   // milliseconds: when the browser last had control

void SDL_Delay(Uint32 ms)
{
    flush();
    emscripten_sleep(ms);
    given = emscripten_get_now();
}

// The page hears of every picture shown, to time them.
void SDL_GL_SwapBuffers(void)
{
    flush();
    EM_ASM(if (Module.onswap) Module.onswap(););
    if (emscripten_get_now() - given > 50) SDL_Delay(0);
}

}   // extern "C"
