// The window title in the browser: the page's document title.
#include "app/window_title.h"

#include <emscripten/emscripten.h>

// Set in a task of its own: setting the title while the page is still being
// read costs its thread about 2 ms, on the way to the first frame.
EM_JS(void, setDocumentTitle, (const char* utf8Title), {
    var title = UTF8ToString(utf8Title);
    setTimeout(function () { document.title = title; }, 0);
});

void setUtf8WindowTitle(const char* utf8Title) { setDocumentTitle(utf8Title); }
