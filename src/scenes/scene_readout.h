// The live readout of the scene shown, in words and numbers: its lines (the
// scene's number and name, its own state, the zoom and how many CSS px a mm
// of the model is on the page) and the short sentence a screen reader is told
// after a key. Each scene's own lines come from the table of scenes
// (scene_table.h). Everything is written into a caller's fixed buffer;
// nothing is allocated. Not here: when the page shows or speaks them
// (web/page/readout.js), the pair's numbers (web/pair_bridge.cpp).
#pragma once

#include <cstddef>

// A caller's fixed buffer being written: text past its capacity is cut off,
// and it always ends with a NUL.
struct ReadoutText {
    char* at;
    std::size_t capacity;  // bytes, the NUL included (at least 1)
    std::size_t used;      // bytes written, the NUL not counted
};

// Appends printf-style text.
void appendText(ReadoutText& text, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Appends x with `decimals` decimals as the readout has always written its
// numbers: an exact tie rounded away from zero, -0 as 0, and from 1e21 on the
// shortest digits that give x back, in exponent form ("1.5e+21").
void appendFixed(ReadoutText& text, double x, int decimals);

// What one scene's readout says of its own state (the table of scenes'
// `readout` field).
struct SceneReadout {
    // The lines between the scene's name and the zoom, each ended by '\n'.
    void (*rows)(ReadoutText& text);
    // The state as the sentence's words after "Scene N"
    // (", drive angle 2.3°").
    void (*clause)(ReadoutText& text);
};

// Scene 1's and scenes 2 and 3's: their table index, roll angle (radians and
// degrees) and the string unwound, rb times the roll angle (mm).
extern const SceneReadout fixedCircleReadout;
extern const SceneReadout sharedCounterReadout;
// Scene 4's: the drive angle and the belt's dot, rb times the drive angle
// from the drive circle's tangency point, on the span 2 rb (mm).
extern const SceneReadout beltReadout;
// Scenes 5 and 6's: the drive angle and where flank pairs touch on the
// contact path, one base pitch pb = rb 2 pi / z apart (mm from its drive end).
extern const SceneReadout meshingReadout;
// Every pair scene's: the drive angle alone.
extern const SceneReadout driveReadout;

// The readout's lines of the scene shown, joined by '\n' with none after the
// last: "scene N: name", the scene's own lines, and "zoom        viewScale
// 0.500 (1 mm = 200.0 px)", where the px are CSS px, cssPxPerWindowPx (the
// picture's CSS side over the 800-px window) times the window's pixels per
// mm of each part the scene draws at its own scale (none said where it draws
// nothing in mm). Empty before the first scene.
void writeReadout(ReadoutText& text, double cssPxPerWindowPx);

// The sentence a screen reader is told after key `key` drew the scene shown:
// "Scene N, step 1 of 400, roll angle 0.6°." or "Scene N, drive angle
// 0.6°.", with ", zoom 0.450" before the full stop after w or W. Empty
// before the first scene.
void writeAnnouncement(ReadoutText& text, char key);
