// OpenGL 1.1 immediate mode on WebGL 1: the calls declared in
// web/include/GL/gl.h, with the desktop's results.
//
// Vertices are transformed here, on the CPU, in single precision as Mesa
// does, to window pixels. Each glBegin/glEnd batch then goes to WebGL as one
// buffer of triangles (webgl_backend.cpp):
//   - GL_LINES and GL_LINE_LOOP: every segment becomes a parallelogram, as
//     GL 1.x rasterises a non-antialiased line of width w: w rounded to whole
//     pixels (at least 1), spread along the minor axis, the ends cut square
//     across the major axis. This gives WebGL, whose lines stop at 1 pixel,
//     the desktop's 1.6 and 2 pixel lines, and makes thin lines the same on
//     every GPU.
//   - GL_POLYGON: a triangle fan, which fills a convex polygon exactly.
// glBitmap turns each set bit into a one-pixel point in the raster colour;
// the points wait in a buffer and go out in one upload before the next
// batch, clear or flush, so a title line costs one draw call.
//
// Lighting is not computed: no light is ever enabled, so all it changes is
// the colour glRasterPos2f gives the raster position, the ambient term of
// GL's default material and light model. Vertices are never lit here: every
// primitive of the program draws with lighting disabled.
//
// Limits: a batch holds up to maxBatchVertices vertices; longer GL_LINES
// batches are drawn in parts, the surplus of other modes is dropped. Matrix
// stacks hold 32 entries and the attribute stack 16; overflow and underflow
// record GL_STACK_OVERFLOW / GL_STACK_UNDERFLOW and change nothing.
#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "webgl_backend.h"

namespace {

constexpr GLenum noBatch = 0xFFFF;
constexpr GLenum stackOverflow = 0x0503;
constexpr GLenum stackUnderflow = 0x0504;
constexpr GLenum invalidEnum = 0x0500;
constexpr GLenum invalidOperation = 0x0502;

constexpr int maxBatchVertices = 4096;
constexpr int maxTriangleVertices = 6 * maxBatchVertices;  // six per line segment
constexpr int maxPoints = 16384;
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

// ---- The batch between glBegin and glEnd, in window pixels -------------------
GLenum batchMode = noBatch;
WindowVertex batch[maxBatchVertices];
int batchCount = 0;
WindowVertex triangles[maxTriangleVertices];
WindowVertex points[maxPoints];
int pointCount = 0;

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

void flushPoints() {
    webglPoints(points, pointCount);
    pointCount = 0;
}

// Non-antialiased GL lines are rasterised by whole pixels of width.
float rasterLineWidth() {
    const float rounded = std::floor(lineWidth + 0.5f);
    return rounded < 1.0f ? 1.0f : rounded;
}

// One segment as two triangles: the parallelogram GL 1.x fills for a line,
// `width` pixels across the minor axis.
int emitSegment(const WindowVertex& a, const WindowVertex& b, float width, int at) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    if (dx == 0.0f && dy == 0.0f) {
        return at;  // a zero-length line produces no fragment
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
    triangles[at++] = a0;
    triangles[at++] = b0;
    triangles[at++] = b1;
    triangles[at++] = a0;
    triangles[at++] = b1;
    triangles[at++] = a1;
    return at;
}

void drawBatch() {
    flushPoints();  // bitmaps drawn before this batch stay beneath it
    int count = 0;
    const float width = rasterLineWidth();
    if (batchMode == GL_LINES) {
        for (int i = 0; i + 1 < batchCount; i += 2) {
            count = emitSegment(batch[i], batch[i + 1], width, count);
        }
    } else if (batchMode == GL_LINE_LOOP && batchCount >= 2) {
        for (int i = 0; i + 1 < batchCount; ++i) {
            count = emitSegment(batch[i], batch[i + 1], width, count);
        }
        count = emitSegment(batch[batchCount - 1], batch[0], width, count);
    } else if (batchMode == GL_POLYGON) {
        for (int i = 1; i + 1 < batchCount; ++i) {
            triangles[count++] = batch[0];
            triangles[count++] = batch[i];
            triangles[count++] = batch[i + 1];
        }
    }
    webglTriangles(triangles, count);
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
    batchCount = 0;
}

void glEnd() {
    if (batchMode == noBatch) {
        recordError(invalidOperation);
        return;
    }
    drawBatch();
    batchMode = noBatch;
    batchCount = 0;
}

void glVertex2d(GLdouble x, GLdouble y) {
    if (batchMode == noBatch) {
        return;
    }
    if (batchCount == maxBatchVertices) {
        if (batchMode != GL_LINES) {
            return;
        }
        drawBatch();  // whole segments so far; the batch goes on after them
        batchCount = 0;
    }
    WindowVertex& v = batch[batchCount++];
    toWindow(transform(static_cast<float>(x), static_cast<float>(y)), v.x, v.y);
    v.r = current.colour[0];
    v.g = current.colour[1];
    v.b = current.colour[2];
    v.a = current.colour[3];
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
    for (int row = 0; row < height && bitmap != nullptr; ++row) {
        for (int column = 0; column < width; ++column) {
            if ((bitmap[row * rowBytes + column / 8] & (0x80 >> (column % 8))) == 0) {
                continue;
            }
            if (pointCount == maxPoints) {
                flushPoints();
            }
            points[pointCount++] = WindowVertex{static_cast<float>(left + column) + 0.5f,
                                                static_cast<float>(bottom + row) + 0.5f, current.rasterColour[0],
                                                current.rasterColour[1], current.rasterColour[2],
                                                current.rasterColour[3]};
        }
    }
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
    pointCount = 0;  // bitmaps not yet drawn would be cleared anyway
    if ((mask & GL_COLOR_BUFFER_BIT) != 0) {
        webglClear(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    }
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    clearColour[0] = red;
    clearColour[1] = green;
    clearColour[2] = blue;
    clearColour[3] = alpha;
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    flushPoints();  // drawn where they were placed, under the old viewport
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
    webglViewport(x, y, width, height);
}

void glFlush() { flushPoints(); }

GLenum glGetError() {
    const GLenum error = lastError;
    lastError = GL_NO_ERROR;
    return error;
}

}  // extern "C"
