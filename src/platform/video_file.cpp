// MP4 files through FFmpeg's libraries: libx264 for the picture, the native AAC encoder for the
// sound, the mp4 muxer with its index moved to the front.
#include "platform/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <vector>

namespace {

constexpr int32_t kAudioRate = 44100;
constexpr int64_t kAudioBitRate = 192000;

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

struct VideoFile {
    std::string path;      // the name the file takes when complete
    std::string tempPath;  // where it grows until then
    VideoFileConfig config;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    int64_t pictures = 0;            // pictures handed to the video encoder
    int64_t audioSamples = 0;        // samples per channel handed to the audio encoder
    std::vector<float> pendingLeft;  // audio waiting for a whole encoder frame
    std::vector<float> pendingRight;
    bool failed = false;
    std::string error;
};

namespace {

bool Fail(VideoFile* file, const std::string& reason) {
    if (!file->failed) {
        file->failed = true;
        file->error = reason;
    }
    return false;
}

// Takes every packet the encoder has ready and hands it to the muxer.
bool Drain(VideoFile* file, AVCodecContext* codec, AVStream* stream) {
    for (;;) {
        const int received = avcodec_receive_packet(codec, file->packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return true;
        }
        if (received < 0) {
            return Fail(file, "encoder failed: " + AvError(received));
        }
        // Every picture lasts one frame. x264 leaves the duration unset, and the muxer would then
        // give the last picture none and cut it from the timeline.
        if (file->packet->duration == 0 && codec->codec_type == AVMEDIA_TYPE_VIDEO) {
            file->packet->duration = 1;
        }
        av_packet_rescale_ts(file->packet, codec->time_base, stream->time_base);
        file->packet->stream_index = stream->index;
        const int written = av_interleaved_write_frame(file->format, file->packet);
        if (written < 0) {
            return Fail(file, "cannot write '" + file->path + "': " + AvError(written));
        }
        if (file->format->pb != nullptr && file->format->pb->error < 0) {
            return Fail(file,
                        "cannot write '" + file->path + "': " + AvError(file->format->pb->error));
        }
    }
}

bool Encode(VideoFile* file, AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    const int sent = avcodec_send_frame(codec, frame);
    if (sent < 0 && sent != AVERROR_EOF) {
        return Fail(file, "encoder failed: " + AvError(sent));
    }
    return Drain(file, codec, stream);
}

// Sends `samples` pending samples per channel (a whole encoder frame, or the short last one).
bool EncodePendingAudio(VideoFile* file, int32_t samples) {
    AVFrame* frame = file->sound;
    if (av_frame_make_writable(frame) < 0) {
        return Fail(file, "out of memory");
    }
    frame->nb_samples = samples;
    auto* left = reinterpret_cast<float*>(frame->data[0]);
    auto* right = reinterpret_cast<float*>(frame->data[1]);
    for (int32_t i = 0; i < samples; ++i) {
        left[i] = file->pendingLeft[static_cast<size_t>(i)];
        right[i] = file->pendingRight[static_cast<size_t>(i)];
    }
    file->pendingLeft.erase(file->pendingLeft.begin(), file->pendingLeft.begin() + samples);
    file->pendingRight.erase(file->pendingRight.begin(), file->pendingRight.begin() + samples);
    frame->pts = file->audioSamples;
    file->audioSamples += samples;
    return Encode(file, file->audio, file->audioStream, frame);
}

AVCodecContext* OpenVideoEncoder(VideoFile* file) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr) {
        Fail(file, "this FFmpeg has no H.264 encoder (libx264)");
        return nullptr;
    }
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (context == nullptr) {
        Fail(file, "out of memory");
        return nullptr;
    }
    const VideoFileConfig& config = file->config;
    context->width = config.pictureWidth * config.scale;
    context->height = config.pictureHeight * config.scale;
    context->time_base = AVRational{1, config.fps};
    context->framerate = AVRational{config.fps, 1};
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    // swscale converts with the BT.601 matrix into the limited range; say so in the stream.
    context->colorspace = AVCOL_SPC_SMPTE170M;
    context->color_primaries = AVCOL_PRI_SMPTE170M;
    context->color_trc = AVCOL_TRC_SMPTE170M;
    context->color_range = AVCOL_RANGE_MPEG;
    if (file->format->oformat->flags & AVFMT_GLOBALHEADER) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    av_opt_set(context->priv_data, "preset", config.preset, 0);
    av_opt_set(context->priv_data, "crf", std::to_string(config.crf).c_str(), 0);
    const int opened = avcodec_open2(context, codec, nullptr);
    if (opened < 0) {
        Fail(file, "cannot start the H.264 encoder: " + AvError(opened));
        avcodec_free_context(&context);
        return nullptr;
    }
    return context;
}

