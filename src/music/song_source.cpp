// The installable song-source operations, the stream wrapper and the in-memory image block.
#include "music/song_source.h"

#include <cstring>

SongSource songSource = {};
MemoryBlock memoryBlock = {};

void InstallSource(SourceOpen open, SourceClose close, SourceRead read, SourceSeek seek,
                   SourceTell tell) {
    if (open && close && read && seek && tell) {
        songSource = SongSource{open, close, read, seek, tell};
    } else {
        songSource = SongSource{};
    }
}

bool SourceInstalled() {
    return songSource.open && songSource.close && songSource.read && songSource.seek &&
           songSource.tell;
}

SourceStream* StreamOpen(const char* name) {
    if (!SourceInstalled()) {
        return nullptr;
    }
    SourceStream* stream = new SourceStream{};
    stream->handle = songSource.open(name);
    if (stream->handle == 0) {
        delete stream;
        return nullptr;
    }
    return stream;
}

void StreamClose(SourceStream* stream) {
    if (!stream) {
        return;
    }
    if (songSource.close) {
        songSource.close(stream->handle);
    }
    delete stream;
}

int32_t StreamRead(void* destination, int32_t count, SourceStream* stream) {
    if (!stream || !songSource.read) {
        return 0;
    }
    return songSource.read(destination, count, stream->handle);
}

void StreamSeek(SourceStream* stream, int32_t offset, uint8_t whence) {
    if (stream && songSource.seek) {
        songSource.seek(stream->handle, offset, whence);
    }
}

int32_t StreamTell(SourceStream* stream) {
    if (!stream || !songSource.tell) {
        return 0;
    }
    return songSource.tell(stream->handle);
}

void MemoryBlockSet(const uint8_t* image, int32_t size) {
    memoryBlock.image = image;
    memoryBlock.size = size;
    memoryBlock.position = 0;
}

int32_t MemoryBlockOpen(const char*) {
    return 1;
}

void MemoryBlockClose(int32_t) {}

int32_t MemoryBlockRead(void* destination, int32_t count, int32_t) {
    MemoryBlock& block = memoryBlock;
    // A position below 0 (a seek may put it there) or a negative count reads nothing rather than
    // copying from outside the image.
    if (count <= 0 || block.position < 0 || !block.image) {
        return 0;
    }
    int32_t n = count;
    if (static_cast<int64_t>(block.position) + count >= block.size) {
        n = block.size - block.position;
    }
    if (n <= 0) {
        return 0;
    }
    std::memcpy(destination, block.image + block.position, static_cast<size_t>(n));
    block.position += n;
    return n;
}

void MemoryBlockSeek(int32_t, int32_t offset, uint8_t whence) {
    MemoryBlock& block = memoryBlock;
    int64_t position = block.position;
    if (whence == 0) {
        position = offset;
    } else if (whence == 1) {
        position += offset;
    } else if (whence == 2) {
        position = static_cast<int64_t>(block.size) + offset;
    }
    if (position > block.size) {
        position = block.size;
    }
    // No lower bound, as for any file seek; reads at a negative position copy nothing.
    if (position < INT32_MIN) {
        position = INT32_MIN;
    }
    block.position = static_cast<int32_t>(position);
}

int32_t MemoryBlockTell(int32_t) {
    return memoryBlock.position;
}
