// OpenGL 1.1 immediate mode on WebGL 1: the calls declared in
// web/include/GL/gl.h, with the desktop's results, and the frame record of
// frame_record.h.
//
// Vertices are transformed here, on the CPU, in single precision as Mesa
// does, to pixels of the program's window. Nothing goes to WebGL while the
// program draws: every glBegin/glEnd batch and every glBitmap is recorded in
// window pixels, and glFlush (so also the swap) draws the record since the
// last glClear into the drawing buffer, scaled to its size, in one buffer of
// triangles per up to maxTriangleVertices vertices (webgl_backend.cpp):
//   - GL_LINES and GL_LINE_LOOP: every segment becomes a parallelogram, as
//     GL 1.x rasterises a non-antialiased line of width w: w rounded to whole
//     pixels (at least 1), spread along the minor axis, the ends cut square
//     across the major axis. This gives WebGL, whose lines stop at 1 pixel,
//     the desktop's 1.6 and 2 pixel lines, and makes thin lines the same on
//     every GPU.
//   - GL_POLYGON: a triangle fan, which fills a convex polygon exactly.
//   - glBitmap: each row's runs of set bits, and each column's, become
//     rectangles with whole-pixel edges in the raster colour, n bits long
//     drawn a length that depends on n and the scale k only (bitRunLength):
//     a stroke has the same weight wherever it falls (flooring both edges
//     would draw the same two-bit stroke one pixel or two by where it lies).
//     In a buffer of the window's size, or a whole multiple of it, each bit
//     fills exactly its pixels.
// The draw order is the program's, so later primitives cover earlier ones as
// on the desktop (no depth test, no blending).
//
// Lighting is not computed: no light is ever enabled, so all it changes is
// the colour glRasterPos2f gives the raster position, the ambient term of
// GL's default material and light model. Vertices are never lit here: every
// primitive of the program draws with lighting disabled.
//
// Limits: a frame records up to maxRecordVertices vertices (a run of bitmap
// bits takes two) in up to maxCommands batches; what comes beyond is
// dropped. The program's heaviest frames (scenes 5 and 6) take about 13,000
// vertices in 30 batches. Matrix stacks hold 32 entries and the attribute
// stack 16; overflow and underflow record GL_STACK_OVERFLOW /
// GL_STACK_UNDERFLOW and change nothing. Primitives are clipped at the
// drawing buffer's edges: the clip volume's, as long as the viewport covers
// the window, as the program's does.
#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "frame_record.h"
#include "glut_window.h"
#include "webgl_backend.h"

