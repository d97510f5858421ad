// Console output in the codeset of the user's locale.
// The program's texts are UTF-8 in the source. Where the locale's codeset is
// something else (a Shift_JIS terminal, say), they are converted with iconv
// before they are written; where it is plain ASCII or the conversion is not
// available, they go out as UTF-8.
#pragma once

// Takes LC_CTYPE from the environment (only that category: LC_NUMERIC stays
// "C", so numbers keep their decimal point) and picks the output codeset.
void initConsole();

// Picks the output codeset by name, as nl_langinfo(CODESET) reports it.
void selectConsoleCodeset(const char* codeset);

// Name of the codeset the console text is converted to; "UTF-8" when none.
const char* consoleCodeset();

// Writes a UTF-8 text to standard output, converted as chosen above.
void consoleWrite(const char* utf8);

// printf-style formatting into a UTF-8 text, then consoleWrite.
void consolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

void consoleFlush();
