// GLUT for the browser build: the subset this program uses, implemented by
// web/glut.cpp on the page's canvas (id "canvas").
//
// Implemented:
//   glutInitWindowSize (the pixels the program draws in; the window must be
//     square, and the canvas's drawing buffer, any square size the page
//     sets, shows them scaled), glutInit (reads
//     no option), glutInitDisplayMode (RGBA, double buffer; the depth buffer
//     is left out, since nothing enables a depth test)
//   glutCreateWindow: a WebGL 1 context on the canvas (no antialiasing, no
//     alpha, drawing buffer preserved so the picture can be saved); the title
//     is the page's business (window_title.cpp sets the document title)
//   glutDisplayFunc, glutReshapeFunc, glutKeyboardFunc
//   glutMainLoop: reshape and one frame, as a newly shown window gets, then
//     control returns to the browser with the program kept alive
//   glutSwapBuffers: the browser shows the frame when the handler returns
//   glutBitmapCharacter with GLUT_BITMAP_HELVETICA_18 (the desktop's glyphs)
//   glutTimerFunc: the callback runs in a task of its own (a browser timer)
// Keys reach the keyboard callback from the page through webKey (glut.cpp),
// which passes the character typed; the page sizes the drawing buffer with
// webSetBufferSide (glut.cpp says how). Not implemented: every other GLUT call;
// no idle, mouse or special-key callbacks, no other fonts.
#pragma once

#include <GL/gl.h>

#define GLUT_RGBA 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010

// A font handle; only this one font exists.
#define GLUT_BITMAP_HELVETICA_18 ((void*)0x0008)

#ifdef __cplusplus
extern "C" {
#endif

void glutInitWindowSize(int width, int height);
void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
int glutCreateWindow(const char* title);
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutMainLoop(void);
void glutSwapBuffers(void);
void glutBitmapCharacter(void* font, int character);
void glutTimerFunc(unsigned int milliseconds, void (*callback)(int value), int value);

#ifdef __cplusplus
}
#endif
