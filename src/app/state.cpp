#include "app/state.h"

char sceneKey = 0;
char directionKey = 0;
double viewScale = 0.5;
int stepScene1 = 0;
int stepScene23 = 0;
double driveAngle = 0.0;
double angleIncrement = 0.005;

double baseRadius = 0.0;
int toothCount = 0;
int involuteLastIndex = 0;
int flankLastIndex = 0;
Point2 tangentTable[tableCapacity] = {};
Point2 involuteTable[tableCapacity] = {};
