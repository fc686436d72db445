// The calling thread's record of the GL objects it made.
#include "core/gl_objects.h"

#include <utility>
#include <vector>

namespace {

struct MadeObjects {
    std::vector<GLuint> textures;
    std::vector<std::pair<GLuint, GLsizei>> lists;  // first name, count
};

thread_local MadeObjects made;
thread_local bool listsDrawnDirectly = false;

}  // namespace

void NoteTextureMade(GLuint name) {
    if (name != 0) {
        made.textures.push_back(name);
    }
}

void NoteListsMade(GLuint first, GLsizei count) {
    if (first != 0 && count > 0) {
        made.lists.emplace_back(first, count);
    }
}

void DeleteThisThreadsGlObjects() {
    if (!made.textures.empty()) {
        glDeleteTextures(static_cast<GLsizei>(made.textures.size()), made.textures.data());
    }
    for (const auto& [first, count] : made.lists) {
        glDeleteLists(first, count);
    }
    made = MadeObjects{};
}

void DrawListsDirectlyOnThisThread(bool direct) {
    listsDrawnDirectly = direct;
}

bool ThisThreadDrawsListsDirectly() {
    return listsDrawnDirectly;
}
