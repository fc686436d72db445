// The GL objects (texture names, display lists) each thread makes, so that a thread that drew with
// a context of its own can delete what it made before it ends: objects live in the share group,
// not the context, and would outlast the thread.
#pragma once

#include "platform/gl.h"

void NoteTextureMade(GLuint name);
void NoteListsMade(GLuint first, GLsizei count);

// Deletes every texture and display list the calling thread noted, and forgets them. Needs that
// thread's context current.
void DeleteThisThreadsGlObjects();
