// getenv for the browser build: the page has no environment, so nothing is
// found. The program asks for it once, through setlocale(LC_CTYPE, ""),
// which then takes the C library's default locale, C.UTF-8: the codeset the
// page shows (UTF-8), as before. Without the C library's getenv, emscripten
// leaves out the environment it would otherwise make up from the browser's
// language at every start, before main (a millisecond or two on the way to
// the first frame), and the two calls into the page that fetch it.
#include <cstdlib>

extern "C" char* getenv(const char* /*name*/) { return nullptr; }
