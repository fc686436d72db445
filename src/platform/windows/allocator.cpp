// Windows: nothing to tune.
#include "platform/allocator.h"

// The process heap already keeps freed blocks for reuse and grows in large steps; there is no
// per-free return of memory to the system to turn off, as there is with glibc's defaults.
void KeepFreedMemoryForReuse() {}