namespace {

constexpr GLenum noBatch = 0xFFFF;
constexpr GLenum stackOverflow = 0x0503;
constexpr GLenum stackUnderflow = 0x0504;
constexpr GLenum invalidEnum = 0x0500;
constexpr GLenum invalidOperation = 0x0502;

constexpr int maxRecordVertices = 65536;
constexpr int maxCommands = 1024;
constexpr int maxTriangleVertices = 6 * 4096;  // six per segment or bit run
constexpr int matrixStackDepth = 32;
constexpr int attribStackDepth = 16;

// GL's default material and light model ambient, multiplied: the colour a
// lit vertex gets when no light is enabled.
constexpr float ambientTerm = 0.2f * 0.2f;

// Mesa adds this before taking the floor of a bitmap's position, so that a
// raster position a rounding error below a whole pixel does not fall back.
constexpr float bitmapEpsilon = 0.0001f;

struct Matrix {
    float m[16];  // column-major, as GL keeps it
};

constexpr Matrix identity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

struct MatrixStack {
    Matrix entries[matrixStackDepth];
    int top = 0;
};

struct CurrentAttributes {  // what glPushAttrib(GL_CURRENT_BIT) saves
    float colour[4];
    float rasterX;
    float rasterY;
    bool rasterValid;
    float rasterColour[4];
};

// ---- GL state ----------------------------------------------------------------
MatrixStack modelview{{identity}, 0};
MatrixStack projection{{identity}, 0};
MatrixStack* currentStack = &modelview;
CurrentAttributes current{{1, 1, 1, 1}, 0, 0, true, {1, 1, 1, 1}};
CurrentAttributes attribStack[attribStackDepth];
int attribTop = 0;
bool lighting = false;
float lineWidth = 1.0f;
float clearColour[4] = {0, 0, 0, 0};
int viewportX = 0;
int viewportY = 0;
int viewportWidth = 0;
int viewportHeight = 0;
GLenum lastError = GL_NO_ERROR;

// ---- The frame record, in window pixels -------------------------------------
// One recorded batch: its primitives' vertices are record[first, first + count).
enum class Kind : unsigned char {
    lines,      // pairs of vertices, as GL_LINES
    lineStrip,  // consecutive vertices joined; a GL_LINE_LOOP with its first vertex repeated at the end
    fan,        // a GL_POLYGON as a triangle fan
    bitRuns,    // pairs: a run's lower left corner, then its upper right (a row's run is 1 high, a column's 1 wide)
};

struct Command {
    Kind kind;
    float width;  // lines: the GL width rounded as the rasteriser takes it, in window pixels
    int first;
    int count;
};

bool recorded = false;  // a glClear has started a record
bool drawn = true;      // the drawing buffer shows the whole record
float recordedClearColour[4] = {0, 0, 0, 0};
WindowVertex record[maxRecordVertices];
int recordCount = 0;
Command commands[maxCommands];
int commandCount = 0;

// The batch between glBegin and glEnd: its mode, and its vertices so far are
// record[batchFirst, recordCount), unless the record was full (batchDropped).
GLenum batchMode = noBatch;
int batchFirst = 0;
bool batchDropped = false;

// ---- The drawing buffer and the triangles on their way to it ----------------
int bufferSide = 0;  // pixels
int windowSide = 0;  // pixels
WindowVertex triangles[maxTriangleVertices];
int triangleCount = 0;

void recordError(GLenum error) {
    if (lastError == GL_NO_ERROR) {
        lastError = error;
    }
}

Matrix& top() { return currentStack->entries[currentStack->top]; }

// product = a * b, summed in the order Mesa's matmul4 sums.
Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix product;
    for (int row = 0; row < 4; ++row) {
        const float a0 = a.m[row];
        const float a1 = a.m[row + 4];
        const float a2 = a.m[row + 8];
        const float a3 = a.m[row + 12];
        for (int column = 0; column < 4; ++column) {
            const float* b4 = &b.m[column * 4];
            product.m[column * 4 + row] = a0 * b4[0] + a1 * b4[1] + a2 * b4[2] + a3 * b4[3];
        }
    }
    return product;
}

struct Clip {
    float x;
    float y;
    float z;
    float w;
};

Clip transform(float x, float y) {
    const Matrix& mv = modelview.entries[modelview.top];
    const Matrix& p = projection.entries[projection.top];
    const float ex = mv.m[0] * x + mv.m[4] * y + mv.m[12];
    const float ey = mv.m[1] * x + mv.m[5] * y + mv.m[13];
    const float ez = mv.m[2] * x + mv.m[6] * y + mv.m[14];
    const float ew = mv.m[3] * x + mv.m[7] * y + mv.m[15];
    return Clip{p.m[0] * ex + p.m[4] * ey + p.m[8] * ez + p.m[12] * ew,
                p.m[1] * ex + p.m[5] * ey + p.m[9] * ez + p.m[13] * ew,
                p.m[2] * ex + p.m[6] * ey + p.m[10] * ez + p.m[14] * ew,
                p.m[3] * ex + p.m[7] * ey + p.m[11] * ez + p.m[15] * ew};
}

