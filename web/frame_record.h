// The frame as the GL 1.1 layer (gl_immediate.cpp) keeps it: everything
// drawn since the last glClear, recorded in the pixels of the program's
// window (the "logical window", 800 x 800 for this program) and drawn into
// the real drawing buffer, whose side may differ, with everything scaled.
//
// Live frames go the same way: the GL calls record, glFlush (and so the
// swap) draws the record. Drawing the record again at another buffer size is
// therefore the same picture the program drew, at that size, without running
// the program's display callback (which steps the scene).
//
// Scaling by k = buffer side / window side:
//   - vertices: window pixels times k;
//   - a line of GL width w: the parallelogram GL 1.x fills, round(w) (at
//     least 1) times k pixels across its minor axis, at least 1 pixel;
//   - a set bitmap bit at pixel (x, y): the block of buffer pixels
//     [floor(x k), floor((x + 1) k)) in both axes, at least one pixel.
// At k = 1 this is exactly the desktop's rasterisation: one pixel per bit,
// lines round(w) pixels wide.
#pragma once

// The drawing buffer's side in pixels and the side of the window the
// program draws in (the GLUT window size), in pixels. Takes effect at the
// next drawing of the record.
void frameSetBuffer(int bufferSide, int windowSide);

// Draws the whole record into the drawing buffer: the clear colour, then
// every primitive in the order the program drew it. Nothing before the
// program's first glClear.
void frameReplay();
