#include "app/window_title.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <initializer_list>

void setUtf8WindowTitle(const char* utf8Title) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) {
        return;
    }
    // Sets the ICCCM names in a form any window manager can decode and the
    // EWMH names as UTF8_STRING.
    Xutf8SetWMProperties(display, window, utf8Title, utf8Title, nullptr, 0, nullptr, nullptr, nullptr);
    // Xutf8SetWMProperties sets _NET_WM_NAME only where Xlib was built to;
    // set both EWMH names explicitly so every window manager finds them.
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8Title);
    const int length = static_cast<int>(strlen(utf8Title));
    for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"}) {
        XChangeProperty(display, window, XInternAtom(display, name, False), utf8String, 8, PropModeReplace,
                        bytes, length);
    }
    XFlush(display);
}
