// The worker that writes an offline run's frames and sound.
#include "shell/offline_output.h"

#include <cstdio>

#include "core/screen.h"
#include "platform/display.h"
#include "platform/png_io.h"
#include "platform/threads.h"
#include "shell/capture_writer.h"

namespace {

// Frames queued ahead of the worker before the main thread waits: enough to keep both cores
// busy, few enough to keep memory small (a picture is 900 KB).
constexpr size_t kMostQueued = 3;

// Writes one job; false with the reason in output.failure (set under the lock by the caller).
bool WriteJob(OfflineOutput& output, OutputJob& job, std::string* failure) {
    const bool picture = !job.rgb.empty();
    const int64_t frames = static_cast<int64_t>(job.pcm.size() / 2);
    if (output.video != nullptr) {
        if ((picture && !VideoFileAddPicture(output.video, job.rgb.data())) ||
            !VideoFileAddAudio(output.video, job.pcm.data(), frames)) {
            *failure = "cannot write '" + output.exportPath + "'";
            return false;
        }
        return true;
    }
    const std::string path = CaptureFrameFile(output.captureDir, job.frame);
    if (picture &&
        !WritePngRgb(path.c_str(), output.pictureWidth, output.pictureHeight, job.rgb.data())) {
        *failure = "cannot write '" + path + "'";
        return false;
    }
    if (!WavWriterAppend(output.wav, job.pcm.data(), frames)) {
        // The picture goes too, so the pictures and the sound still end together.
        if (picture) {
            std::remove(path.c_str());
        }
        *failure = "cannot write '" + output.captureDir + "/audio.wav'";
        return false;
    }
    return true;
}

void WorkerLoop(OfflineOutput& output) {
    std::unique_lock<std::mutex> lock(output.mutex);
    for (;;) {
        output.changed.wait(lock, [&output] { return output.closing || !output.queue.empty(); });
        if (output.queue.empty()) {
            return;  // closing, and everything is written
        }
        OutputJob job = std::move(output.queue.front());
        output.queue.pop_front();
        const bool skip = output.failed;
        lock.unlock();
        std::string failure;
        const bool written = skip || WriteJob(output, job, &failure);
        lock.lock();
        if (!skip && !written) {
            output.failed = true;
            output.failure = failure;
        } else if (!skip && !job.rgb.empty()) {
            output.lastWritten = job.frame;
        }
        if (!job.rgb.empty()) {
            output.spare.push_back(std::move(job.rgb));
        }
        output.changed.notify_all();
    }
}

// Without threads there is no worker: OfflineOutputAddFrame writes each job itself.
void StartWorker(OfflineOutput& output) {
    output.pictureWidth = screenWidth;
    output.pictureHeight = screenHeight;
    if (ThreadsAvailable()) {
        output.worker = std::thread([&output] { WorkerLoop(output); });
    }
}

bool WriteJobNow(OfflineOutput& output, OutputJob&& job) {
    if (!WriteJob(output, job, &output.failure)) {
        output.failed = true;
        return false;
    }
    if (!job.rgb.empty()) {
        output.lastWritten = job.frame;
        output.spare.push_back(std::move(job.rgb));
    }
    return true;
}

}  // namespace

bool OfflineOutputOpenCapture(OfflineOutput& output, const std::string& dir, std::string* error) {
    output.captureDir = dir;
    const std::string wavPath = dir + "/audio.wav";
    if (!WavWriterOpen(output.wav, wavPath.c_str())) {
        *error = "cannot write '" + wavPath + "'";
        return false;
    }
    StartWorker(output);
    return true;
}

bool OfflineOutputOpenExport(OfflineOutput& output, const std::string& path,
                             const VideoFileConfig& config, std::string* error) {
    output.exportPath = path;
    output.video = VideoFileOpen(path.c_str(), config, error);
    if (output.video == nullptr) {
        return false;
    }
    StartWorker(output);
    return true;
}

bool OfflineOutputAddFrame(OfflineOutput& output, int64_t frame, bool wantPicture,
                           std::vector<int16_t>&& pcm) {
    std::vector<uint8_t> rgb;
    {
        std::unique_lock<std::mutex> lock(output.mutex);
        output.changed.wait(
            lock, [&output] { return output.failed || output.queue.size() < kMostQueued; });
        if (output.failed) {
            return false;
        }
        if (wantPicture && !output.spare.empty()) {
            rgb = std::move(output.spare.back());
            output.spare.pop_back();
        }
    }
    if (wantPicture) {
        rgb.resize(static_cast<size_t>(output.pictureWidth) *
                   static_cast<size_t>(output.pictureHeight) * 3);
        DisplayReadPicture(rgb.data());
    }
    if (!output.worker.joinable()) {
        return WriteJobNow(output, OutputJob{frame, std::move(rgb), std::move(pcm)});
    }
    {
        const std::lock_guard<std::mutex> lock(output.mutex);
        output.queue.push_back(OutputJob{frame, std::move(rgb), std::move(pcm)});
    }
    output.changed.notify_all();
    return true;
}

bool OfflineOutputFailed(OfflineOutput& output) {
    const std::lock_guard<std::mutex> lock(output.mutex);
    return output.failed;
}

bool OfflineOutputFinish(OfflineOutput& output, bool keep, std::string* error) {
    if (output.worker.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(output.mutex);
            output.closing = true;
        }
        output.changed.notify_all();
        output.worker.join();
    }
    bool ok = !output.failed;
    if (!ok) {
        *error = output.failure;
    }
    if (output.video != nullptr) {
        std::string closeError;
        if (keep && ok && !VideoFileClose(output.video, &closeError)) {
            *error = closeError;
            ok = false;
        } else if (!keep || !ok) {
            VideoFileDiscard(output.video);
        }
        output.video = nullptr;
        return ok;
    }
    if (output.wav.file != nullptr && !WavWriterCloseKeeping(output.wav)) {
        if (ok) {
            *error = "cannot finish '" + output.captureDir + "/audio.wav'";
        }
        ok = false;
    }
    return ok;
}
