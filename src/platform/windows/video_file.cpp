// The Windows build carries no FFmpeg: it cannot write video files, and says so.
#include "platform/video_file.h"

struct VideoFile {};

bool VideoFileSupported() {
    return false;
}

VideoFile* VideoFileOpen(const char* /*path*/, const VideoFileConfig& /*config*/,
                         std::string* error) {
    *error = "this build cannot write video files; use --capture DIR --fps N instead";
    return nullptr;
}

bool VideoFileAddPicture(VideoFile* /*file*/, const uint8_t* /*rgb*/) {
    return false;
}

bool VideoFileAddAudio(VideoFile* /*file*/, const int16_t* /*pcm*/, int64_t /*frames*/) {
    return false;
}

bool VideoFileClose(VideoFile* file, std::string* error) {
    delete file;
    *error = "this build cannot write video files";
    return false;
}

void VideoFileDiscard(VideoFile* file) {
    delete file;
}

int64_t VideoFileBytes(const VideoFile* /*file*/) {
    return 0;
}
