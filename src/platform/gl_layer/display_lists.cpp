// Display lists: names, compiling, and replay.
#include "platform/gl_layer/display_lists.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gl_layer/bitmaps.h"
#include "platform/gl_layer/draw_state.h"
#include "platform/gl_layer/layer_state.h"

namespace gllayer {

namespace {

struct ListGeometry {
    Primitive primitive = Primitive::Triangles;
    StaticGeometry geometry;
};

struct DisplayList {
    std::vector<ListCommand> commands;
    std::vector<ListGeometry> geometries;
};

// Lists by name; names are handed out in blocks from 1 up and never reused while alive.
struct ListStore {
    std::vector<std::unique_ptr<DisplayList>> byName{1};  // name 0 is never a list
    GLuint compiling = 0;                                 // the name being compiled, 0 when none
    bool alsoExecute = false;
    std::unique_ptr<DisplayList> pending;
    int32_t callDepth = 0;
};

ListStore store;

// GL allows lists to call lists this deep.
constexpr int32_t kMaxCallDepth = 64;

DisplayList* Find(GLuint name) {
    return name < store.byName.size() ? store.byName[name].get() : nullptr;
}

void FreeList(DisplayList& list) {
    for (ListGeometry& g : list.geometries) {
        RendererDeleteStatic(g.geometry);
    }
}

void Execute(GLuint name);

void Run(const DisplayList& list, const ListCommand& c) {
    if (c.op != ListOp::Bitmap) {
        FlushGlyphBatch();
    }
    switch (c.op) {
        case ListOp::Enable:
            glEnable(c.a);
            break;
        case ListOp::Disable:
            glDisable(c.a);
            break;
        case ListOp::PushAttrib:
            glPushAttrib(c.a);
            break;
        case ListOp::PopAttrib:
            glPopAttrib();
            break;
        case ListOp::Color:
            glColor4f(c.values[0], c.values[1], c.values[2], c.values[3]);
            break;
        case ListOp::BlendFunc:
            glBlendFunc(c.a, c.b);
            break;
        case ListOp::LineWidth:
            glLineWidth(c.values[0]);
            break;
        case ListOp::Draw: {
            const ListGeometry& g = list.geometries[static_cast<size_t>(c.index)];
            const ServerState& s = State().server;
            if (DrawState draw; PrepareDraw(&draw)) {
                RendererDrawStatic(draw, g.primitive, g.geometry, s.color, s.texCoord);
            }
            break;
        }
        case ListOp::Bitmap:
            DrawGlyph(c.index);
            break;
        case ListOp::CallList:
            Execute(c.a);
            break;
    }
}

void Execute(GLuint name) {
    const DisplayList* list = Find(name);
    if (list == nullptr || store.callDepth >= kMaxCallDepth) {
        return;
    }
    ++store.callDepth;
    for (const ListCommand& command : list->commands) {
        Run(*list, command);
    }
    --store.callDepth;
}

}  // namespace

bool RecordListCommand(const ListCommand& command) {
    if (store.compiling == 0) {
        return false;
    }
    store.pending->commands.push_back(command);
    return !store.alsoExecute;
}

bool RecordUnsupportedInList(const char* call) {
    if (store.compiling == 0) {
        return false;
    }
    ReportUnsupported((std::string(call) + " in a display list").c_str());
    return !store.alsoExecute;
}

bool ListOpen() {
    return store.compiling != 0;
}

bool CompilingOnly() {
    return store.compiling != 0 && !store.alsoExecute;
}

void RecordListDraw(Primitive primitive, const float* vertices, int32_t count, bool texCoords) {
    if (store.compiling == 0 || count <= 0) {
        return;
    }
    DisplayList& list = *store.pending;
    ListGeometry g;
    g.primitive = primitive;
    g.geometry = RendererCreateStatic(vertices, count, texCoords);
    list.geometries.push_back(g);
    ListCommand command;
    command.op = ListOp::Draw;
    command.index = static_cast<int32_t>(list.geometries.size()) - 1;
    list.commands.push_back(command);
}

void DeleteAllLists() {
    for (auto& list : store.byName) {
        if (list) {
            FreeList(*list);
        }
    }
    if (store.pending) {
        FreeList(*store.pending);
    }
    store = ListStore{};
}

}  // namespace gllayer

using namespace gllayer;

GLuint glGenLists(GLsizei range) {
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0 || CompilingOnly()) {
        return 0;
    }
    const GLuint first = static_cast<GLuint>(store.byName.size());
    store.byName.resize(store.byName.size() + static_cast<size_t>(range));
    for (GLuint name = first; name < first + static_cast<GLuint>(range); ++name) {
        store.byName[name] = std::make_unique<DisplayList>();
    }
    return first;
}

void glDeleteLists(GLuint list, GLsizei range) {
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    for (GLuint name = list; name < list + static_cast<GLuint>(range); ++name) {
        if (name < store.byName.size() && store.byName[name]) {
            FreeList(*store.byName[name]);
            // The name stays taken; a deleted list replays as an empty one.
            *store.byName[name] = DisplayList{};
        }
    }
}

GLboolean glIsList(GLuint list) {
    return Find(list) != nullptr ? GL_TRUE : GL_FALSE;
}

void glNewList(GLuint list, GLenum mode) {
    if (list == 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (store.compiling != 0) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    FlushGlyphBatch();
    store.compiling = list;
    store.alsoExecute = mode == GL_COMPILE_AND_EXECUTE;
    store.pending = std::make_unique<DisplayList>();
}

void glEndList() {
    if (store.compiling == 0) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    const GLuint name = store.compiling;
    if (name >= store.byName.size()) {
        store.byName.resize(static_cast<size_t>(name) + 1);
    }
    if (store.byName[name]) {
        FreeList(*store.byName[name]);
    }
    store.byName[name] = std::move(store.pending);
    store.compiling = 0;
    store.alsoExecute = false;
}

void glCallList(GLuint list) {
    if (RecordListCommand(ListCommand{.op = ListOp::CallList, .a = list})) {
        return;
    }
    Execute(list);
    FlushGlyphBatch();
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_UNSIGNED_BYTE) {
        ReportUnsupported("glCallLists with names other than bytes");
        return;
    }
    const GLuint base = State().server.listBase;
    const GLubyte* names = static_cast<const GLubyte*>(lists);
    if (store.compiling != 0) {
        for (GLsizei i = 0; i < n; ++i) {
            RecordListCommand(ListCommand{.op = ListOp::CallList, .a = base + names[i]});
        }
        if (CompilingOnly()) {
            return;
        }
    }
    // A run of glyph lists draws as one batch of quads, in order, which is the same picture as
    // drawing them one by one.
    BeginGlyphBatch();
    for (GLsizei i = 0; i < n; ++i) {
        Execute(base + names[i]);
    }
    EndGlyphBatch();
}

void glListBase(GLuint base) {
    if (RecordUnsupportedInList("glListBase")) {
        return;
    }
    State().server.listBase = base;
}
