// Drives the real involute-gears binary: starts it with its standard output
// and error on pipes, finds its window on the X server, sends real key events
// through XTest and grabs the window's pixels.
#pragma once

#include <X11/Xlib.h>
#include <string>
#include <sys/types.h>
#include <vector>

struct Program {
    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    Display* display = nullptr;
    Window window = 0;
    std::string failure;  // why waitForWindow found no window, for the test's message
};

// Starts the binary with the given extra environment ("NAME=value"; "NAME="
// with an empty value removes NAME). Returns false if it could not start.
bool startProgram(Program& program, const std::vector<std::string>& environment);

// Waits for the program's viewable top-level window. False, with the reason
// in program.failure, when the display cannot be opened, when the program
// ends first (its standard error is quoted) or on timeout.
bool waitForWindow(Program& program, int timeoutMs);

// Bytes the program has written so far, waiting up to timeoutMs for at least
// minBytes of them.
std::string readOutput(int fd, size_t minBytes, int timeoutMs);

// The window's pixels, 0xRRGGBB, rows top-down; empty without a window.
std::vector<unsigned> grabWindow(Program& program, int* width = nullptr, int* height = nullptr);

// The same for any window on the display.
std::vector<unsigned> grabXWindow(Display* display, Window window, int* width = nullptr, int* height = nullptr);

// Presses and releases a key (with Shift where the keysym needs it), the
// pointer moved into the window first; nothing without a window.
void pressKey(Program& program, unsigned long keysym);

// Waits until the window shows something other than `before`; returns it.
std::vector<unsigned> waitForChange(Program& program, const std::vector<unsigned>& before, int timeoutMs);

// Waits for the process to end; returns its wait status, or -1 on timeout.
int waitForExit(Program& program, int timeoutMs);

// Kills the process if it still runs and closes everything.
void stopProgram(Program& program);

// Path of the binary under test.
std::string programPath();
