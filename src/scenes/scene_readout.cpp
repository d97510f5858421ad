// The readout's lines and the screen reader's sentence (scene_readout.h),
// from the program's shared state and the table of scenes. Not here: which
// scene reads which lines (scene_table.cpp), the page that shows them.
#include "scenes/scene_readout.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/state.h"
#include "draw/primitives.h"
#include "scenes/scene_table.h"

namespace {

// The readout's angles in degrees and its base pitch use pi to the double's
// full precision (its numbers have always been worked so).
constexpr double piFull = 3.141592653589793;
constexpr int lastTableIndex = tableCapacity - 1;  // the involute tables' 400 steps

double degrees(double radians) { return radians * 180 / piFull; }

// ---- Scenes 1 to 3: the string rolled off the base circle, table index
// steps of stepAngle.
void involuteRows(ReadoutText& text, int index) {
    const double roll = index * stepAngle;
    appendText(text, "table index %d of %d\nroll angle  ", index, lastTableIndex);
    appendFixed(text, roll, 2);
    appendText(text, " rad = ");
    appendFixed(text, degrees(roll), 1);
    // The string's free length is the arc it came off: rb times the roll angle.
    appendText(text, "°\nstring      ");
    appendFixed(text, baseRadius * roll, 3);
    appendText(text, " mm unwound (base radius × roll angle)\n");
}

void involuteClause(ReadoutText& text, int index) {
    appendText(text, ", step %d of %d, roll angle ", index, lastTableIndex);
    appendFixed(text, degrees(index * stepAngle), 1);
    appendText(text, "°");
}

void fixedCircleRows(ReadoutText& text) { involuteRows(text, stepScene1); }
void fixedCircleClause(ReadoutText& text) { involuteClause(text, stepScene1); }
void sharedCounterRows(ReadoutText& text) { involuteRows(text, stepScene23); }
void sharedCounterClause(ReadoutText& text) { involuteClause(text, stepScene23); }

// ---- Scenes 4 on: the drive circle's turn.
void driveRows(ReadoutText& text) {
    appendText(text, "drive angle ");
    appendFixed(text, driveAngle, 2);
    appendText(text, " rad = ");
    appendFixed(text, degrees(driveAngle), 1);
    appendText(text, "°\n");
}

void driveClause(ReadoutText& text) {
    appendText(text, ", drive angle ");
    appendFixed(text, degrees(driveAngle), 1);
    appendText(text, "°");
}

// Scene 4: the crossed belt's point runs along the span between the two
// tangency points, 2 rb long, by the arc the drive circle turned (rb times
// the drive angle).
void beltRows(ReadoutText& text) {
    driveRows(text);
    const double along = baseRadius * driveAngle;
    const double span = 2 * baseRadius;
    appendText(text, "dot         ");
    appendFixed(text, along, 3);
    appendText(text, " mm from the drive circle's tangency point, span ");
    appendFixed(text, span, 3);
    appendText(text, " mm%s\n", along >= 0 && along <= span ? "" : " (off the span)");
}

// Scenes 5 and 6: flank pairs touch on the contact path one base pitch apart
// (pb = rb 2 pi / z, the normal pitch of involute teeth); the first is the
// drive angle modulo the angular pitch, times rb.
void meshingRows(ReadoutText& text) {
    driveRows(text);
    const double span = 2 * baseRadius;
    const double pitch = 2 * piFull / toothCount;  // radians between teeth
    const double first = driveAngle - std::floor(driveAngle / pitch) * pitch;
    appendText(text, "contact     ");
    const char* between = "";
    for (double a = first; baseRadius * a <= span + 1e-9 && text.used + 1 < text.capacity; a += pitch) {
        appendText(text, "%s", between);
        appendFixed(text, baseRadius * a, 3);
        between = ", ";
    }
    appendText(text, " mm along the ");
    appendFixed(text, span, 3);
    appendText(text, " mm path from the drive end\n");
}

}  // namespace

const SceneReadout fixedCircleReadout{fixedCircleRows, fixedCircleClause};
const SceneReadout sharedCounterReadout{sharedCounterRows, sharedCounterClause};
const SceneReadout beltReadout{beltRows, driveClause};
const SceneReadout meshingReadout{meshingRows, driveClause};
const SceneReadout driveReadout{driveRows, driveClause};

