// involute-gears: an interactive animation of involute spur-gear geometry.
#include <csignal>

#include "app/console.h"
#include "app/state.h"
#include "app/window.h"
#include "geometry/gear_setup.h"

int main(int argc, char** argv) {
    // Writing the report to a console that has gone away (a closed pipe)
    // must not end the program.
    signal(SIGPIPE, SIG_IGN);
    initConsole();
    sceneKey = '1';
    setupGear();
    startGlut(&argc, argv);
}
