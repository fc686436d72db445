// Replay-state checkpoints and the seek that starts from them.
#include "music/player_seek.h"

#include <cstring>

#include "music/song.h"
#include "platform/wave_out.h"

namespace {

SongPlayback PlaybackOf(const Song& song) {
    SongPlayback playback;
    playback.samplesLeftInTick = song.samplesLeftInTick;
    playback.samplesPerTick = song.samplesPerTick;
    playback.globalVolume = song.globalVolume;
    playback.globalVolumeSlide = song.globalVolumeSlide;
    playback.tick = song.tick;
    playback.speed = song.speed;
    playback.bpm = song.bpm;
    playback.row = song.row;
    playback.orderIndex = song.orderIndex;
    playback.patternDelay = song.patternDelay;
    playback.nextRow = song.nextRow;
    playback.nextOrderIndex = song.nextOrderIndex;
    return playback;
}

void SetPlayback(Song& song, const SongPlayback& playback) {
    song.samplesLeftInTick = playback.samplesLeftInTick;
    song.samplesPerTick = playback.samplesPerTick;
    song.globalVolume = playback.globalVolume;
    song.globalVolumeSlide = playback.globalVolumeSlide;
    song.tick = playback.tick;
    song.speed = playback.speed;
    song.bpm = playback.bpm;
    song.row = playback.row;
    song.orderIndex = playback.orderIndex;
    song.patternDelay = playback.patternDelay;
    song.nextRow = playback.nextRow;
    song.nextOrderIndex = playback.nextOrderIndex;
}

// Calls visit(sample) for every sample the song owns, instrument by instrument.
template <typename Visit>
void ForEachSample(const Song& song, Visit visit) {
    for (int32_t i = 0; i < song.instrumentCount; ++i) {
        const Instrument& instrument = song.instruments[i];
        for (int32_t k = 0; k < instrument.sampleCount && k < 16; ++k) {
            visit(*instrument.samples[k]);
        }
    }
}

}  // namespace

void SaveReplayState(const Player& player, ReplayState& state) {
    state.block = player.songBlock;
    state.song = PlaybackOf(*player.song);
    state.finetunes.clear();
    ForEachSample(*player.song,
                  [&state](const Sample& sample) { state.finetunes.push_back(sample.finetune); });
    std::memcpy(state.channels, player.channels, sizeof state.channels);
    std::memcpy(state.voices, player.voices, sizeof state.voices);
    state.rowJumped = player.rowJumped;
    state.processedRow = player.processedRow;
}

void RestoreReplayState(Player& player, const ReplayState& state) {
    player.songBlock = state.block;
    player.writeBlock = static_cast<int32_t>(state.block % ringBlockCount);
    SetPlayback(*player.song, state.song);
    size_t next = 0;
    ForEachSample(*player.song, [&state, &next](Sample& sample) {
        if (next < state.finetunes.size()) {
            sample.finetune = state.finetunes[next++];
        }
    });
    std::memcpy(player.channels, state.channels, sizeof player.channels);
    std::memcpy(player.voices, state.voices, sizeof player.voices);
    player.rowJumped = state.rowJumped;
    player.processedRow = state.processedRow;
}

void RewindToFirstRow(Player& player) {
    Song* song = player.song;
    ResetSongPlayback(song, player.outputRate);
    const int32_t channelCount =
        song->channelCount < kMaxChannels ? song->channelCount : kMaxChannels;
    for (int32_t i = 0; i < channelCount; ++i) {
        player.channels[i] = Channel{};
        player.channels[i].voice = &player.voices[i];
    }
    // Already so after DeviceOpen; a later start must not play on from an earlier song's samples.
    ResetVoices(player);
    player.processedRow = ProcessedRow{nullptr, 0, 0};
    player.songBlock = 0;
    player.writeBlock = 0;
}

void RecordCheckpoint(Player& player) {
    if (player.songBlock % kCheckpointBlocks != 0 ||
        player.songBlock / kCheckpointBlocks != static_cast<int64_t>(player.checkpoints.size())) {
        return;
    }
    player.checkpoints.emplace_back();
    SaveReplayState(player, player.checkpoints.back());
}

void FillRingFrom(Player& player, int64_t frame) {
    const int64_t block = frame / player.blockFrames;
    while (player.songBlock < block) {
        FillBlock(player);
    }
    for (int32_t i = 0; i < ringBlockCount; ++i) {
        FillBlock(player);
    }
    const int64_t inRing = frame % player.ringFrames;
    WaveOutStart(player.outputRing.data(), static_cast<uint32_t>(player.ringFrames) * 4,
                 static_cast<uint32_t>(inRing) * 4);
}

void PlayerSeek(Player& player, int64_t frame) {
    if (player.audioUnavailable || player.song == nullptr || player.blockFrames <= 0 ||
        player.mixBuffer.empty() || frame < 0) {
        return;
    }
    StopStreamThread(player);
    WaveOutReset();
    const int64_t block = frame / player.blockFrames;
    if (block < player.songBlock) {
        // Checkpoint k holds block k * kCheckpointBlocks, so the list has no gaps.
        const size_t count = player.checkpoints.size();
        if (count > 0) {
            const size_t index = static_cast<size_t>(block / kCheckpointBlocks);
            RestoreReplayState(player, player.checkpoints[index < count ? index : count - 1]);
        } else {
            RewindToFirstRow(player);
        }
    }
    FillRingFrom(player, frame);
    StartStreamThread(player);
}
