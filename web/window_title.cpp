// The window title in the browser: the page's document title.
#include "app/window_title.h"

#include <emscripten/emscripten.h>

EM_JS(void, setDocumentTitle, (const char* utf8Title), {
    document.title = UTF8ToString(utf8Title);
});

void setUtf8WindowTitle(const char* utf8Title) { setDocumentTitle(utf8Title); }
