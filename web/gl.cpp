// The game's OpenGL 1.x over WebGL: the calls the game makes and nothing
// more. Quads are gathered with their colours and texture coordinates, moved
// through the matrices here, and sent in batches: a batch ends only when the
// picture is cleared, read or shown, when the scissor changes, or when it
// needs more textures than WebGL has units. The batch's buffer is sent once
// and drawn in one call for each run of quads on one texture, so a frame is
// tens of draws instead of thousands. One shader does what the fixed pipeline did: the
// colour, clamped to 0..1, modulates the texture, and the alpha test drops
// what fails it.
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
// The batch
//
// What OpenGL 1.x keeps as switches (texturing, the alpha test, blending)
// travels with each vertex instead, so that a change of switches does not
// end a batch; and the textures a batch needs sit on several texture units
// at once, each vertex naming its unit. The shader samples one unit, chosen
// for each run of quads: choosing among eight samplers in the shader made
// every pixel several times as dear under a software rasteriser. Blending stays on in WebGL with the
// one function the game blends with; a quad drawn without blending gives
// its colour an alpha of 1, which blends to exactly that colour.
// ---------------------------------------------------------------------------

struct Texture {
    GLsizei width = 0, height = 0;
    bool filtered = false;   // a minifying filter without mipmaps was set
    int unit = -1;           // the texture unit it sits on, -1 none
};
std::vector<Texture> made(1);   // by texture name; 0 is the default, empty

bool texturing;         // GL_TEXTURE_2D is enabled
GLuint bound;           // the texture the game bound
bool alphatest;         // GL_ALPHA_TEST is enabled
float alpharef;
bool blending;          // GL_BLEND is enabled
bool otherblend;        // WebGL blends with another function than the game's own

struct Vertex {
    float x, y;         // clip coordinates
    float s, t;
    float r, g, b, a;   // clamped to 0..1
    float unit;         // the texture unit, -1 untextured
    float alpharef;     // the alpha test's reference, -1 no test
    float blended;      // 1 blended, 0 drawn opaque
};

const int BATCHQUADS = 8192;   // 32,768 vertices: 16-bit indices reach them all
Vertex batch[BATCHQUADS * 4];
int batched;                   // vertices in the batch

const int MAXUNITS = 8;        // WebGL has at least 8 units for the fragment shader
int units;                     // units in use here, at most MAXUNITS
GLuint onunit[MAXUNITS];       // the texture on each unit, 0 none
unsigned lastused[MAXUNITS];   // when the unit was last asked for
unsigned clock;

float colour[4] = {1, 1, 1, 1};
float coord[2];
Vertex quad[4];
int inquad = -1;               // vertices of the quad so far; -1 outside glBegin

GLuint program, buffer, indices;
GLint pictureat;               // where the shader's sampler is set
int sampled = -1;              // the unit it samples, -1 not yet set
bool ready;

const char* const VERTEXSHADER =
    "attribute vec2 position;\n"
    "attribute vec2 coord;\n"
    "attribute vec4 colour;\n"
    "attribute vec3 mode;\n"
    "varying highp vec2 v_coord;\n"
    "varying lowp vec4 v_colour;\n"
    "varying mediump vec3 v_mode;\n"
    "void main() {\n"
    "    v_coord = coord;\n"
    "    v_colour = colour;\n"
    "    v_mode = mode;\n"
    "    gl_Position = vec4(position, 0.0, 1.0);\n"
    "}\n";

const char* const FRAGMENTSHADER =
    "precision highp float;\n"
    "uniform sampler2D picture;\n"
    "varying highp vec2 v_coord;\n"
    "varying lowp vec4 v_colour;\n"
    "varying mediump vec3 v_mode;\n"
    "void main() {\n"
    "    vec4 c = v_colour;\n"
    "    if (v_mode.x > -0.5) c *= texture2D(picture, v_coord);\n"
    "    if (!(c.a > v_mode.y)) discard;\n"
    "    if (v_mode.z < 0.5) c.a = 1.0;\n"
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
    emscripten_glBindAttribLocation(program, 3, "mode");
    emscripten_glLinkProgram(program);
    emscripten_glUseProgram(program);
    GLint most = 0;
    emscripten_glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &most);
    units = most < MAXUNITS ? most : MAXUNITS;
    pictureat = emscripten_glGetUniformLocation(program, "picture");

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
    for (GLuint a = 0; a < 4; a++) emscripten_glEnableVertexAttribArray(a);
    emscripten_glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, x));
    emscripten_glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, s));
    emscripten_glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, r));
    emscripten_glVertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, unit));

    emscripten_glEnable(GL_BLEND);
    emscripten_glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Draws quads first..end of the batch, sampling the given unit.
void draw(int first, int end, int unit)
{
    if (unit >= 0 && unit != sampled) {
        emscripten_glUniform1i(pictureat, unit);
        sampled = unit;
    }
    emscripten_glDrawElements(GL_TRIANGLES, (end - first) * 6, GL_UNSIGNED_SHORT,
                              (void*)(first * 6 * sizeof(GLushort)));
}

