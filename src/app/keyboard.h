// The keyboard commands: GLUT's keyboard callback.
#pragma once

// 'z' reset and reprint the report; a scene's key (scenes/scene_table.h:
// '1'..'9', 'h', 'v', 'p', 'b') chooses and restarts that scene where the
// program can show it: the pair's scenes only with a gear pair, '9' only for
// a kind with a ring to cut, 'p' only for a planetary set (ignored otherwise);
// 'd'/'D' forward/backward; 'w'/'W' shrink/enlarge; 's' one step; Esc quit.
// Every key but 'z', Esc and the ignored ones draws one frame. The mouse
// position is ignored.
void keyboard(unsigned char key, int mouseX, int mouseY);
