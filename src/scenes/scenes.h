// The six scene blocks that display runs between its frame brackets. Each
// draws its titles first and leaves the model-view matrix as it found it.
#pragma once

#include "app/state.h"
#include "draw/primitives.h"

constexpr float titleX = -0.9f;        // window units, before any transform
constexpr float firstTitleY = 0.85f;
constexpr float secondTitleY = 0.8f;
constexpr double dotRadius = 0.01;     // window units: every moving dot

// Draws one title line at (titleX, y) in the titles' bitmap font.
void drawTitle(float y, const char* text);

// Scenes 1 to 3 step their counter c: one up for 'd', one down for 'D',
// then clamped to 0 .. involuteLastIndex. Returns the new c.
int stepCounter(int& counter);

void drawFixedCircleScene();     // scene 1
void drawTurningCircleScene();   // scene 2
void drawRollingCircleScene();   // scene 3

// Scenes 4 to 6: the two centres and the driven angle of the crossed belt.
Point2 driveCentre();
Point2 drivenCentre();
double drivenAngle();
// Sets angleIncrement from directionKey and adds it to driveAngle.
void stepDriveAngle();

void drawBeltScene();            // scene 4
void drawMeshingScene();         // scenes 5 and 6
