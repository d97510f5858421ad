// Frame benchmark: draws every scene through display in a real 800 x 800
// window, plus an empty frame (only the two frame brackets) as the floor,
// and prints per scene the median and 95th percentile wall time per frame,
// the CPU time per frame and the ratio of the median to the floor's.
// Scenes 7 and 8 show the pair of 20 and 50 teeth (m = 1, 20 degrees, no
// shift); then scene 7 for the internal pair of 42 and 50 teeth (x2 = 0.01),
// scene 9 for its ring and scene 7 for the rack pair m = 3, z1 = 12,
// x1 = 0.6. The last lines compare scene 7's CPU time per frame, external
// and internal, with scene 5's from the same run.
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>  // usleep
#include <vector>

#include "app/pair_state.h"
#include "app/state.h"
#include "app/window.h"
#include "geometry/gear_setup.h"
#include "scenes/display.h"
#include "scenes/scenes.h"

namespace {

constexpr int warmUpFrames = 30;

void emptyFrame() {
    beginFrame();
    endFrame();
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Result {
    double medianMs;
    double p95Ms;
    double cpuMs;
};

// glFinish makes each sample include the rendering, not just its queueing.
Result measure(void (*frame)(), int frames) {
    for (int i = 0; i < warmUpFrames; ++i) {
        frame();
    }
    glFinish();
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(frames));
    const double cpuStart = cpuSeconds();
    for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        glFinish();
        samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        // Keep scenes 1 to 3 inside their tables' range, moving as when a key
        // is held: from one end to the other and back.
        if (stepScene1 >= involuteLastIndex || stepScene23 >= involuteLastIndex) {
            directionKey = 'D';
        } else if ((sceneKey == '1' && stepScene1 == 0) || ((sceneKey == '2' || sceneKey == '3') && stepScene23 == 0)) {
            directionKey = 'd';
        }
    }
    const double cpuMs = (cpuSeconds() - cpuStart) * 1000.0 / frames;
    std::sort(samples.begin(), samples.end());
    return Result{samples[samples.size() / 2], samples[samples.size() * 95 / 100], cpuMs};
}

void noDisplay() {}

}  // namespace

int main(int argc, char** argv) {
    int frames = 400;
    if (argc > 1) {
        frames = std::max(10, atoi(argv[1]));
    }
    // The gear's tables without its report: only the table is wanted on
    // standard output.
    sceneKey = '1';
    computeDemoGear();

    glutInitWindowSize(800, 800);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow();
    glutDisplayFunc(noDisplay);
    glutReshapeFunc(reshape);
    initGl();
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
        usleep(2000);
    }
    reshape(800, 800);

    const Result floor = measure(emptyFrame, frames);
    printf("%d frames per scene, 800 x 800, %s\n\n", frames, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    printf("| scene | median ms | p95 ms | CPU ms/frame | median / floor |\n");
    printf("|---|---:|---:|---:|---:|\n");
    printf("| empty frame (floor) | %.3f | %.3f | %.3f | 1.00 |\n", floor.medianMs, floor.p95Ms, floor.cpuMs);
    PairInput pair;
    pair.z1 = 20;
    pair.z2 = 50;
    setActivePair(pair);
    pairScenesEnabled = true;
    double cpu5 = 0.0;
    double cpu7 = 0.0;
    for (char key = '1'; key <= '8'; ++key) {
        sceneKey = key;
        directionKey = 'd';
        stepScene1 = 0;
        stepScene23 = 0;
        driveAngle = 0.0;
        resetPairScenes();
        const Result r = measure(display, frames);
        printf("| %c | %.3f | %.3f | %.3f | %.2f |\n", key, r.medianMs, r.p95Ms, r.cpuMs, r.medianMs / floor.medianMs);
        cpu5 = key == '5' ? r.cpuMs : cpu5;
        cpu7 = key == '7' ? r.cpuMs : cpu7;
    }
    PairInput ring;
    ring.kind = PairKind::internal;
    ring.z1 = 42;
    ring.z2 = 50;
    ring.x2 = 0.01;
    PairInput rack;
    rack.kind = PairKind::rack;
    rack.z1 = 12;
    rack.m = 3.0;
    rack.x1 = 0.6;
    struct Shown {
        const char* name;
        const PairInput* pair;
        char key;
    };
    double cpuRing = 0.0;
    for (const Shown& shown : {Shown{"7, internal 42/50", &ring, '7'}, Shown{"9, internal 42/50", &ring, '9'},
                               Shown{"7, rack z1 = 12", &rack, '7'}}) {
        setActivePair(*shown.pair);
        sceneKey = shown.key;
        directionKey = 'd';
        driveAngle = 0.0;
        resetPairScenes();
        const Result r = measure(display, frames);
        printf("| %s | %.3f | %.3f | %.3f | %.2f |\n", shown.name, r.medianMs, r.p95Ms, r.cpuMs,
               r.medianMs / floor.medianMs);
        cpuRing = shown.pair == &ring && shown.key == '7' ? r.cpuMs : cpuRing;
    }
    printf("\nscene 7 (20 and 50 teeth) / scene 5, CPU per frame: %.2f (goal: at most 3)\n", cpu7 / cpu5);
    printf("scene 7 (internal, 42 and 50 teeth) / scene 5, CPU per frame: %.2f (goal: at most 3)\n", cpuRing / cpu5);
    return 0;
}
