// Start-up of GLUT, the one window, and the brackets around every frame.
#pragma once

// The window title, UTF-8.
extern const char windowTitle[];

// Sets up GLUT with the program's arguments (handed over unchanged), opens the
// window, registers display, reshape and keyboard, initialises GL and enters
// GLUT's main loop, which does not return.
[[noreturn]] void startGlut(int* argc, char** argv);

// Creates the 800 x 800 window with its title; the identifier is not kept.
void openWindow();

// One-time GL state: white clear colour, lighting enabled (see window.cpp).
void initGl();

// GLUT's reshape callback: the viewport covers the whole window, the
// projection is the identity, and the model-view matrix is current.
void reshape(int width, int height);

// Clears colour and depth and loads the identity model-view matrix.
void beginFrame();

// Flushes and swaps the buffers.
void endFrame();
