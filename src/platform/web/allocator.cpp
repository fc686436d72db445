// Web: nothing to tune.
#include "platform/allocator.h"

// The WebAssembly heap only grows; freed blocks always stay in the program for reuse.
void KeepFreedMemoryForReuse() {}
