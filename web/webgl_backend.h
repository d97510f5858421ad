// The one piece of the browser build that talks to WebGL: a pass-through
// shader (web/page/shaders.html, made by the page with the context) that
// fills triangles given in drawing-buffer pixels. Everything GL
// 1.1 does on top of that (matrices, wide lines, polygons, bitmaps,
// lighting's effect on text, scaling to the buffer's size) is
// gl_immediate.cpp's work.
//
// A shader that does not compile or a program that does not link is
// reported to the page through Module.onFailure(message), by
// webglConfirmProgram, and nothing is drawn from then on (until a restored
// context links it again).
#pragma once

// A vertex in pixels (origin at the lower left, as glViewport counts) with
// its colour.
struct WindowVertex {
    float x;
    float y;
    float r;
    float g;
    float b;
    float a;
};

// Creates the WebGL 1 context on the canvas with the given CSS selector and
// makes it current. False when the browser has no WebGL. A failed shader or
// program still gives true (the context exists), after reporting it.
bool webglOpen(const char* canvasSelector);

// After the browser has lost the context and given it back: makes the
// shader and the buffer again. The viewport is the caller's to set again.
void webglRestore();

// Asks once whether the program linked (a wait for the GPU process: call it
// after a frame, not before); on failure reports why and stops drawing.
// True while drawing goes on.
bool webglConfirmProgram();

// The region of the drawing buffer that vertex pixels map to.
void webglViewport(int x, int y, int width, int height);

// The smaller side of the drawing buffer the browser really gave, in pixels
// (it may give less than the canvas size asks for); 0 without a context.
int webglDrawingBufferSide();

// Fills the drawing buffer with the colour.
void webglClear(float r, float g, float b, float a);

// Draws filled triangles (count a multiple of 3) in one buffer upload and
// one draw call.
void webglTriangles(const WindowVertex* vertices, int count);
