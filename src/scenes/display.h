// The display callback: one frame of the current scene, one step forward.
#pragma once

// Draws one complete frame of the scene chosen by sceneKey and advances that
// scene by one step in the direction of directionKey. Called by GLUT when the
// window needs redrawing and by keyboard after every key that redraws.
void display();
