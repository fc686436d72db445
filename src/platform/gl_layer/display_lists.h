// Display lists as recorded calls: what the program compiles into lists (capabilities, the
// attribute stack, colour, blending, line width, vertex-array draws with their vertices copied,
// bitmaps, calls of other lists) is kept as commands and replayed by glCallList.
#pragma once

#include <cstdint>

#include "platform/gl_layer/es_renderer.h"
#include "platform/gl_layer/gl1.h"

namespace gllayer {

enum class ListOp {
    Enable,      // a: capability
    Disable,     // a: capability
    PushAttrib,  // a: mask
    PopAttrib,
    Color,      // values: r, g, b, a
    BlendFunc,  // a: source, b: destination
    LineWidth,  // values[0]
    Draw,       // index: the list's geometry
    Bitmap,     // index: the glyph (bitmaps.h)
    CallList,   // a: list name
};

struct ListCommand {
    ListOp op = ListOp::Enable;
    uint32_t a = 0;
    uint32_t b = 0;
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int32_t index = -1;
};

// While a list is being compiled: records the command and says whether the call must stop there
// (GL_COMPILE); with GL_COMPILE_AND_EXECUTE, or with no list open, the call goes on to run.
bool RecordListCommand(const ListCommand& command);

// For calls that lists cannot hold: while compiling, reports the call once and says that it must
// not run; otherwise false.
bool RecordUnsupportedInList(const char* call);

// Whether a list is being compiled, and whether with GL_COMPILE (calls must not run now).
bool ListOpen();
bool CompilingOnly();

// Records a draw whose vertices are copied now: positions (x, y, z, w) and texture coordinates
// (s, t) interleaved as the renderer keeps them.
void RecordListDraw(Primitive primitive, const float* vertices, int32_t count, bool texCoords);

// Forgets every list (the context is going away).
void DeleteAllLists();

}  // namespace gllayer
