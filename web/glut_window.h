// The web GLUT layer's window, for the page's own calls (web/restart.cpp).
#pragma once

// What a window that is shown gets from GLUT: its size (the reshape
// callback), then a frame (the display callback), which the page hears of.
void glutWebShowWindow();

// The text of the frame's titles, a line per title (gl_immediate.cpp
// reports the frame's start and every raster position, in normalised device
// coordinates, -1 to 1): the titles the program writes in the picture, for
// the page to show as text where the picture is too small to read them.
// Only glyphs from a title's place (titleX, firstTitleY or secondTitleY of
// scenes/scenes.h) count: a scene's labels in the picture (a plot's axes,
// the points A and E) are not titles.
void glutWebFrameCleared();                  // glClear: a new frame, no text yet
void glutWebRasterMoved(float x, float y);   // glRasterPos: the next glyphs start a line there
