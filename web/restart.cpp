// Starting the program again in place after Esc ended it, for the page's
// "Start again": the state main() sets up at start (scene 1, the gear and
// its report printed to standard output, zoom 0.5, forward), the pair
// scenes' drawings forgotten but the pair kept, then the window's first
// frame. Not a reload: the page, its panel and its report stay.
//
// Esc's exit(0) reaches the page as a thrown ExitStatus. The runtime is
// not torn down by it (glutMainLoop keeps it alive), so the program's state
// and its GL objects are all still there to start from.
//
// The page's call: Module._webRestart() (program.restart() in
// web/page/program_calls.js).
#include <emscripten/emscripten.h>

#include "app/state.h"
#include "geometry/gear_setup.h"
#include "glut_window.h"
#include "scenes/scenes.h"

extern "C" EMSCRIPTEN_KEEPALIVE void webRestart() {
    sceneKey = '1';
    driveAngle = 0.0;
    printDemoGearReport(computeDemoGear());
    resetPairScenes();
    glutWebShowWindow();
}
