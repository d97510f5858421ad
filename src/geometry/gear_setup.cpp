#include "geometry/gear_setup.h"

#include <cmath>

#include "app/console.h"
#include "app/state.h"
#include "app/pair_state.h"

namespace {

void printKeyGuide() {
    consoleWrite("\nキーによるアニメーション選択");
    consoleWrite("\n's'        ：描画継続");
    consoleWrite("\n'1' '2' '3'：(1)基礎円固定,(2)基礎円回転，(3)基礎円転がり の選択");
    consoleWrite("\n'4'        ：(4)１歯だけの一対invlute歯車のかみ合い運動の選択");
    consoleWrite("\n'5' '6'    ：１対z歯数歯車かみ合い運動 (5):斜がけ糸あり(6):なしの選択\n");
    consoleWrite("\n'w' 'W'    ：図の縮小拡大");
    consoleWrite("\n'd' 'D'    ：(4),(5),(6)の場合，正逆回転の選択");
#ifndef __EMSCRIPTEN__
    // Scene 11's key, with a pair. The page's report stays the plain one (its
    // key strip names the key).
    if (pairScenesEnabled) {
        consoleWrite("\n'v'        ：(11)歯車対のすべり速度と比すべりの選択");
        consoleWrite("\n'b'        ：(13)歯元の曲げ（はりとしての歯）の選択");
    }
#endif
}

// First table index whose involute point lies on or outside the circle of
// radius baseRadius + flankHeight; involuteLastIndex if none before it does.
int findFlankEnd(double flankHeight) {
    const double limit = (baseRadius + flankHeight) * (baseRadius + flankHeight);
    int i = 0;
    while (i < involuteLastIndex &&
           involuteTable[i].x * involuteTable[i].x + involuteTable[i].y * involuteTable[i].y < limit) {
        ++i;
    }
    return i;
}

}  // namespace

void involutePoint(double t, Point2& tangency, Point2& involute) {
    const double r = baseRadius;
    const double phi = std::atan(t);           // pressure angle at the involute point
    const double rho = r / std::cos(phi);      // its distance from the centre
    const double theta = t - phi;              // its polar angle: inv(phi) = tan(phi) - phi
    tangency = Point2{r * std::sin(t), r * std::cos(t)};
    involute = Point2{rho * std::sin(theta), rho * std::cos(theta)};
}

DemoGear computeDemoGear() {
    DemoGear g{};
    g.z0 = 4;
    g.alpha = pi / 9.0;
    const double tanAlpha = std::tan(g.alpha);
    const double cosAlpha = std::cos(g.alpha);
    g.hf = 1.25;
    g.ha = 1.0;
    const double rootShift = g.hf * tanAlpha;  // along the tangent at the pitch point, from it to the root

    g.r = 1.0;
    g.ra = g.r + g.ha;
    g.rf = g.r - g.hf;
    g.rb = g.r * cosAlpha;
    baseRadius = g.rb;

    const double rootShiftAngle = std::atan2(rootShift, g.r);
    g.rollMin = std::tan(rootShiftAngle);
    const double tipCrossAngle = std::acos(g.r / g.ra);  // 60 degrees
    // A tangent to the pitch circle reaches the tip circle where the radius
    // has turned by acos(r / ra) from the tangency point. That is not the
    // pressure angle at the tip, acos(rb / ra) (61.98 degrees). Its tangent,
    // the tangent's length in pitch radii, is the upper roll limit the
    // report prints, as the lower limit is the tangent of its angle.
    g.rollMax = std::tan(tipCrossAngle);

    viewScale = 0.5;
    involuteLastIndex = 400;
    for (int i = 0; i <= involuteLastIndex; ++i) {
        involutePoint(static_cast<double>(i) * stepAngle, tangentTable[i], involuteTable[i]);
    }

    toothCount = 10;
    g.flankHeight = 1.6;
    flankLastIndex = findFlankEnd(g.flankHeight);

    stepScene1 = 0;
    stepScene23 = 0;
    directionKey = 'd';
    return g;
}

void printDemoGearReport(const DemoGear& g) {
    consoleWrite("\n糸の巻き戻しによるインボリュート曲線創成");
    consoleWrite("\n(1) 歯数設定");
    consolePrintf("   歯数z0=%d ", g.z0);
    consoleWrite("\nモジュールm=1[mm]");
    consolePrintf("\n歯数=%3d, 歯先円=%6.3f[mm], 歯元円=%6.3f[mm], 基礎円=%6.3f[mm]", g.z0, g.ra, g.rf, g.rb);
    consolePrintf("\nピッチ点からの転がり量(αmax αmin)=(%6.2f %6.2f)[deg]\n", g.rollMax * radToDeg,
                  -g.rollMin * radToDeg);
    consoleWrite("\n１対歯車のかみ合いアニメーション");
    printKeyGuide();
    // The guide ends without a newline; flush so the whole report is on the
    // console now, not when the next output happens to arrive.
    consoleFlush();
}

void setupGear() {
    printDemoGearReport(computeDemoGear());
}
