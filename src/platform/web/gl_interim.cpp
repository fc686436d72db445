// Stand-in for the GL layer while it is not in the tree: the GL 1.x calls that WebGL lacks do
// nothing, so the page, the sound and the capture plumbing run with pictures of clear colours
// only. Built only without DEMO_GL_LAYER; goes when the layer comes.
#include <GL/gl.h>
#include <GL/glu.h>

extern "C" {
void glBitmap(GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*) {}
void glCallList(GLuint) {}
void glCallLists(GLsizei, GLenum, const GLvoid*) {}
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glDisableClientState(GLenum) {}
void glEnableClientState(GLenum) {}
void glBegin(GLenum) {}
void glEnd() {}
void glNewList(GLuint, GLenum) {}
void glEndList() {}
GLuint glGenLists(GLsizei) {
    return 1;
}
void glListBase(GLuint) {}
void glLoadMatrixf(const GLfloat*) {}
void glLogicOp(GLenum) {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glPushAttrib(GLbitfield) {}
void glPopAttrib() {}
void glPushClientAttrib(GLbitfield) {}
void glPopClientAttrib() {}
void glPushMatrix() {}
void glPopMatrix() {}
void glRasterPos2f(GLfloat, GLfloat) {}
void glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glTranslatef(GLfloat, GLfloat, GLfloat) {}
void glShadeModel(GLenum) {}
void glTexCoord2f(GLfloat, GLfloat) {}
void glVertex2f(GLfloat, GLfloat) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glVertexPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void glTexCoordPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void glTexGeni(GLenum, GLenum, GLint) {}
void gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
               GLdouble) {}
void gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
}
