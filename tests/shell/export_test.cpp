// The built program's video export and --from, end to end: the MP4 read back with FFmpeg's
// libraries and compared with capture mode's pictures and sound, and the refusals.
#include <gtest/gtest.h>

#include <signal.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/png_io.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFps = 20;

// What a test needs to know of an MP4: its streams, decoded picture count, durations, and one
// decoded picture as RGB.
struct VideoFacts {
    bool opened = false;
    std::string videoCodec;
    std::string audioCodec;
    int width = 0;
    int height = 0;
    int pictures = 0;
    double videoSeconds = 0.0;
    int64_t audioSamples = 0;  // per channel, decoded
    int audioRate = 0;
    std::vector<uint8_t> rgb;  // the picture with index `keep`
};

void DecodeAll(AVCodecContext* codec, AVFrame* frame, VideoFacts& facts, bool video, int keep) {
    while (avcodec_receive_frame(codec, frame) == 0) {
        if (!video) {
            facts.audioSamples += frame->nb_samples;
            continue;
        }
        if (facts.pictures++ != keep) {
            continue;
        }
        SwsContext* toRgb = sws_getContext(
            frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
            frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
        facts.rgb.assign(static_cast<size_t>(frame->width) * frame->height * 3, 0);
        uint8_t* planes[1] = {facts.rgb.data()};
        const int strides[1] = {frame->width * 3};
        sws_scale(toRgb, frame->data, frame->linesize, 0, frame->height, planes, strides);
        sws_freeContext(toRgb);
    }
}

VideoFacts ReadVideo(const std::string& path, int keep) {
    VideoFacts facts;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(format, nullptr) < 0) {
        return facts;
    }
    facts.opened = true;
    AVCodecContext* codecs[2] = {nullptr, nullptr};
    for (unsigned i = 0; i < format->nb_streams && i < 2; ++i) {
        const AVCodecParameters* parameters = format->streams[i]->codecpar;
        const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
        codecs[i] = avcodec_alloc_context3(decoder);
        avcodec_parameters_to_context(codecs[i], parameters);
        avcodec_open2(codecs[i], decoder, nullptr);
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
            facts.videoCodec = avcodec_get_name(parameters->codec_id);
            facts.width = parameters->width;
            facts.height = parameters->height;
            facts.videoSeconds = static_cast<double>(format->streams[i]->duration) *
                                 av_q2d(format->streams[i]->time_base);
        } else {
            facts.audioCodec = avcodec_get_name(parameters->codec_id);
            facts.audioRate = parameters->sample_rate;
        }
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    while (av_read_frame(format, packet) >= 0) {
        const int index = packet->stream_index;
        if (index < 2 && codecs[index] != nullptr &&
            avcodec_send_packet(codecs[index], packet) == 0) {
            DecodeAll(codecs[index], frame, facts, codecs[index]->codec_type == AVMEDIA_TYPE_VIDEO,
                      keep);
        }
        av_packet_unref(packet);
    }
    for (AVCodecContext* codec : codecs) {
        if (codec != nullptr) {
            avcodec_send_packet(codec, nullptr);
            DecodeAll(codec, frame, facts, codec->codec_type == AVMEDIA_TYPE_VIDEO, keep);
            avcodec_free_context(&codec);
        }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&format);
    return facts;
}

std::vector<uint8_t> Pixels(const std::string& png) {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
    EXPECT_TRUE(ReadPngRgb(png.c_str(), &width, &height, &rgb)) << png;
    return rgb;
}

// Peak signal-to-noise ratio of the video picture against the 640 x 480 picture scaled by k.
double Psnr(const std::vector<uint8_t>& video, const std::vector<uint8_t>& picture, int k) {
    double squares = 0.0;
    const int width = 640 * k;
    for (int y = 0; y < 480 * k; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const double d = video[(static_cast<size_t>(y) * width + x) * 3 + c] -
                                 picture[(static_cast<size_t>(y / k) * 640 + x / k) * 3 + c];
                squares += d * d;
            }
        }
    }
    const double mean = squares / (3.0 * width * 480 * k);
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

// Frames 100..130 of the show at 20 fps, exported at scale 2, against a capture of the same.
TEST(ExportTest, AFewSecondsReadBackAsTheCapturesPicturesAndSound) {
    ScratchDir work;
    const std::string video = work.File("clip.mp4");
    const ProgramResult exported = RunProgram(
        DEMO_EXECUTABLE, {"--export", video, "--fps", "20", "--frames", "100:130"}, work.path);
    ASSERT_EQ(exported.exitCode, 0) << exported.standardError;
    EXPECT_NE(exported.standardError.find("demo: wrote " + video), std::string::npos)
        << exported.standardError;
    EXPECT_EQ(FileNames(work.path), std::vector<std::string>{"clip.mp4"}) << "no .part left";
    EXPECT_GT(fs::file_size(video), 10000u);

    const VideoFacts facts = ReadVideo(video, 10);  // the 11th picture: frame 110
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.videoCodec, "h264");
    EXPECT_EQ(facts.audioCodec, "aac");
    EXPECT_EQ(facts.width, 1280);
    EXPECT_EQ(facts.height, 960);
    EXPECT_EQ(facts.pictures, 31);
    EXPECT_NEAR(facts.videoSeconds, 31.0 / kFps, 0.5 / kFps);
    EXPECT_EQ(facts.audioRate, 44100);
    // AAC works in 1024-sample frames: the sound lasts as long as the pictures to within one.
    EXPECT_NEAR(static_cast<double>(facts.audioSamples), 31.0 * 44100 / kFps, 1024.0);

    ASSERT_EQ(RunCapture(work.File("cap"), kFps, 110, 110, work.path).exitCode, 0);
    ASSERT_EQ(facts.rgb.size(), 1280u * 960u * 3u);
    EXPECT_GE(Psnr(facts.rgb, Pixels(CaptureFramePath(work.File("cap"), 110)), 2), 30.0);
}

