// The classic Windows C runtime rand() sequence, shared by the whole program.
#include "core/random.h"

namespace {
thread_local uint32_t randState = 1;
}

int32_t Rand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int32_t>((randState >> 16) & 0x7FFFu);
}

void ResetRand() {
    randState = 1;
}

uint32_t RandState() {
    return randState;
}

void SetRandState(uint32_t state) {
    randState = state;
}
