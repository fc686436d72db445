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

// A thread that draws only to get the driver ready ahead of the show (the rehearsal) makes no
// display lists and issues what they would hold directly. Mesa plays glCallList(s) with the share
// group's list table locked: a list played there while the driver builds a program for it, or
// while the low-priority thread waits for a processor, would hold up the show's own lists on the
// other context for as long. Off for every thread unless set.
void DrawListsDirectlyOnThisThread(bool direct);
bool ThisThreadDrawsListsDirectly();
