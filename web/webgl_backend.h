// The one piece of the browser build that talks to WebGL: a pass-through
// shader that fills triangles and single-pixel points given in window
// pixels. Everything GL 1.1 does on top of that (matrices, wide lines,
// polygons, bitmaps, lighting's effect on text) is gl_immediate.cpp's work.
#pragma once

// A vertex in window pixels (origin at the lower left of the drawing
// buffer, as glViewport counts) with its colour.
struct WindowVertex {
    float x;
    float y;
    float r;
    float g;
    float b;
    float a;
};

// Creates the WebGL 1 context on the canvas with the given CSS selector and
// makes it current. False when the browser has no WebGL.
bool webglOpen(const char* canvasSelector);

// After the browser has lost the context and given it back: makes the
// shader and the buffer again. The viewport is the caller's to set again.
void webglRestore();

// The region of the drawing buffer that window pixels map to.
void webglViewport(int x, int y, int width, int height);

// Fills the drawing buffer with the colour.
void webglClear(float r, float g, float b, float a);

// Draws vertices in one buffer upload: filled triangles (count a multiple
// of 3) or one-pixel points.
void webglTriangles(const WindowVertex* vertices, int count);
void webglPoints(const WindowVertex* vertices, int count);
