// In-process test window: the program's own GL set-up in a real 800 x 800
// freeglut window (Mesa under Xvfb), and read-back of what a frame drew.
#pragma once

#include <cstddef>
#include <vector>

#include "app/state.h"

// Opens the window once per test process (later calls do nothing), runs
// initGl and reshape as the program does, and fills the gear tables with
// standard output silenced. Called from a fixture's SetUp: when there is no
// display, no GLX or no window within the time limit, it records a fatal
// failure with the reason (again in every later test), so the test body does
// not run.
void openTestWindow();

// Puts the animation state back where main leaves it before the first
// frame: scene 1, the gear set-up (standard output silenced), direction,
// zoom and counters as at start.
void restartProgram();

// Resizes the window and waits until reshape has run with the new size.
void resizeTestWindow(int width, int height);

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // rows bottom-up, as glReadPixels gives them

    // Pixel at window pixel column x and row y counted from the bottom.
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

// The picture the last frame swapped to the front.
Frame readFrame();

// Pixel of a point in window units (-1 .. +1), for the current window size.
int pixelX(const Frame& frame, double x);
int pixelY(const Frame& frame, double y);

enum class Shade { White, Red, Green, Blue, Dark, Other };
Shade classify(const unsigned char* rgb);

// How many pixels of the given shade lie in the square of half-size `half`
// pixels around the point (window units).
int countShade(const Frame& frame, Point2 point, int half, Shade shade);

// True when a dot (radius 4 px) of the shade is centred at the point: most of
// the ring 2 to 3 px around it has that shade, whatever thin lines cross it.
bool dotAt(const Frame& frame, Point2 point, Shade shade);

// Sets the program state for a scene as a scene key would, without drawing.
void selectScene(char key);

// GL invariants that must hold between frames: identity model-view matrix,
// matrix stack at its base, no GL error. Empty when all hold.
std::vector<const char*> frameInvariantFailures();