AVCodecContext* OpenAudioEncoder(VideoFile* file) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (codec == nullptr) {
        Fail(file, "this FFmpeg has no AAC encoder");
        return nullptr;
    }
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (context == nullptr) {
        Fail(file, "out of memory");
        return nullptr;
    }
    context->sample_fmt = AV_SAMPLE_FMT_FLTP;
    context->sample_rate = kAudioRate;
    context->bit_rate = kAudioBitRate;
    av_channel_layout_default(&context->ch_layout, 2);
    context->time_base = AVRational{1, kAudioRate};
    if (file->format->oformat->flags & AVFMT_GLOBALHEADER) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    const int opened = avcodec_open2(context, codec, nullptr);
    if (opened < 0) {
        Fail(file, "cannot start the AAC encoder: " + AvError(opened));
        avcodec_free_context(&context);
        return nullptr;
    }
    return context;
}

AVStream* AddStream(VideoFile* file, const AVCodecContext* codec) {
    AVStream* stream = avformat_new_stream(file->format, nullptr);
    if (stream == nullptr || avcodec_parameters_from_context(stream->codecpar, codec) < 0) {
        Fail(file, "out of memory");
        return nullptr;
    }
    stream->time_base = codec->time_base;
    return stream;
}

bool SetUp(VideoFile* file) {
    const VideoFileConfig& config = file->config;
    if (avformat_alloc_output_context2(&file->format, nullptr, "mp4", file->tempPath.c_str()) < 0) {
        return Fail(file, "this FFmpeg cannot write MP4 files");
    }
    file->video = OpenVideoEncoder(file);
    file->audio = file->video != nullptr ? OpenAudioEncoder(file) : nullptr;
    if (file->audio == nullptr) {
        return false;
    }
    file->videoStream = AddStream(file, file->video);
    file->audioStream = file->videoStream != nullptr ? AddStream(file, file->audio) : nullptr;
    if (file->audioStream == nullptr) {
        return false;
    }

    file->picture = av_frame_alloc();
    file->sound = av_frame_alloc();
    file->packet = av_packet_alloc();
    if (file->picture == nullptr || file->sound == nullptr || file->packet == nullptr) {
        return Fail(file, "out of memory");
    }
    file->picture->format = file->video->pix_fmt;
    file->picture->width = file->video->width;
    file->picture->height = file->video->height;
    file->sound->format = file->audio->sample_fmt;
    file->sound->sample_rate = kAudioRate;
    av_channel_layout_copy(&file->sound->ch_layout, &file->audio->ch_layout);
    file->sound->nb_samples = file->audio->frame_size;
    if (av_frame_get_buffer(file->picture, 0) < 0 || av_frame_get_buffer(file->sound, 0) < 0) {
        return Fail(file, "out of memory");
    }
    // Point sampling makes every picture pixel an exact K x K block.
    file->scaler = sws_getContext(config.pictureWidth, config.pictureHeight, AV_PIX_FMT_RGB24,
                                  file->video->width, file->video->height, AV_PIX_FMT_YUV420P,
                                  SWS_POINT, nullptr, nullptr, nullptr);
    if (file->scaler == nullptr) {
        return Fail(file, "cannot set up the picture conversion");
    }

    const int opened = avio_open(&file->format->pb, file->tempPath.c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) {
        return Fail(file, "cannot write '" + file->path + "': " + AvError(opened));
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    const int header = avformat_write_header(file->format, &options);
    av_dict_free(&options);
    if (header < 0) {
        return Fail(file, "cannot write '" + file->path + "': " + AvError(header));
    }
    return true;
}

void Release(VideoFile* file) {
    if (file->format != nullptr && file->format->pb != nullptr) {
        avio_closep(&file->format->pb);
    }
    avformat_free_context(file->format);
    avcodec_free_context(&file->video);
    avcodec_free_context(&file->audio);
    sws_freeContext(file->scaler);
    av_frame_free(&file->picture);
    av_frame_free(&file->sound);
    av_packet_free(&file->packet);
    delete file;
}

}  // namespace

