// The desktop program's own command-line options: the gear pair of scenes 7
// and 8 and what to do with it.
//
//   --teeth Z1,Z2          teeth of gear 1 (drive) and gear 2, 4 to 400 each
//   --module M             module in mm, 0.05 to 100
//   --pressure-angle DEG   pressure angle of the basic rack, 10 to 35 degrees
//   --shift X1,X2          profile shift coefficients, -1.0 to 1.5 each
//   --report               print the pair's numbers and warnings, then exit
//   --svg FILE             write both outlines as an SVG picture, then exit
//
// Each may also be written --name=value. An omitted pair value keeps its
// default (PairInput: 10 and 30 teeth, m = 1 mm, 20 degrees, no shift). Any
// of these options gives the program a pair; without them it is the six-scene
// animation alone. Every other argument (GLUT's -display, -geometry, ...) is
// left for glutInit.
#pragma once

#include <string>

#include "pair/gear_pair.h"

struct ProgramOptions {
    bool hasPair = false;   // at least one option above was given
    PairInput pair;         // checked by checkPair when hasPair
    bool report = false;    // --report
    bool svg = false;       // --svg
    std::string svgPath;    // --svg's FILE
};

// Takes the options above out of argv (argc and argv shrink to what is left,
// in the same order, argv[0] first) and checks the pair. On bad input returns
// false and sets `message` to one English line naming the option, the value
// given and the allowed range; argc and argv are then unspecified.
bool readProgramOptions(int* argc, char** argv, ProgramOptions& options, std::string& message);
