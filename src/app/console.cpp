#include "app/console.h"

#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <strings.h>

namespace {

constexpr size_t maxTextBytes = 512;          // longest formatted report line is far below this
const iconv_t noConverter = reinterpret_cast<iconv_t>(-1);

iconv_t converter = noConverter;
char targetCodeset[64] = "UTF-8";

bool isUtf8(const char* codeset) {
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0;
}

// Codesets in which UTF-8 is the better choice: a plain ASCII locale ("C",
// "POSIX") cannot show the texts either way, and UTF-8 is what a modern
// terminal behind it most likely expects.
bool isAscii(const char* codeset) {
    return strcasecmp(codeset, "ANSI_X3.4-1968") == 0 || strcasecmp(codeset, "ASCII") == 0 ||
           strcasecmp(codeset, "US-ASCII") == 0 || codeset[0] == '\0';
}

// Every spelling of Shift_JIS gets code page 932, whose mapping of the
// full-width forms is what Japanese terminals display.
bool isShiftJis(const char* codeset) {
    return strcasecmp(codeset, "SHIFT_JIS") == 0 || strcasecmp(codeset, "SJIS") == 0 ||
           strcasecmp(codeset, "SHIFT-JIS") == 0 || strcasecmp(codeset, "CP932") == 0 ||
           strcasecmp(codeset, "WINDOWS-31J") == 0 || strcasecmp(codeset, "MS_KANJI") == 0;
}

void writeRaw(const char* bytes, size_t length) {
    // The result is deliberately ignored: a console that went away must not
    // end the program (SIGPIPE is ignored in main).
    (void)fwrite(bytes, 1, length, stdout);
}

}  // namespace

void selectConsoleCodeset(const char* codeset) {
    if (converter != noConverter) {
        iconv_close(converter);
        converter = noConverter;
    }
    snprintf(targetCodeset, sizeof targetCodeset, "%s", "UTF-8");
    if (codeset == nullptr || isUtf8(codeset) || isAscii(codeset)) {
        return;
    }
    const char* target = isShiftJis(codeset) ? "CP932" : codeset;
    converter = iconv_open(target, "UTF-8");
    if (converter != noConverter) {
        snprintf(targetCodeset, sizeof targetCodeset, "%s", target);
    }
}

void initConsole() {
    setlocale(LC_CTYPE, "");
    selectConsoleCodeset(nl_langinfo(CODESET));
}

const char* consoleCodeset() { return targetCodeset; }

void consoleWrite(const char* utf8) {
    const size_t length = strlen(utf8);
    if (converter == noConverter) {
        writeRaw(utf8, length);
        return;
    }
    char converted[maxTextBytes * 2];
    char* in = const_cast<char*>(utf8);
    size_t inLeft = length;
    char* out = converted;
    size_t outLeft = sizeof converted;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    if (result == static_cast<size_t>(-1) || inLeft != 0) {
        // A character the codeset lacks, or a text too long for the buffer:
        // better the UTF-8 original than a line cut short.
        writeRaw(utf8, length);
        return;
    }
    writeRaw(converted, sizeof converted - outLeft);
}

void consolePrintf(const char* format, ...) {
    char text[maxTextBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    consoleWrite(text);
}

void consoleFlush() { (void)fflush(stdout); }
