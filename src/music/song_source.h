// The song source: five installable byte-stream operations and the in-memory block behind them.
#pragma once

#include <cstdint>

using SourceOpen = int32_t (*)(const char* name);  // non-zero handle, 0 on failure
using SourceClose = void (*)(int32_t handle);
using SourceRead = int32_t (*)(void* destination, int32_t count, int32_t handle);
using SourceSeek = void (*)(int32_t handle, int32_t offset, uint8_t whence);  // 0 set, 1 cur, 2 end
using SourceTell = int32_t (*)(int32_t handle);

struct SongSource {
    SourceOpen open;
    SourceClose close;
    SourceRead read;
    SourceSeek seek;
    SourceTell tell;
};

// The installed operations; all null or all set.
extern SongSource songSource;

// Stores all five operations when every one is given, otherwise clears all five.
void InstallSource(SourceOpen open, SourceClose close, SourceRead read, SourceSeek seek,
                   SourceTell tell);

// True when all five operations are installed.
bool SourceInstalled();

struct SourceStream {
    int32_t handle;
};

SourceStream* StreamOpen(const char* name);
void StreamClose(SourceStream* stream);
int32_t StreamRead(void* destination, int32_t count, SourceStream* stream);
void StreamSeek(SourceStream* stream, int32_t offset, uint8_t whence);
int32_t StreamTell(SourceStream* stream);

// The one song image the source reads from. The position has no lower bound (a negative seek
// leaves it negative; reads then copy nothing).
struct MemoryBlock {
    const uint8_t* image;
    int32_t size;  // bytes
    int32_t position;
};

extern MemoryBlock memoryBlock;

// Points the block at an image and rewinds it.
void MemoryBlockSet(const uint8_t* image, int32_t size);

int32_t MemoryBlockOpen(const char* name);
void MemoryBlockClose(int32_t handle);
int32_t MemoryBlockRead(void* destination, int32_t count, int32_t handle);
void MemoryBlockSeek(int32_t handle, int32_t offset, uint8_t whence);
int32_t MemoryBlockTell(int32_t handle);
