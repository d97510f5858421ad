// The web GLUT layer's window, for the page's own calls (web/restart.cpp).
#pragma once

// What a window that is shown gets from GLUT: its size (the reshape
// callback), then a frame (the display callback), which the page hears of.
void glutWebShowWindow();

// The text the frame's bitmap glyphs spell, a line per raster position
// (gl_immediate.cpp reports both): the titles the program writes in the
// picture, for the page to show as text where the picture is too small to
// read them.
void glutWebFrameCleared();    // glClear: a new frame, no text yet
void glutWebRasterMoved();     // glRasterPos: the next glyphs start a new line