// Clip coordinates to window pixels through the viewport.
void toWindow(const Clip& c, float& wx, float& wy) {
    const float halfWidth = 0.5f * static_cast<float>(viewportWidth);
    const float halfHeight = 0.5f * static_cast<float>(viewportHeight);
    wx = (c.x / c.w) * halfWidth + (static_cast<float>(viewportX) + halfWidth);
    wy = (c.y / c.w) * halfHeight + (static_cast<float>(viewportY) + halfHeight);
}

// Non-antialiased GL lines are rasterised by whole pixels of width.
float rasterLineWidth() {
    const float rounded = std::floor(lineWidth + 0.5f);
    return rounded < 1.0f ? 1.0f : rounded;
}

// ---- Recording ---------------------------------------------------------------
// Appends a vertex to the record; false when the record is full.
bool recordVertex(float x, float y, const float colour[4]) {
    if (recordCount == maxRecordVertices) {
        return false;
    }
    record[recordCount++] = WindowVertex{x, y, colour[0], colour[1], colour[2], colour[3]};
    return true;
}

void commitCommand(Kind kind, float width, int first) {
    const int count = recordCount - first;
    const int least = kind == Kind::fan ? 3 : 2;
    if (count < least || commandCount == maxCommands) {
        recordCount = first;  // nothing to draw, or no room to say what
        return;
    }
    commands[commandCount++] = Command{kind, width, first, count};
    drawn = false;
}

// ---- Replaying ---------------------------------------------------------------
void drawTriangles() {
    webglTriangles(triangles, triangleCount);
    triangleCount = 0;
}

// Room for `count` more vertices in the triangle buffer, drawing it first
// when full; the draw order stays the program's.
void makeRoom(int count) {
    if (triangleCount + count > maxTriangleVertices) {
        drawTriangles();
    }
}

WindowVertex scaled(const WindowVertex& v, float k) {
    WindowVertex s = v;
    s.x *= k;
    s.y *= k;
    return s;
}

// One segment as two triangles: the parallelogram GL 1.x fills for a line,
// `width` buffer pixels across the minor axis. a and b are in buffer pixels.
void emitSegment(const WindowVertex& a, const WindowVertex& b, float width) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    if (dx == 0.0f && dy == 0.0f) {
        return;  // a zero-length line produces no fragment
    }
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float ox = xMajor ? 0.0f : 0.5f * width;
    const float oy = xMajor ? 0.5f * width : 0.0f;
    WindowVertex a0 = a;
    WindowVertex a1 = a;
    WindowVertex b0 = b;
    WindowVertex b1 = b;
    a0.x -= ox;
    a0.y -= oy;
    a1.x += ox;
    a1.y += oy;
    b0.x -= ox;
    b0.y -= oy;
    b1.x += ox;
    b1.y += oy;
    makeRoom(6);
    WindowVertex* t = &triangles[triangleCount];
    t[0] = a0;
    t[1] = b0;
    t[2] = b1;
    t[3] = a0;
    t[4] = b1;
    t[5] = a1;
    triangleCount += 6;
}

// floor(pixel * bufferSide / windowSide): the buffer pixel edge of a window
// pixel edge, exact in integers.
int bufferEdge(float windowPixel) {
    const long long n = static_cast<long long>(windowPixel) * bufferSide;
    const long long q = n / windowSide;
    return static_cast<int>(q * windowSide > n ? q - 1 : q);
}

// The buffer pixels a run of n bits takes, the same wherever the run lies:
// floor(n k) when the buffer is at least the window's size, which keeps
// every one-bit gap between runs open (the next run starts at least
// floor((n + 1) k) >= floor(n k) + 1 pixels on); round(n k) when smaller,
// where a one-bit gap is under a pixel anyway. At least 1; exact integers.
float bitRunLength(float bits) {
    const long long n = static_cast<long long>(bits);
    const long long length = bufferSide >= windowSide ? n * bufferSide / windowSide
                                                      : (2 * n * bufferSide + windowSide) / (2 * windowSide);
    return static_cast<float>(length > 0 ? length : 1);
}

