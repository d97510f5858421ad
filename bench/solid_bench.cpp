// Solid benchmark: the time to make and write a gear of 400 teeth as a
// twisted solid (a 45-degree helix over its face width, then a twist of 45
// degrees over it), as a helical gear's STL is: the outline (buildPairGeometry), the solid (buildSolid), its
// STL bytes (formatStl) and the file written whole (writeWholeFile) into a
// folder of its own. Prints each step's median over the runs, the facets
// and the file's size; the whole must stay under a second. Then the same
// gear untwisted, as --stl writes a spur gear. Needs no display.
#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/output_file.h"
#include "pair/exports/exports.h"
#include "pair/exports/solid.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void run(const PairGeometry& pair, double twist, int runs, const std::string& path) {
    SolidSection section;
    section.outline = pair.outline[0].points;
    circlePolygon({0.0, 0.0}, pair.numbers.gear[0].df / 4.0, solidArcModules * pair.input.m, section.hole);
    const double b = faceWidthOf(pair.input);
    std::vector<double> build, format, write, cpu;
    size_t facets = 0;
    size_t bytes = 0;
    for (int i = 0; i < runs; ++i) {
        const double cpu0 = cpuSeconds();
        auto start = Clock::now();
        std::vector<Solid> solids(1);
        buildSolid(section, b, twist, solidTwistToleranceModules * pair.input.m, solids[0]);
        build.push_back(secondsSince(start));
        start = Clock::now();
        const std::string stl = formatStl(solids, "benchmark");
        format.push_back(secondsSince(start));
        start = Clock::now();
        std::string reason;
        if (!writeWholeFile(path, stl, reason)) {
            fprintf(stderr, "solid_bench: cannot write %s: %s\n", path.c_str(), reason.c_str());
            exit(1);
        }
        write.push_back(secondsSince(start));
        cpu.push_back(cpuSeconds() - cpu0);
        facets = solids[0].triangles.size() / 3;
        bytes = stl.size();
    }
    const double total = median(build) + median(format) + median(write);
    printf("z = %d, twist %.2f deg: %zu facets, %.1f MB; build %.3f s, STL %.3f s, write %.3f s, total %.3f s "
           "(CPU %.3f s)%s\n",
           pair.input.z1, twist * 180.0 / pi, facets, bytes / 1e6, median(build), median(format), median(write),
           total, median(cpu), total < 1.0 ? "" : "  over a second");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    PairInput input;
    input.z1 = 400;
    input.z2 = 400;
    auto start = Clock::now();
    PairGeometry pair;
    buildPairGeometry(input, pair);
    printf("outlines of 400 and 400 teeth: %.3f s (%zu points a gear)\n", secondsSince(start),
           pair.outline[0].points.size());
    char folder[] = "/tmp/solid-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        perror("solid_bench: mkdtemp");
        return 1;
    }
    const std::string path = std::string(folder) + "/gear.stl";
    // A 45-degree helix over the usual face width (b tan(beta) / r), then a
    // whole eighth of a turn over b (a far harsher twist), then none.
    run(pair, faceWidthOf(input) * std::tan(pi / 4.0) / (pair.numbers.gear[0].d / 2.0), runs, path);
    run(pair, pi / 4.0, runs, path);
    run(pair, 0.0, runs, path);
    unlink(path.c_str());
    rmdir(folder);
    return 0;
}
