// The display callback: one frame of the current scene, one step forward;
// a frame is the step, then the drawing of the scene as it then stands.
#pragma once

// Advances the scene chosen by sceneKey by one step in the direction of
// directionKey, drawing nothing: scenes 1 to 3 their table index, the others
// driveAngle.
void advanceScene();

// Advances the scene chosen by sceneKey by one step and draws one complete
// frame of it. Called by GLUT when the window needs redrawing and by
// keyboard after every key that redraws.
void display();

// Draws one complete frame of the scene as it stands, without a step: the
// same moment again (the page, after a change of the pair).
void drawFrame();
