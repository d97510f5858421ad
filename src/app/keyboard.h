// The keyboard commands: GLUT's keyboard callback.
#pragma once

// 'z' reset and reprint the report; '1'..'6' choose and restart a scene, and
// so do '7', '8', 'h', 'v' and 'b' (scenes 10, 11 and 13) when the program has a gear pair, '9'
// when it is an internal pair (ignored otherwise);
// 'd'/'D' forward/backward; 'w'/'W' shrink/enlarge; 's' one step; Esc quit.
// Every key but 'z', Esc and the ignored ones draws one frame. The mouse
// position is ignored.
void keyboard(unsigned char key, int mouseX, int mouseY);
