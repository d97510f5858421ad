#include "geometry/gear_setup.h"

#include <cmath>

#include "app/console.h"
#include "app/pair_state.h"

namespace {

// Values that only the report uses.
double pressureAngle = 0.0;   // radians
double tanPressure = 0.0;
double cosPressure = 0.0;
double addendum = 0.0;        // model units
double dedendum = 0.0;
double pitchRadius = 0.0;
double tipRadius = 0.0;
double rootRadius = 0.0;      // negative with these values, and printed so
double rootShift = 0.0;
double rootShiftAngle = 0.0;  // radians
double rollLimitMin = 0.0;    // radians of roll from the pitch point down to the root
double tipCrossAngle = 0.0;   // radians: acos(pitch radius / tip radius), 60 degrees (see setupGear)
double rollLimitMax = 0.0;    // radians of roll from the pitch point up to the tip circle
double flankHeight = 0.0;     // model units a drawn flank reaches beyond the base circle

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
    }
#endif
}

// First table index whose involute point lies on or outside the circle of
// radius baseRadius + flankHeight; involuteLastIndex if none before it does.
int findFlankEnd() {
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

void setupGear() {
    consoleWrite("\n糸の巻き戻しによるインボリュート曲線創成");

    pressureAngle = pi / 9.0;
    tanPressure = std::tan(pressureAngle);
    cosPressure = std::cos(pressureAngle);
    dedendum = 1.25;
    addendum = 1.0;
    rootShift = dedendum * tanPressure;

    consoleWrite("\n(1) 歯数設定");
    consoleWrite("   歯数z0=4 ");

    toothCount = 4;
    pitchRadius = 1.0;
    tipRadius = pitchRadius + addendum;
    rootRadius = pitchRadius - dedendum;
    baseRadius = pitchRadius * cosPressure;

    rootShiftAngle = std::atan2(rootShift, pitchRadius);
    rollLimitMin = std::tan(rootShiftAngle);
    tipCrossAngle = std::acos(pitchRadius / tipRadius);
    // A tangent to the pitch circle reaches the tip circle where the radius
    // has turned by acos(pitchRadius / tipRadius) from the tangency point.
    // That is not the pressure angle at the tip, acos(baseRadius / tipRadius)
    // (61.98 degrees). Its tangent, the tangent's length in pitch radii, is
    // the upper roll limit the report prints, as the lower limit is the
    // tangent of its angle.
    rollLimitMax = std::tan(tipCrossAngle);

    consoleWrite("\nモジュールm=1[mm]");
    consolePrintf("\n歯数=%3d, 歯先円=%6.3f[mm], 歯元円=%6.3f[mm], 基礎円=%6.3f[mm]", toothCount, tipRadius,
                  rootRadius, baseRadius);
    consolePrintf("\nピッチ点からの転がり量(αmax αmin)=(%6.2f %6.2f)[deg]\n", rollLimitMax * radToDeg,
                  -rollLimitMin * radToDeg);

    stepScene1 = 0;
    stepScene23 = 0;
    viewScale = 0.5;
    involuteLastIndex = 400;
    for (int i = 0; i <= involuteLastIndex; ++i) {
        involutePoint(static_cast<double>(i) * stepAngle, tangentTable[i], involuteTable[i]);
    }

    consoleWrite("\n１対歯車のかみ合いアニメーション");

    toothCount = 10;
    flankHeight = 1.6;
    flankLastIndex = findFlankEnd();

    stepScene1 = 0;
    stepScene23 = 0;
    directionKey = 'd';

    printKeyGuide();
    // The guide ends without a newline; flush so the whole report is on the
    // console now, not when the next output happens to arrive.
    consoleFlush();
}
