// The toolkit's start-up steps and the end-of-frame text-state step.
#include "shell/subsystem_hooks.h"

// Not built yet: the toolkit resources arrive with the rendering toolkit.
void CreateToolkitResources() {}

void RestoreTextState() {}
