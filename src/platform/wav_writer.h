// Streams 44100 Hz 16-bit stereo PCM into a WAV file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// An open WAV file being written. Its header is brought up to date after every second of audio,
// so a file cut off by a crash or a kill still plays up to the last update. The audio is also
// synchronised to disk before an update, at most once per second of wall time (a sync costs tens
// of milliseconds, and offline rendering runs far faster than real time), so after a power cut
// the header claims at most about a second's worth of rendering more than the disk kept.
struct WavWriter {
    std::FILE* file = nullptr;  // unbuffered: every append reaches the system at once
    std::string path;
    int64_t frames = 0;                // frames appended completely so far
    int64_t headerFrames = 0;          // frames the header in the file counts
    int64_t syncedAtMilliseconds = 0;  // steady-clock time of the last sync to disk
    bool failed = false;  // a write failed; the file holds `frames` frames and maybe a stub
};

// Creates `path` (replacing any file there) with a header for 44100 Hz, 2 channels, 16 bits.
bool WavWriterOpen(WavWriter& writer, const char* path);

// Appends `frames` interleaved left/right frames. On a failed write the partial frames are cut
// off again, so the file holds exactly `writer.frames` frames.
bool WavWriterAppend(WavWriter& writer, const int16_t* samples, int64_t frames);

// Writes the final sizes and closes the file. On any failure (now or earlier) the file is
// removed, so no partial file is left. False then.
bool WavWriterClose(WavWriter& writer);

// Closes the file as a complete WAV of the frames appended before any failure (a later failed
// append leaves no trace). False, with the file removed, when even that cannot be written.
bool WavWriterCloseKeeping(WavWriter& writer);

// Closes and removes the file without finishing it.
void WavWriterDiscard(WavWriter& writer);
