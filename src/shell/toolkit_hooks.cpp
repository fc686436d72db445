// The toolkit's start-up steps and the end-of-frame text-state step.
#include "gfx/toolkit_resources.h"
#include "shell/subsystem_hooks.h"

void CreateToolkitResources() {
    CreateToolkitStartupResources();
}

void RestoreTextState() {
    RestoreFrameTextState();
}
