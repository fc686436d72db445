// MP4 files of the show: H.264 video from the RGB picture, each pixel a K x K block, and AAC
// audio from 44.1 kHz 16-bit stereo PCM.
#pragma once

#include <cstdint>
#include <string>

struct VideoFileConfig {
    int32_t pictureWidth = 640;  // the picture handed to VideoFileAddPicture, in pixels
    int32_t pictureHeight = 480;
    int32_t scale = 2;  // each picture pixel becomes scale x scale video pixels
    int32_t fps = 60;
    int32_t crf = 18;                  // x264 constant rate factor: lower is better and larger
    const char* preset = "superfast";  // x264 speed preset
};

// An MP4 being written. It grows under a temporary name in the target's folder and takes its
// own name only when VideoFileClose completes, so no half-written file ever carries it.
struct VideoFile;

// True when this build can write MP4 files (the Linux build with FFmpeg's libraries).
bool VideoFileSupported();

// Creates the file's temporary sibling and sets up both encoders. Null with a one-line reason
// in error when the encoders are missing or the folder cannot be written.
VideoFile* VideoFileOpen(const char* path, const VideoFileConfig& config, std::string* error);

// Encodes one picture: width x height tightly packed RGB rows, top row first. Pictures get
// consecutive timestamps 0, 1/fps, 2/fps, ...
bool VideoFileAddPicture(VideoFile* file, const uint8_t* rgb);

// Encodes `frames` interleaved left/right 16-bit frames that follow the ones given so far.
bool VideoFileAddAudio(VideoFile* file, const int16_t* pcm, int64_t frames);

// Flushes both encoders, finishes the file (its index moved to the front, so it plays while it
// downloads) and gives it its name. On any failure, now or earlier, nothing is left behind and
// error says why. Frees the record either way.
bool VideoFileClose(VideoFile* file, std::string* error);

// Stops and removes everything written. Frees the record. Null is allowed.
void VideoFileDiscard(VideoFile* file);

// Bytes in the file so far (for progress lines).
int64_t VideoFileBytes(const VideoFile* file);