// --from 30 at 5 fps skips 150 frames: its frames 151.. and its sound equal a full run's.
TEST(ExportTest, FromAgreesWithARunFromTheStart) {
    ScratchDir work;
    const std::string full = work.File("full");
    const std::string later = work.File("later");
    ASSERT_EQ(RunCapture(full, 5, 151, 153, work.path).exitCode, 0);
    const ProgramResult from = RunProgram(
        DEMO_EXECUTABLE, {"--capture", later, "--fps", "5", "--from", "30", "--frames", "1:153"},
        work.path);
    ASSERT_EQ(from.exitCode, 0) << from.standardError;
    for (int frame = 151; frame <= 153; ++frame) {
        EXPECT_EQ(Pixels(CaptureFramePath(later, frame)), Pixels(CaptureFramePath(full, frame)))
            << frame;
    }
    EXPECT_FALSE(fs::exists(CaptureFramePath(later, 150)));
    const std::string fullSound = ReadFileBytes(full + "/audio.wav");
    const std::string laterSound = ReadFileBytes(later + "/audio.wav");
    const size_t frameBytes = 44100u / 5u * 4u;
    const size_t skipped = 150u * frameBytes;
    ASSERT_EQ(laterSound.size(), 44u + 3u * frameBytes);
    ASSERT_EQ(fullSound.size(), 44u + skipped + 3u * frameBytes);
    EXPECT_TRUE(laterSound.compare(44, std::string::npos, fullSound, 44 + skipped) == 0);
}

TEST(ExportTest, BadRequestsAreOneLineStatusTwoAndLeaveNothing) {
    ScratchDir work;
    const std::vector<std::vector<std::string>> cases = {
        {"--export", work.File("clip.mov")},
        {"--export", work.File("missing/clip.mp4")},
        {"--export", work.File("clip.mp4"), "--scale", "9"},
        {"--export", work.File("clip.mp4"), "--scale", "0"},
        {"--export", work.File("clip.mp4"), "--fps", "241"},
        {"--export", work.File("clip.mp4"), "--from", "-1"},
        {"--export", work.File("clip.mp4"), "--from", "500", "--fps", "1"},
        {"--capture", work.File("cap"), "--fps", "1", "--from", "400"},
    };
    for (const std::vector<std::string>& args : cases) {
        const ProgramResult result = RunProgram(DEMO_EXECUTABLE, args, work.path);
        EXPECT_EQ(result.exitCode, 2) << args[2] << " " << result.standardError;
        // One message, the last line; a run that draws the show first may show progress before.
        const std::string& error = result.standardError;
        const size_t message = error.find("demo: ");
        EXPECT_TRUE(message != std::string::npos && (message == 0 || error[message - 1] == '\n'))
            << error;
        EXPECT_EQ(error.find('\n', message), error.size() - 1) << error;
        EXPECT_FALSE(fs::exists(work.File("clip.mp4")));
        EXPECT_FALSE(fs::exists(work.File("clip.mp4.part")));
        EXPECT_FALSE(fs::exists(work.File("cap/audio.wav")));
    }
    // The hidden part needs a player at the keys.
    std::FILE* file = std::fopen(work.File("magicman.txt").c_str(), "w");
    std::fputs("381\n947\n", file);
    std::fclose(file);
    const ProgramResult hidden =
        RunProgram(DEMO_EXECUTABLE, {"--export", work.File("clip.mp4")}, work.path);
    EXPECT_EQ(hidden.exitCode, 2);
    EXPECT_NE(hidden.standardError.find("cannot be exported"), std::string::npos);
    EXPECT_FALSE(fs::exists(work.File("clip.mp4")));
}

// Ctrl-C, and a disk that fills up: the unfinished file is removed and the status is not 0.
TEST(ExportTest, AnInterruptedOrFailedExportLeavesNoFile) {
    ScratchDir work;
    RunningProgram run =
        StartProgram(DEMO_EXECUTABLE, {"--export", work.File("clip.mp4")}, work.path);
    ASSERT_TRUE(WaitForFile(work.File("clip.mp4.part"), 60.0));
    kill(run.pid, SIGINT);
    const ProgramResult stopped = WaitProgram(run, 60.0);
    EXPECT_EQ(stopped.exitCode, 130) << stopped.standardError;
    EXPECT_TRUE(FileNames(work.path).empty()) << stopped.standardError;

    const std::string small = work.File("small");
    fs::create_directory(small);
    if (std::system(("mount -t tmpfs -o size=200k tmpfs '" + small + "' 2>/dev/null").c_str()) !=
        0) {
        GTEST_SKIP() << "cannot mount a small file system here for the disk-full case";
    }
    const ProgramResult full = RunProgram(
        DEMO_EXECUTABLE, {"--export", small + "/clip.mp4", "--frames", "1:600"}, work.path);
    EXPECT_EQ(full.exitCode, 1) << full.standardError;
    EXPECT_NE(full.standardError.find("cannot write"), std::string::npos) << full.standardError;
    EXPECT_TRUE(FileNames(small).empty());
    EXPECT_EQ(std::system(("umount '" + small + "'").c_str()), 0);
}

}  // namespace
