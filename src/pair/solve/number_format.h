// Fixed-point numbers for what leaves the program about a pair (the report,
// the SVG and DXF drawings): printf's %.Nf, except that a value that rounds
// to zero prints as 0, never as -0 (-0.00000 is a negative-looking
// coordinate in a drawing, and a size of "-0.0000 mm" none at all). Locale
// and the digits themselves are printf's.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

// Writes value with `decimals` places into buffer (size > 1) and returns it.
inline const char* formatFixed(char* buffer, size_t size, double value, int decimals) {
    snprintf(buffer, size, "%.*f", decimals, value);
    if (buffer[0] == '-' && std::strspn(buffer + 1, "0.") == std::strlen(buffer + 1)) {
        std::memmove(buffer, buffer + 1, std::strlen(buffer));  // the terminator too
    }
    return buffer;
}

inline std::string fixed(double value, int decimals) {
    char buffer[64];
    return formatFixed(buffer, sizeof buffer, value, decimals);
}