// A run of bits, the window pixels from `from` up to `to` (exclusive), as a
// rectangle with whole-pixel edges in the buffer, never empty: from the
// floor of its corner, bitRunLength pixels each way. At whole k this is the
// floors of both edges.
void emitBitRun(const WindowVertex& from, const WindowVertex& to) {
    const float x0 = static_cast<float>(bufferEdge(from.x));
    const float y0 = static_cast<float>(bufferEdge(from.y));
    const float x1 = x0 + bitRunLength(to.x - from.x);
    const float y1 = y0 + bitRunLength(to.y - from.y);
    WindowVertex corner = from;
    makeRoom(6);
    WindowVertex* t = &triangles[triangleCount];
    corner.x = x0;
    corner.y = y0;
    t[0] = corner;
    t[3] = corner;
    corner.x = x1;
    t[1] = corner;
    corner.y = y1;
    t[2] = corner;
    t[4] = corner;
    corner.x = x0;
    t[5] = corner;
    triangleCount += 6;
}

void replayCommand(const Command& c, float k) {
    const WindowVertex* v = &record[c.first];
    // Never thinner than one buffer pixel, so lines stay whole in a buffer
    // smaller than the window.
    const float width = std::fmax(c.width * k, 1.0f);
    switch (c.kind) {
    case Kind::lines:
        for (int i = 0; i + 1 < c.count; i += 2) {
            emitSegment(scaled(v[i], k), scaled(v[i + 1], k), width);
        }
        break;
    case Kind::lineStrip:
        for (int i = 0; i + 1 < c.count; ++i) {
            emitSegment(scaled(v[i], k), scaled(v[i + 1], k), width);
        }
        break;
    case Kind::fan: {
        const WindowVertex centre = scaled(v[0], k);
        for (int i = 1; i + 1 < c.count; ++i) {
            makeRoom(3);
            triangles[triangleCount++] = centre;
            triangles[triangleCount++] = scaled(v[i], k);
            triangles[triangleCount++] = scaled(v[i + 1], k);
        }
        break;
    }
    case Kind::bitRuns:
        for (int i = 0; i + 1 < c.count; i += 2) {
            emitBitRun(v[i], v[i + 1]);
        }
        break;
    }
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
    if (batchMode != noBatch) {
        recordError(invalidOperation);
        return;
    }
    if (mode != GL_LINES && mode != GL_LINE_LOOP && mode != GL_POLYGON) {
        recordError(invalidEnum);
        return;
    }
    batchMode = mode;
    batchFirst = recordCount;
    batchDropped = false;
}

void glEnd() {
    if (batchMode == noBatch) {
        recordError(invalidOperation);
        return;
    }
    if (batchMode == GL_LINE_LOOP && recordCount - batchFirst >= 2 && !batchDropped) {
        // Closed by its first vertex again; without room for it the loop
        // stays open, as the rest of a full record is dropped.
        const WindowVertex first = record[batchFirst];
        const float colour[4] = {first.r, first.g, first.b, first.a};
        (void)recordVertex(first.x, first.y, colour);
    }
    const Kind kind = batchMode == GL_LINES ? Kind::lines : batchMode == GL_LINE_LOOP ? Kind::lineStrip : Kind::fan;
    commitCommand(kind, rasterLineWidth(), batchFirst);
    batchMode = noBatch;
}

void glVertex2d(GLdouble x, GLdouble y) {
    if (batchMode == noBatch) {
        return;
    }
    float wx;
    float wy;
    toWindow(transform(static_cast<float>(x), static_cast<float>(y)), wx, wy);
    if (!batchDropped && !recordVertex(wx, wy, current.colour)) {
        batchDropped = true;
    }
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    current.colour[0] = red;
    current.colour[1] = green;
    current.colour[2] = blue;
    current.colour[3] = alpha;
}

void glLineWidth(GLfloat width) { lineWidth = width; }

void glEnable(GLenum capability) {
    if (capability == GL_LIGHTING) {
        lighting = true;
    }
}

