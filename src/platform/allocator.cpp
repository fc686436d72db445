// glibc malloc tuning for a program that allocates the same large blocks every frame.
#include "platform/allocator.h"

#include <malloc.h>

namespace {
constexpr int kLargeBlockBytes = 64 * 1024 * 1024;
constexpr int kHeapPadBytes = 16 * 1024 * 1024;
}  // namespace

void KeepFreedMemoryForReuse() {
    // Large blocks come from the heap rather than their own mappings, and the heap is neither
    // trimmed nor grown in small steps. Refusals are harmless: the defaults stay.
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
    mallopt(M_TRIM_THRESHOLD, kLargeBlockBytes);
    mallopt(M_TOP_PAD, kHeapPadBytes);
}
