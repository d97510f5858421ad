// What leaves the program about a pair: the console report and the SVG
// drawing. Both are built as strings; writing them is the caller's.
#pragma once

#include <string>

#include "pair/gear_pair.h"
#include "pair/outline.h"

// How the drawings place the gears: in mesh as scene 7 shows them, or side by
// side with a gap of 2 m between their tip circles, ready to cut.
enum class SheetLayout { mesh, apart };

// The pair's report for the console: UTF-8 lines, each begun by its newline,
// the last one ended by one too. One quantity a line as
// "<label> <symbol> = <value> <unit>" (symbols a, αw, d1 ... xmin2), then a
// warning line for each warning.
std::string formatPairReport(const PairNumbers& numbers);

// Both outlines as an SVG picture in millimetres: gear 1 centred at (0, 0),
// gear 2 at (a, 0) turned by phase2; SVG's y axis points down, so every
// point (x, y) is written as (x, -y) and the picture looks as on screen.
std::string formatPairSvg(const PairGeometry& pair);
