// Where an offline run's pictures and sound go: numbered PNG files beside audio.wav (capture), or
// one MP4 file (export). Files are encoded and written on a worker thread while the main thread
// draws the next frames (where the platform has no threads, on the main thread as each frame is
// added); a frame's sound is written only after its picture, so whatever stops the run, the sound
// ends with the last picture written.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/video_file.h"
#include "platform/wav_writer.h"

// One frame handed to the worker: its picture (empty when the frame is not wanted, as before
// --frames A) and the sound that ends with it.
struct OutputJob {
    int64_t frame = 0;
    std::vector<uint8_t> rgb;
    std::vector<int16_t> pcm;
};

struct OfflineOutput {
    std::string captureDir;  // capture: the folder of frame_NNNNNN.png and audio.wav
    std::string exportPath;  // export: the MP4 file
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    WavWriter wav;
    VideoFile* video = nullptr;

    // Handed between the main thread and the worker under `mutex`.
    std::thread worker;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<OutputJob> queue;
    std::vector<std::vector<uint8_t>> spare;  // picture buffers to reuse
    bool closing = false;
    bool failed = false;      // a write failed; the jobs after it are dropped
    std::string failure;      // why, in one line
    int64_t lastWritten = 0;  // the last frame whose picture and sound are complete; 0 for none
};

// Capture into dir (which must exist and be writable): opens audio.wav and starts the worker.
bool OfflineOutputOpenCapture(OfflineOutput& output, const std::string& dir, std::string* error);

// Export to path with the video settings given: opens the file and starts the worker.
bool OfflineOutputOpenExport(OfflineOutput& output, const std::string& path,
                             const VideoFileConfig& config, std::string* error);

// Queues one frame: reads the picture from the display when wanted, and the frame's sound.
// Waits while the worker is several frames behind. False once a write has failed.
bool OfflineOutputAddFrame(OfflineOutput& output, int64_t frame, bool wantPicture,
                           std::vector<int16_t>&& pcm);

// Whether a write has failed (the run should stop); any time.
bool OfflineOutputFailed(OfflineOutput& output);

// Waits for the worker to write everything queued, then finishes the files: with keep, a
// capture's audio.wav and an export's MP4 are completed; without, an export's file is removed
// (a capture keeps every complete frame and its sound either way). False with the reason in
// error when something could not be written.
bool OfflineOutputFinish(OfflineOutput& output, bool keep, std::string* error);