bool VideoFileSupported() {
    return avcodec_find_encoder_by_name("libx264") != nullptr &&
           avcodec_find_encoder(AV_CODEC_ID_AAC) != nullptr;
}

VideoFile* VideoFileOpen(const char* path, const VideoFileConfig& config, std::string* error) {
    av_log_set_level(AV_LOG_ERROR);
    auto* file = new VideoFile;
    file->path = path;
    file->tempPath = file->path + ".part";
    file->config = config;
    if (!SetUp(file)) {
        *error = file->error;
        VideoFileDiscard(file);
        return nullptr;
    }
    return file;
}

bool VideoFileAddPicture(VideoFile* file, const uint8_t* rgb) {
    if (file->failed) {
        return false;
    }
    if (av_frame_make_writable(file->picture) < 0) {
        return Fail(file, "out of memory");
    }
    const uint8_t* source[1] = {rgb};
    const int sourceStride[1] = {file->config.pictureWidth * 3};
    sws_scale(file->scaler, source, sourceStride, 0, file->config.pictureHeight,
              file->picture->data, file->picture->linesize);
    file->picture->pts = file->pictures++;
    return Encode(file, file->video, file->videoStream, file->picture);
}

bool VideoFileAddAudio(VideoFile* file, const int16_t* pcm, int64_t frames) {
    if (file->failed) {
        return false;
    }
    for (int64_t i = 0; i < frames; ++i) {
        file->pendingLeft.push_back(static_cast<float>(pcm[2 * i]) / 32768.0f);
        file->pendingRight.push_back(static_cast<float>(pcm[2 * i + 1]) / 32768.0f);
    }
    const auto frameSize = static_cast<size_t>(file->audio->frame_size);
    while (file->pendingLeft.size() >= frameSize) {
        if (!EncodePendingAudio(file, file->audio->frame_size)) {
            return false;
        }
    }
    return true;
}

bool VideoFileClose(VideoFile* file, std::string* error) {
    bool ok = !file->failed;
    if (ok && !file->pendingLeft.empty()) {
        ok = EncodePendingAudio(file, static_cast<int32_t>(file->pendingLeft.size()));
    }
    ok = ok && Encode(file, file->video, file->videoStream, nullptr);
    ok = ok && Encode(file, file->audio, file->audioStream, nullptr);
    if (ok) {
        const int trailer = av_write_trailer(file->format);
        if (trailer < 0) {
            ok = Fail(file, "cannot finish '" + file->path + "': " + AvError(trailer));
        }
    }
    if (ok && file->format->pb->error < 0) {
        ok = Fail(file, "cannot write '" + file->path + "': " + AvError(file->format->pb->error));
    }
    if (ok) {
        const int closed = avio_closep(&file->format->pb);
        if (closed < 0) {
            ok = Fail(file, "cannot finish '" + file->path + "': " + AvError(closed));
        }
    }
    if (ok && std::rename(file->tempPath.c_str(), file->path.c_str()) != 0) {
        ok = Fail(file, "cannot name the finished file '" + file->path + "'");
    }
    if (!ok) {
        *error = file->error;
        VideoFileDiscard(file);
        return false;
    }
    Release(file);
    return true;
}

void VideoFileDiscard(VideoFile* file) {
    if (file == nullptr) {
        return;
    }
    const std::string tempPath = file->tempPath;
    Release(file);
    std::remove(tempPath.c_str());
}

int64_t VideoFileBytes(const VideoFile* file) {
    return file->format != nullptr && file->format->pb != nullptr ? avio_tell(file->format->pb) : 0;
}
