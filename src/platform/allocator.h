// Process-wide memory allocator settings.
#pragma once

// Keeps freed memory in the process instead of handing it back to the system after every
// frame. The software GL renderer allocates and frees large buffers each frame; returning them
// costs a system call and fresh page faults every time.
void KeepFreedMemoryForReuse();
