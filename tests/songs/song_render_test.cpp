// Both songs played through the demo's own player from start to end: every channel is heard,
// the mix practically never clips, and the show song's loudness follows its sections.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "music/channel.h"
#include "music/player.h"
#include "music/replay.h"
#include "music/voice.h"
#include "platform/wave_out.h"
#include "song_fixtures.h"

namespace {

constexpr double kRate = 44100.0;

struct Rendering {
    std::vector<int16_t> pcm;  // interleaved left/right
    std::vector<bool> channelHeard;
    bool loaded = false;
};

std::vector<bool>* heardChannels = nullptr;

// Wraps the replay tick to note, after every tick, which channels drive an audible voice.
void WatchingTick(Player& player) {
    ReplayTick(player);
    for (int c = 0; c < player.song->channelCount; ++c) {
        const Voice* voice = player.channels[c].voice;
        if (voice != nullptr && voice->sample != nullptr && voice->sample->length > 0 &&
            voice->volume > 0) {
            (*heardChannels)[size_t(c)] = true;
        }
    }
}

// One pass through the order list: the songs never change speed or tempo, so that is
// songLength x 64 rows x defaultTempo ticks of samplesPerTick frames.
Rendering RenderOnePass(const EmbeddedFile& image) {
    Rendering result;
    static Player player;
    player.audioUnavailable = false;
    WaveOutUseOffline(true);
    player.renderOnCallingThread = true;
    AudioOpen(player);
    Song* song = player.audioUnavailable ? nullptr : SongFromMemory(image.data, image.size);
    if (song != nullptr) {
        result.loaded = true;
        result.channelHeard.assign(size_t(song->channelCount), false);
        heardChannels = &result.channelHeard;
        player.tickHandler = WatchingTick;
        PlayerStart(player, song);
        int64_t frames = int64_t(song->songLength) * 64 * song->defaultTempo * song->samplesPerTick;
        result.pcm.resize(size_t(frames) * 2);
        for (int64_t done = 0; done < frames;) {
            int64_t chunk = std::min<int64_t>(player.blockFrames, frames - done);
            OfflinePull(player, result.pcm.data() + 2 * done, chunk);
            done += chunk;
        }
        PlayerStop(player);
        SongFree(song);
        heardChannels = nullptr;
    }
    AudioClose(player);
    player.tickHandler = nullptr;
    WaveOutUseOffline(false);
    return result;
}

const Rendering& ShowRendering() {
    static const Rendering rendering = RenderOnePass(showSongImage);
    return rendering;
}

const Rendering& HiddenRendering() {
    static const Rendering rendering = RenderOnePass(hiddenSongImage);
    return rendering;
}

double ClippedFraction(const std::vector<int16_t>& pcm) {
    size_t clipped = 0;
    for (int16_t value : pcm) {
        clipped += (value == 32767 || value == -32768) ? 1 : 0;
    }
    return double(clipped) / double(pcm.size());
}

// RMS of both output channels over [from, to) seconds, in dB relative to full scale.
double LevelDb(const std::vector<int16_t>& pcm, double from, double to) {
    size_t first = size_t(from * kRate) * 2;
    size_t last = std::min(pcm.size(), size_t(to * kRate) * 2);
    double sum = 0.0;
    for (size_t i = first; i < last; ++i) {
        sum += double(pcm[i]) * pcm[i];
    }
    double rms = std::sqrt(sum / double(std::max<size_t>(last - first, 1)));
    return 20.0 * std::log10(std::max(rms, 1.0) / 32767.0);
}

TEST(SongRender, ShowSongLastsAsLongAsTheShow) {
    const Rendering& show = ShowRendering();
    ASSERT_TRUE(show.loaded);
    double seconds = double(show.pcm.size() / 2) / kRate;
    EXPECT_NEAR(seconds, 26 * 64 * 4 * 0.02, 0.05);
    EXPECT_GT(seconds, 131.0) << "the music must outlast the scenes";
}

TEST(SongRender, NoChannelIsSilentForTheWholeSong) {
    for (const Rendering* rendering : {&ShowRendering(), &HiddenRendering()}) {
        ASSERT_TRUE(rendering->loaded);
        for (size_t c = 0; c < rendering->channelHeard.size(); ++c) {
            EXPECT_TRUE(rendering->channelHeard[c])
                << "channel " << c << " of " << rendering->channelHeard.size();
        }
    }
}

TEST(SongRender, ClippingStaysBelowOneSampleInTenThousand) {
    for (const Rendering* rendering : {&ShowRendering(), &HiddenRendering()}) {
        ASSERT_TRUE(rendering->loaded);
        EXPECT_LT(ClippedFraction(rendering->pcm), 0.0001);
        EXPECT_GT(LevelDb(rendering->pcm, 0.0, double(rendering->pcm.size() / 2) / kRate), -30.0)
            << "the song must not be so quiet that clipping is trivially absent";
    }
}

TEST(SongRender, ShowLoudnessFollowsTheSections) {
    const Rendering& show = ShowRendering();
    ASSERT_TRUE(show.loaded);
    double opening = LevelDb(show.pcm, 0.0, 10.0);     // pads over the noise sphere
    double main = LevelDb(show.pcm, 26.0, 46.0);       // the drop and the fast cuts
    double breakdown = LevelDb(show.pcm, 61.5, 66.5);  // the word spheres
    double closing = LevelDb(show.pcm, 123.0, 128.0);  // the coda under the end titles
    EXPECT_GT(main - opening, 3.0);
    EXPECT_GT(main - breakdown, 2.0);
    EXPECT_GT(main - closing, 1.5);
}

}  // namespace