// Draws what the batch holds: one call for each run of quads on one unit,
// untextured quads joining whichever run they fall in.
void flush()
{
    if (batched == 0) return;
    emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)(batched * sizeof(Vertex)), batch);
    const int quads = batched / 4;
    int first = 0, unit = -1;
    for (int q = 0; q < quads; q++) {
        const int u = (int)batch[q * 4].unit;
        if (u < 0 || u == unit) continue;
        if (unit >= 0) {
            draw(first, q, unit);
            first = q;
        }
        unit = u;
    }
    draw(first, quads, unit);
    batched = 0;
}

// The unit the texture the game bound sits on, put there if it is not; -1
// when drawing is untextured: texturing off, or a texture not complete, which
// OpenGL draws as if texturing were off.
int textureunit()
{
    if (!texturing || bound >= made.size() || made[bound].width == 0 || !made[bound].filtered) return -1;
    Texture& t = made[bound];
    if (t.unit < 0) {
        // A free unit, or else the one asked for longest ago, once the
        // quads gathered so far, which may use it, are drawn.
        int u = 0;
        for (int i = 0; i < units; i++) {
            if (onunit[i] == 0) {
                u = i;
                break;
            }
            if (lastused[i] < lastused[u]) u = i;
        }
        if (onunit[u] != 0) {
            flush();
            made[onunit[u]].unit = -1;
        }
        onunit[u] = bound;
        t.unit = u;
        emscripten_glActiveTexture(GL_TEXTURE0 + u);
        emscripten_glBindTexture(GL_TEXTURE_2D, bound);
    }
    lastused[t.unit] = ++clock;
    return t.unit;
}

// A quad joins the batch, with the switches it was drawn under.
void addquad()
{
    prepare();
    if (batched == BATCHQUADS * 4) flush();
    const float unit = (float)textureunit();
    const float ref = alphatest ? alpharef : -1.0f;
    const float blended = blending ? 1.0f : 0.0f;
    for (Vertex& v : quad) {
        v.unit = unit;
        v.alpharef = ref;
        v.blended = blended;
    }
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
    quad[inquad] = Vertex{cx / cw, cy / cw, coord[0], coord[1], colour[0], colour[1], colour[2], colour[3], -1, -1, 0};
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

// The switches kept here, travelling with each vertex; nullptr for one that
// WebGL keeps itself.
static bool* kept(GLenum cap)
{
    switch (cap) {
    case GL_TEXTURE_2D: return &texturing;
    case GL_ALPHA_TEST: return &alphatest;
    case GL_BLEND: return &blending;
    default: return nullptr;
    }
}

void glEnable(GLenum cap)
{
    if (bool* on = kept(cap)) {
        *on = true;
        return;
    }
    flush();
    emscripten_glEnable(cap);
}

void glDisable(GLenum cap)
{
    if (bool* on = kept(cap)) {
        *on = false;
        return;
    }
    flush();
    emscripten_glDisable(cap);
}

void glAlphaFunc(GLenum, GLclampf ref)
{
    alpharef = ref;
}

// The game blends with SRC_ALPHA, ONE_MINUS_SRC_ALPHA only, the function
// that stays set in WebGL; another would be set there for what follows.
void glBlendFunc(GLenum sfactor, GLenum dfactor)
{
    const bool other = !(sfactor == GL_SRC_ALPHA && dfactor == GL_ONE_MINUS_SRC_ALPHA);
    if (!other && !otherblend) return;
    prepare();
    flush();
    emscripten_glBlendFunc(sfactor, dfactor);
    otherblend = other;
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

// The texture the game bound, bound in WebGL too, on a unit of its own, for
// calls that change it; the quads gathered so far are drawn first.
static void bindbound()
{
    prepare();
    flush();
    if (bound < made.size() && made[bound].unit >= 0) {
        emscripten_glActiveTexture(GL_TEXTURE0 + made[bound].unit);
    } else {
        // The last unit, given up by its texture: drawing binds it again.
        const int u = units - 1;
        if (onunit[u] != 0) made[onunit[u]].unit = -1;
        onunit[u] = 0;
        emscripten_glActiveTexture(GL_TEXTURE0 + u);
    }
    emscripten_glBindTexture(GL_TEXTURE_2D, bound);
}

// A texture deleted gives up its unit, and its name is drawn untextured.
void glDeleteTextures(GLsizei n, const GLuint* textures)
{
    flush();
    for (GLsizei i = 0; i < n; i++) {
        const GLuint name = textures[i];
        if (name == 0 || name >= made.size()) continue;
        if (made[name].unit >= 0) onunit[made[name].unit] = 0;
        made[name] = Texture{};
    }
    emscripten_glDeleteTextures(n, textures);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
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

GLboolean glIsList(GLuint list)
{
    return list != 0 && list < lists.size();
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
