// OpenGL 1.1 for the browser build: the immediate-mode subset this program
// draws with, implemented on WebGL 1 by web/gl_immediate.cpp.
//
// Implemented, with desktop (Mesa) behaviour:
//   glBegin/glEnd with GL_LINES, GL_LINE_LOOP and GL_POLYGON (convex, drawn
//     as a triangle fan); glVertex2d; glColor4f
//   glLineWidth: any width, rasterised as GL 1.x does non-antialiased lines
//     (width rounded to whole pixels, thickened along the minor axis), since
//     WebGL caps its own lines at 1 pixel
//   glEnable/glDisable(GL_LIGHTING): with no light enabled, lighting only
//     changes the raster colour to the ambient term (0.04 grey)
//   glMatrixMode, glLoadIdentity, glPushMatrix, glPopMatrix, glTranslated,
//     glRotated on GL_MODELVIEW and GL_PROJECTION, in single precision as Mesa
//   glRasterPos2f, glBitmap; glPushAttrib/glPopAttrib of GL_CURRENT_BIT
//   glClear, glClearColor, glViewport, glFlush: the frame is recorded from
//     glClear on and reaches the drawing buffer at glFlush (or the swap),
//     scaled from the window's pixels to the buffer's size (frame_record.h)
//   glGetError (always GL_NO_ERROR: no call here records one)
// Not implemented: every other call and mode (no depth test, blending,
// textures, lights, materials, display lists, vertex arrays, glGet*). The
// program uses none of them.
#pragma once

typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned char GLboolean;
typedef unsigned char GLubyte;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;

#define GL_NO_ERROR 0
#define GL_LINES 0x0001
#define GL_LINE_LOOP 0x0002
#define GL_POLYGON 0x0009
#define GL_LIGHTING 0x0B50
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_CURRENT_BIT 0x00000001
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000

#ifdef __cplusplus
extern "C" {
#endif

void glBegin(GLenum mode);
void glEnd(void);
void glVertex2d(GLdouble x, GLdouble y);
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void glLineWidth(GLfloat width);
void glEnable(GLenum capability);
void glDisable(GLenum capability);
void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glPushMatrix(void);
void glPopMatrix(void);
void glTranslated(GLdouble x, GLdouble y, GLdouble z);
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
void glRasterPos2f(GLfloat x, GLfloat y);
void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
              const GLubyte* bitmap);
void glPushAttrib(GLbitfield mask);
void glPopAttrib(void);
void glClear(GLbitfield mask);
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glFlush(void);
GLenum glGetError(void);

#ifdef __cplusplus
}
#endif
