// Note and effect writers for the composer's patterns.
#include "pattern_tools.h"

XmPattern NewPattern(int channelCount, int rowCount) {
    XmPattern pattern;
    pattern.rowCount = rowCount;
    pattern.channelCount = channelCount;
    pattern.cells.resize(size_t(rowCount * channelCount));
    return pattern;
}

XmCell& CellAt(XmPattern& pattern, int row, int channel) {
    return pattern.cells[size_t(row * pattern.channelCount + channel)];
}

void PutNote(XmPattern& pattern, int row, int channel, int midiNote, int instrument, int volume) {
    if (row < 0 || row >= pattern.rowCount) {
        return;
    }
    XmCell& cell = CellAt(pattern, row, channel);
    if (midiNote == kKeyOff) {
        cell.note = 97;
    } else if (midiNote > 0) {
        cell.note = uint8_t(midiNote - 11);  // MIDI 60 (middle C) is C-4, XM note 49
    }
    cell.instrument = uint8_t(instrument);
    if (volume >= 0) {
        cell.volume = uint8_t(0x10 + (volume > 64 ? 64 : volume));
    }
}

void PutEffect(XmPattern& pattern, int row, int channel, uint8_t effect, uint8_t param) {
    if (row < 0 || row >= pattern.rowCount) {
        return;
    }
    XmCell& cell = CellAt(pattern, row, channel);
    cell.effect = effect;
    cell.param = param;
}

void PutVolumeByte(XmPattern& pattern, int row, int channel, uint8_t volumeByte) {
    if (row < 0 || row >= pattern.rowCount) {
        return;
    }
    CellAt(pattern, row, channel).volume = volumeByte;
}

XmEnvelope Envelope(std::initializer_list<XmEnvelopePoint> points, int sustainPoint, int loopStart,
                    int loopEnd) {
    XmEnvelope envelope;
    envelope.points.assign(points.begin(), points.end());
    if (sustainPoint >= 0) {
        envelope.sustain = true;
        envelope.sustainPoint = uint8_t(sustainPoint);
    }
    if (loopStart >= 0 && loopEnd >= loopStart) {
        envelope.loop = true;
        envelope.loopStart = uint8_t(loopStart);
        envelope.loopEnd = uint8_t(loopEnd);
    }
    return envelope;
}
