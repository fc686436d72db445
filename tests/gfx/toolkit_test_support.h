// Helpers shared by the toolkit's GL tests: one-time start-up resources and GL state queries.
#pragma once

#include <array>
#include <cstdint>

#include "gl_test.h"
#include "platform/gl.h"

// Runs the toolkit's start-up steps unless they ran already (fonts, feedback, shared textures).
void EnsureToolkitResources();

std::array<double, 16> CurrentMatrix(GLenum which);
std::array<float, 4> RasterPosition();
bool RasterPositionValid();
GLint IntegerState(GLenum which);

// Draws an axis-aligned rectangle in the 2D pixel space of Begin2D, flat colour, no blending.
void FillRect2D(float left, float top, float right, float bottom, float r, float g, float b);
