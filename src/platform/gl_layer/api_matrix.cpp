// The matrix stacks and the GLU calls the program makes.
#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/layer_state.h"

using namespace gllayer;

void glMatrixMode(GLenum mode) {
    if (RecordUnsupportedInList("glMatrixMode")) {
        return;
    }
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    State().server.matrixMode = mode;
}

void glLoadIdentity() {
    if (RecordUnsupportedInList("glLoadIdentity")) {
        return;
    }
    CurrentMatrix() = Mat4Identity();
}

void glLoadMatrixf(const GLfloat* m) {
    if (RecordUnsupportedInList("glLoadMatrixf")) {
        return;
    }
    std::copy(m, m + 16, CurrentMatrix().m);
}

void glMultMatrixf(const GLfloat* m) {
    if (RecordUnsupportedInList("glMultMatrixf")) {
        return;
    }
    Mat4 right;
    std::copy(m, m + 16, right.m);
    CurrentMatrix() = Mat4Multiply(CurrentMatrix(), right);
}

void glMultMatrixd(const GLdouble* m) {
    if (RecordUnsupportedInList("glMultMatrixd")) {
        return;
    }
    Mat4MultiplyDoubles(CurrentMatrix(), m);
}

void glPushMatrix() {
    if (RecordUnsupportedInList("glPushMatrix")) {
        return;
    }
    std::vector<Mat4>& stack = CurrentMatrixStack();
    const size_t limit =
        State().server.matrixMode == GL_MODELVIEW ? kMaxModelviewDepth : kMaxProjectionDepth;
    if (stack.size() >= limit) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back(stack.back());
}

void glPopMatrix() {
    if (RecordUnsupportedInList("glPopMatrix")) {
        return;
    }
    std::vector<Mat4>& stack = CurrentMatrixStack();
    if (stack.size() <= 1) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.pop_back();
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (RecordUnsupportedInList("glRotatef")) {
        return;
    }
    Mat4Rotate(CurrentMatrix(), angle, x, y, z);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (RecordUnsupportedInList("glTranslatef")) {
        return;
    }
    Mat4Translate(CurrentMatrix(), x, y, z);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (RecordUnsupportedInList("glScalef")) {
        return;
    }
    Mat4Scale(CurrentMatrix(), x, y, z);
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
             GLdouble farVal) {
    if (RecordUnsupportedInList("glOrtho")) {
        return;
    }
    if (left == right || bottom == top || nearVal == farVal) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    Mat4Ortho(CurrentMatrix(), static_cast<float>(left), static_cast<float>(right),
              static_cast<float>(bottom), static_cast<float>(top), static_cast<float>(nearVal),
              static_cast<float>(farVal));
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (RecordUnsupportedInList("gluPerspective")) {
        return;
    }
    Mat4Perspective(CurrentMatrix(), fovy, aspect, zNear, zFar);
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    if (RecordUnsupportedInList("gluLookAt")) {
        return;
    }
    Mat4LookAt(CurrentMatrix(), eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
}
