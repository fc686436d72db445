// xmrender: renders an XM file to a 44100 Hz 16-bit stereo WAV through the player's own output
// ring, block by block, exactly as the demo would feed its sound device.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/version.h"
#include "music/offline_render.h"
#include "music/song.h"
#include "platform/file_io.h"
#include "platform/program_start.h"
#include "platform/signals.h"
#include "platform/wav_writer.h"
#include "platform/wave_out.h"

namespace {

constexpr int64_t kRate = 44100;
constexpr double kDefaultSeconds = 600.0;
constexpr char kSignature[] = "Extended Module: ";
// Just over one second of audio per write (50 blocks, 44,200 frames, 177 KB): few large writes,
// and since the WAV writer brings its header up to date once a second of audio has come since the
// last update, every write updates it, so the header never lags the file by more than one write.
constexpr int64_t kBufferBlocks = 50;

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: xmrender IN.xm OUT.wav [--seconds S]\n"
                 "Renders an XM module to a 44100 Hz 16-bit stereo WAV with the demo's player,\n"
                 "from the song's first frame until it first wraps to its restart position or\n"
                 "until S seconds (default 600) have been rendered.\n"
                 "\n"
                 "Options:\n"
                 "  --seconds S   render at most S seconds (0 to 86400, default 600)\n"
                 "  --version     print the version and exit\n"
                 "  -h, --help    print this help and exit\n"
                 "\n"
                 "Exit status: 0 when the WAV is written, 1 when the input cannot be read or\n"
                 "played or the output cannot be written, 2 for a bad command line, 128 + the\n"
                 "signal's number when a signal stops it (the unfinished WAV is removed).\n");
}

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "xmrender: %s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    std::FILE* file = OpenFile(path.c_str(), "rb");
    if (file == nullptr) {
        *error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + got);
        if (bytes->size() > 0x7FFFFFFF - sizeof(buffer)) {
            std::fclose(file);
            *error = "file too large";
            return false;
        }
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        *error = "read error";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareProgram(&argc, &argv);
    std::vector<std::string> positional;
    double seconds = kDefaultSeconds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("xmrender %s\n", VersionText());
            return 0;
        }
        if (arg == "--seconds") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "xmrender: --seconds needs a value\n");
                return 2;
            }
            char* end = nullptr;
            seconds = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(seconds >= 0.0) || seconds > 86400.0) {
                std::fprintf(stderr, "xmrender: --seconds wants a number from 0 to 86400\n");
                return 2;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "xmrender: unknown option %s (see --help)\n", arg.c_str());
            return 2;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string& input = positional[0];
    const std::string& output = positional[1];

    std::vector<uint8_t> image;
    std::string error;
    if (!ReadWholeFile(input, &image, &error)) {
        return Fail(input, error);
    }
    if (image.size() < sizeof(kSignature) - 1 ||
        std::memcmp(image.data(), kSignature, sizeof(kSignature) - 1) != 0) {
        return Fail(input, "not an XM module (no \"Extended Module: \" signature)");
    }

    // Ctrl-C, a kill, a closed terminal or Ctrl-\ end the render at the next block; the
    // unfinished output is removed, as on every other failure.
    InstallStopRequestHandlers();
    OfflineRender render;
    bool deviceFailed = false;
    if (!OfflineRenderBegin(render, image.data(), image.size(), seconds, &deviceFailed)) {
        if (deviceFailed) {
            return Fail(input, std::string("cannot open the offline device: ") + WaveOutFailure());
        }
        return Fail(input,
                    "the XM loader refused it (damaged, truncated, more than 32 channels or "
                    "more than 16 samples in an instrument)");
    }

    WavWriter wav;
    if (!WavWriterOpen(wav, output.c_str())) {
        const std::string reason = std::string("cannot create: ") + std::strerror(errno);
        OfflineRenderEnd(render);
        return Fail(output, reason);
    }

    // Blocks are gathered into one large buffer and written together: a few large writes cost
    // far less than one small write per block.
    const int64_t blockFrames = render.player.blockFrames;
    std::vector<int16_t> buffer(2 * static_cast<size_t>(kBufferBlocks * blockFrames));
    int64_t buffered = 0;
    bool ended = false;
    bool appended = true;
    StopRequest stop = StopRequest::None;
    while (!ended && appended && stop == StopRequest::None) {
        const int64_t frames = OfflineRenderNext(render, buffer.data() + 2 * buffered);
        buffered += frames;
        ended = frames == 0;
        if (buffered > 0 && (ended || buffered + blockFrames > kBufferBlocks * blockFrames)) {
            appended = WavWriterAppend(wav, buffer.data(), buffered);
            buffered = 0;
        }
        stop = PendingStopRequest();
    }
    if (stop != StopRequest::None) {
        WavWriterDiscard(wav);
        const double renderedSeconds = static_cast<double>(render.renderedFrames) / kRate;
        OfflineRenderEnd(render);
        std::fprintf(stderr, "xmrender: %s: stopped by %s after %.3f s; output removed\n",
                     output.c_str(), StopRequestName(stop), renderedSeconds);
        return StopRequestExitStatus(stop);
    }
    const bool written = WavWriterClose(wav);

    const int channels = render.song->channelCount;
    const int patterns = render.song->patternSlotCount;
    const int instruments = render.song->instrumentCount;
    const int64_t rendered = render.renderedFrames;
    const bool songEnd = OfflineRenderReachedSongEnd(render);
    OfflineRenderEnd(render);
    if (!written) {
        return Fail(output, "write error");
    }
    std::printf("xmrender: %s: %d channels, %d patterns, %d instruments, %.3f s rendered (%s)\n",
                input.c_str(), channels, patterns, instruments,
                static_cast<double>(rendered) / kRate, songEnd ? "song end" : "time limit");
    return 0;
}
