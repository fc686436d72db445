// The voice table and the ramp length shared by the mixer and the replay engine.
#include "music/voice.h"

Voice voices[voiceCount];

int32_t rampLength = 128;
float rampLengthReciprocal = 1.0f / 128.0f;
