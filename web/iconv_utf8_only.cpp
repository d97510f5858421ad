// iconv for the browser build: no conversion at all. The page shows standard
// output as UTF-8, which is the program's own encoding, so the console code
// never needs one; with these three, the C library's iconv and its CJK
// tables (about 150 KB) stay out of the download. iconv_open fails as it
// does for an unknown codeset, and the console then writes UTF-8.
#include <cerrno>
#include <cstddef>
#include <iconv.h>

extern "C" {

iconv_t iconv_open(const char* /*tocode*/, const char* /*fromcode*/) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
}

size_t iconv(iconv_t /*cd*/, char** /*in*/, size_t* /*inLeft*/, char** /*out*/, size_t* /*outLeft*/) {
    errno = EBADF;
    return static_cast<size_t>(-1);
}

int iconv_close(iconv_t /*cd*/) { return 0; }

}  // extern "C"