void glDisable(GLenum capability) {
    if (capability == GL_LIGHTING) {
        lighting = false;
    }
}

void glMatrixMode(GLenum mode) {
    if (mode == GL_MODELVIEW) {
        currentStack = &modelview;
    } else if (mode == GL_PROJECTION) {
        currentStack = &projection;
    } else {
        recordError(invalidEnum);
    }
}

void glLoadIdentity() { top() = identity; }

void glPushMatrix() {
    if (currentStack->top + 1 >= matrixStackDepth) {
        recordError(stackOverflow);
        return;
    }
    currentStack->entries[currentStack->top + 1] = top();
    ++currentStack->top;
}

void glPopMatrix() {
    if (currentStack->top == 0) {
        recordError(stackUnderflow);
        return;
    }
    --currentStack->top;
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    // Mesa takes the offsets as floats and adds them into the last column.
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const float fz = static_cast<float>(z);
    float* m = top().m;
    m[12] = m[0] * fx + m[4] * fy + m[8] * fz + m[12];
    m[13] = m[1] * fx + m[5] * fy + m[9] * fz + m[13];
    m[14] = m[2] * fx + m[6] * fy + m[10] * fz + m[14];
    m[15] = m[3] * fx + m[7] * fy + m[11] * fz + m[15];
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    // As Mesa: the angle as a float, its sine and cosine in double, rounded
    // to float.
    const float degrees = static_cast<float>(angle);
    const double radians = static_cast<double>(degrees) * M_PI / 180.0;
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    Matrix r = identity;
    if (x == 0.0 && y == 0.0) {
        if (z == 0.0) {
            return;
        }
        // About the z axis alone, as every caller turns.
        r.m[0] = c;
        r.m[5] = c;
        r.m[4] = z < 0.0 ? s : -s;
        r.m[1] = z < 0.0 ? -s : s;
    } else {
        const float length = static_cast<float>(std::sqrt(x * x + y * y + z * z));
        const float ux = static_cast<float>(x) / length;
        const float uy = static_cast<float>(y) / length;
        const float uz = static_cast<float>(z) / length;
        const float t = 1.0f - c;
        r.m[0] = ux * ux * t + c;
        r.m[1] = uy * ux * t + uz * s;
        r.m[2] = ux * uz * t - uy * s;
        r.m[4] = ux * uy * t - uz * s;
        r.m[5] = uy * uy * t + c;
        r.m[6] = uy * uz * t + ux * s;
        r.m[8] = ux * uz * t + uy * s;
        r.m[9] = uy * uz * t - ux * s;
        r.m[10] = uz * uz * t + c;
    }
    top() = multiply(top(), r);
}

