#include "support/program.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr unsigned offScreenPixel = 0xFF00FF;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool hasNetWmName(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const int status = XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &type, &format,
                                          &items, &after, &data);
    if (data != nullptr) {
        XFree(data);
    }
    return status == Success && type != None && items > 0;
}

}  // namespace

std::string programPath() {
    // The package test points this at the binary unpacked from the .deb.
    const char* other = getenv("INVOLUTE_GEARS_UNDER_TEST");
    return other != nullptr && other[0] != '\0' ? other : INVOLUTE_GEARS_BINARY;
}

bool startProgram(Program& program, const std::vector<std::string>& environment) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(out[1]);
        close(err[0]);
        close(err[1]);
        for (const std::string& entry : environment) {
            const size_t eq = entry.find('=');
            const std::string name = entry.substr(0, eq);
            const std::string value = entry.substr(eq + 1);
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        const std::string path = programPath();
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    fcntl(err[0], F_SETFL, O_NONBLOCK);
    program.pid = pid;
    program.outFd = out[0];
    program.errFd = err[0];
    return true;
}

bool waitForWindow(Program& program, int timeoutMs) {
    if (program.display == nullptr) {
        program.display = XOpenDisplay(nullptr);
    }
    if (program.display == nullptr) {
        const char* name = getenv("DISPLAY");
        program.failure = std::string("cannot open the X display \"") + (name != nullptr ? name : "") +
                          "\" (test.sh runs the suite under an Xvfb of its own)";
        return false;
    }
    Display* display = program.display;
    const long long deadline = nowMs() + timeoutMs;
    while (nowMs() < deadline) {
        int status = 0;
        if (program.pid > 0 && waitpid(program.pid, &status, WNOHANG) == program.pid) {
            program.pid = -1;
            program.failure = "the program ended before showing a window (" +
                              (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                                 : "signal " + std::to_string(WTERMSIG(status))) +
                              "): " + readOutput(program.errFd, 0, 1000);
            return false;
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
                hasNetWmName(display, children[i])) {
                program.window = children[i];
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (program.window != 0) {
            return true;
        }
        sleepMs(20);
    }
    program.failure = "no window appeared within " + std::to_string(timeoutMs) + " ms";
    return false;
}

std::string readOutput(int fd, size_t minBytes, int timeoutMs) {
    std::string text;
    const long long deadline = nowMs() + timeoutMs;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0 || text.size() >= minBytes || nowMs() >= deadline) {
            return text;
        }
        pollfd waiting{fd, POLLIN, 0};
        poll(&waiting, 1, 20);
    }
}

std::vector<unsigned> grabWindow(Program& program, int* width, int* height) {
    if (program.display == nullptr || program.window == 0) {
        if (width != nullptr) {
            *width = 0;
        }
        if (height != nullptr) {
            *height = 0;
        }
        return {};
    }
    return grabXWindow(program.display, program.window, width, height);
}

std::vector<unsigned> grabXWindow(Display* display, Window window, int* width, int* height) {
    // The window sits at (-1, -1) on a bare server, partly off the screen,
    // where XGetImage on the window itself fails; read the root instead and
    // mark the off-screen pixels magenta, a colour the program never draws.
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rootX, &rootY, &child);
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    const int x0 = std::max(rootX, 0);
    const int y0 = std::max(rootY, 0);
    const int x1 = std::min(rootX + attributes.width, screenWidth);
    const int y1 = std::min(rootY + attributes.height, screenHeight);
    std::vector<unsigned> pixels(static_cast<size_t>(attributes.width) * attributes.height, offScreenPixel);
    if (width != nullptr) {
        *width = attributes.width;
    }
    if (height != nullptr) {
        *height = attributes.height;
    }
    if (x1 <= x0 || y1 <= y0) {
        return pixels;
    }
    XImage* image = XGetImage(display, DefaultRootWindow(display), x0, y0, static_cast<unsigned>(x1 - x0),
                              static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    for (int y = y0; y < y1; ++y) {
        // Raw row pointers: this loop runs for every pixel of every grab,
        // and the tests build without optimisation.
        unsigned* row = pixels.data() + static_cast<size_t>(y - rootY) * attributes.width;
        for (int x = x0; x < x1; ++x) {
            row[x - rootX] = static_cast<unsigned>(XGetPixel(image, x - x0, y - y0) & 0xFFFFFF);
        }
    }
    XDestroyImage(image);
    return pixels;
}

void pressKey(Program& program, unsigned long keysym) {
    Display* display = program.display;
    if (display == nullptr || program.window == 0) {
        return;
    }
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, program.window, DefaultRootWindow(display), 400, 400, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, 0);
    const KeyCode code = XKeysymToKeycode(display, keysym);
    const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != keysym;
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    if (shifted) {
        XTestFakeKeyEvent(display, shift, True, 0);
    }
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    if (shifted) {
        XTestFakeKeyEvent(display, shift, False, 0);
    }
    XSync(display, False);
}

std::vector<unsigned> waitForChange(Program& program, const std::vector<unsigned>& before, int timeoutMs) {
    const long long deadline = nowMs() + timeoutMs;
    std::vector<unsigned> now = grabWindow(program);
    while (now == before && nowMs() < deadline) {
        sleepMs(20);
        now = grabWindow(program);
    }
    return now;
}

int waitForExit(Program& program, int timeoutMs) {
    const long long deadline = nowMs() + timeoutMs;
    while (nowMs() < deadline) {
        int status = 0;
        if (waitpid(program.pid, &status, WNOHANG) == program.pid) {
            program.pid = -1;
            return status;
        }
        sleepMs(10);
    }
    return -1;
}

void stopProgram(Program& program) {
    if (program.pid > 0) {
        kill(program.pid, SIGKILL);
        waitpid(program.pid, nullptr, 0);
        program.pid = -1;
    }
    if (program.display != nullptr) {
        XCloseDisplay(program.display);
        program.display = nullptr;
    }
    for (int* fd : {&program.outFd, &program.errFd}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}