void appendText(ReadoutText& text, const char* format, ...) {
    if (text.used + 1 >= text.capacity) {
        return;
    }
    va_list args;
    va_start(args, format);
    const int wrote = std::vsnprintf(text.at + text.used, text.capacity - text.used, format, args);
    va_end(args);
    if (wrote > 0) {
        const std::size_t room = text.capacity - text.used - 1;
        text.used += static_cast<std::size_t>(wrote) < room ? static_cast<std::size_t>(wrote) : room;
    }
}

void appendFixed(ReadoutText& text, double x, int decimals) {
    if (std::isnan(x)) {
        appendText(text, "NaN");
        return;
    }
    if (std::isinf(x)) {
        appendText(text, x > 0 ? "Infinity" : "-Infinity");
        return;
    }
    if (std::fabs(x) >= 1e21) {
        // The fewest significant digits that read back as x.
        char digits[32];
        for (int precision = 0; precision <= 17; ++precision) {
            std::snprintf(digits, sizeof digits, "%.*e", precision, x);
            if (std::strtod(digits, nullptr) == x) {
                break;
            }
        }
        appendText(text, "%s", digits);
        return;
    }
    if (x == 0) {
        x = 0.0;  // -0 as 0
    }
    // x lies exactly half way between two numbers of `decimals` decimals
    // when x 2^(decimals + 1) is an odd whole number (10^d / 2 = 5^d 2^(d-1)):
    // printf rounds that to even, the readout away from zero. Such an x has
    // exactly decimals + 1 decimals, the last a 5: written in full, that 5 is
    // dropped and one carried into the digits kept.
    const double halves = std::ldexp(x, decimals + 1);
    if (halves != std::floor(halves) || std::fmod(halves, 2.0) == 0) {
        appendText(text, "%.*f", decimals, x);
        return;
    }
    char digits[48];
    int end = std::snprintf(digits, sizeof digits - 1, "%.*f", decimals + 1, x) - 1;
    if (decimals == 0) {
        --end;  // the point goes with the 5
    }
    digits[end] = '\0';
    int i = end - 1;
    while (i >= 0 && (digits[i] == '9' || digits[i] == '.')) {
        if (digits[i] == '9') {
            digits[i] = '0';
        }
        --i;
    }
    if (i >= 0 && digits[i] != '-') {
        ++digits[i];
    } else {  // all nines: a new leading 1
        std::memmove(digits + i + 2, digits + i + 1, static_cast<std::size_t>(end - i));
        digits[i + 1] = '1';
    }
    appendText(text, "%s", digits);
}

namespace {

// Empties the text and gives the scene it speaks of (nullptr: none).
const Scene* startText(ReadoutText& text) {
    text.used = 0;
    text.at[0] = '\0';
    return sceneOfKey(sceneKey);
}

}  // namespace

void writeReadout(ReadoutText& text, double cssPxPerWindowPx) {
    const Scene* scene = startText(text);
    if (scene == nullptr) {
        return;
    }
    appendText(text, "scene %d: %s\n", scene->number, scene->name);
    scene->readout->rows(text);
    appendText(text, "zoom        viewScale ");
    appendFixed(text, viewScale, 3);
    // Each part the scene draws in mm at its own scale, named where it has two.
    const char* between = " (1 mm = ";
    for (int part = 0; part < 2; ++part) {
        if (part == 1 && scene->parts[0] == nullptr) {
            break;
        }
        const double windowPx = scene->scale(part) * pixelsPerUnit;
        if (windowPx > 0) {
            appendText(text, "%s", between);
            appendFixed(text, windowPx * cssPxPerWindowPx, 1);
            appendText(text, " px%s%s", scene->parts[part] != nullptr ? " " : "",
                       scene->parts[part] != nullptr ? scene->parts[part] : "");
            between = ", ";
        }
    }
    if (between[0] == ',') {
        appendText(text, ")");
    }
}

void writeAnnouncement(ReadoutText& text, char key) {
    const Scene* scene = startText(text);
    if (scene == nullptr) {
        return;
    }
    appendText(text, "Scene %d", scene->number);
    scene->readout->clause(text);
    if (key == 'w' || key == 'W') {
        appendText(text, ", zoom ");
        appendFixed(text, viewScale, 3);
    }
    appendText(text, ".");
}