void glRasterPos2f(GLfloat x, GLfloat y) {
    const Clip c = transform(x, y);
    glutWebRasterMoved(c.w > 0.0f ? c.x / c.w : 2.0f, c.w > 0.0f ? c.y / c.w : 2.0f);
    // Outside the clip volume the raster position is invalid and bitmaps
    // draw nothing.
    current.rasterValid = c.w > 0.0f && std::fabs(c.x) <= c.w && std::fabs(c.y) <= c.w && std::fabs(c.z) <= c.w;
    if (!current.rasterValid) {
        return;
    }
    toWindow(c, current.rasterX, current.rasterY);
    if (lighting) {
        current.rasterColour[0] = ambientTerm;
        current.rasterColour[1] = ambientTerm;
        current.rasterColour[2] = ambientTerm;
        current.rasterColour[3] = 1.0f;  // the material's diffuse alpha
    } else {
        std::memcpy(current.rasterColour, current.colour, sizeof current.rasterColour);
    }
}

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
              const GLubyte* bitmap) {
    if (!current.rasterValid) {
        return;
    }
    const int left = static_cast<int>(std::floor(current.rasterX + bitmapEpsilon - xorig));
    const int bottom = static_cast<int>(std::floor(current.rasterY + bitmapEpsilon - yorig));
    const int rowBytes = (width + 7) / 8;
    // Consecutive bitmaps (a title's glyphs) share one recorded batch.
    const bool extend = commandCount > 0 && commands[commandCount - 1].kind == Kind::bitRuns &&
                        commands[commandCount - 1].first + commands[commandCount - 1].count == recordCount;
    const int first = extend ? commands[commandCount - 1].first : recordCount;
    if (extend) {
        --commandCount;
    }
    const float* colour = current.rasterColour;
    const auto set = [&](int row, int column) {
        return (bitmap[row * rowBytes + column / 8] & (0x80 >> (column % 8))) != 0;
    };
    // Each row's runs of set bits, then each column's: at a scale below 1
    // two rows may fall on one pixel row, and only the column's run keeps a
    // two-bit bar two bits' worth tall.
    for (int row = 0; row < height && bitmap != nullptr; ++row) {
        const float y = static_cast<float>(bottom + row);
        int column = 0;
        while (column < width) {
            if (!set(row, column)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < width && set(row, column)) {
                ++column;
            }
            if (recordCount + 2 > maxRecordVertices) {
                break;
            }
            (void)recordVertex(static_cast<float>(left + start), y, colour);
            (void)recordVertex(static_cast<float>(left + column), y + 1.0f, colour);
        }
    }
    for (int column = 0; column < width && bitmap != nullptr; ++column) {
        const float x = static_cast<float>(left + column);
        int row = 0;
        while (row < height) {
            if (!set(row, column)) {
                ++row;
                continue;
            }
            const int start = row;
            while (row < height && set(row, column)) {
                ++row;
            }
            if (recordCount + 2 > maxRecordVertices) {
                break;
            }
            (void)recordVertex(x, static_cast<float>(bottom + start), colour);
            (void)recordVertex(x + 1.0f, static_cast<float>(bottom + row), colour);
        }
    }
    commitCommand(Kind::bitRuns, 0.0f, first);
    current.rasterX += xmove;
    current.rasterY += ymove;
}

void glPushAttrib(GLbitfield mask) {
    if (attribTop == attribStackDepth) {
        recordError(stackOverflow);
        return;
    }
    // Only the current-values group exists here; other bits save nothing.
    (void)mask;
    attribStack[attribTop++] = current;
}

void glPopAttrib() {
    if (attribTop == 0) {
        recordError(stackUnderflow);
        return;
    }
    current = attribStack[--attribTop];
}

void glClear(GLbitfield mask) {
    if ((mask & GL_COLOR_BUFFER_BIT) == 0 || batchMode != noBatch) {
        return;
    }
    // A new frame: what was recorded before is all covered by the clear.
    glutWebFrameCleared();
    std::memcpy(recordedClearColour, clearColour, sizeof recordedClearColour);
    recorded = true;
    recordCount = 0;
    commandCount = 0;
    drawn = false;
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    clearColour[0] = red;
    clearColour[1] = green;
    clearColour[2] = blue;
    clearColour[3] = alpha;
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    // Only where vertices land in the window: the drawing buffer's viewport
    // is frameReplay's.
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
}

void glFlush() {
    if (!drawn) {
        frameReplay();
    }
}

GLenum glGetError() {
    const GLenum error = lastError;
    lastError = GL_NO_ERROR;
    return error;
}

}  // extern "C"

void frameSetBuffer(int side, int window) {
    bufferSide = side;
    windowSide = window;
}

void frameReplay() {
    if (!recorded || bufferSide <= 0 || windowSide <= 0) {
        return;
    }
    drawn = true;
    webglViewport(0, 0, bufferSide, bufferSide);
    webglClear(recordedClearColour[0], recordedClearColour[1], recordedClearColour[2], recordedClearColour[3]);
    const float k = static_cast<float>(bufferSide) / static_cast<float>(windowSide);
    for (int i = 0; i < commandCount; ++i) {
        replayCommand(commands[i], k);
    }
    drawTriangles();
}
