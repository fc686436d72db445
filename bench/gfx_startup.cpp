// Start-up cost of the toolkit: feedback, both fonts, the shared textures and their five fills.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "core/random.h"
#include "core/screen.h"
#include "gfx/bitmap_font.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gfx/toolkit_resources.h"
#include "platform/display.h"
#include "platform/gl.h"

namespace {

// Gives back what one start-up created, so that repetitions do not pile up memory.
void ReleaseToolkitResources() {
    for (Texture*& entry : sharedTextures) {
        if (entry != nullptr) {
            GLuint name = entry->name;
            glDeleteTextures(1, &name);
            delete entry;
            entry = nullptr;
        }
    }
    GLuint feedbackName = screenFeedback.texture.name;
    glDeleteTextures(1, &feedbackName);
    // Each font's block starts 31 names before its glyphs.
    glDeleteLists(smallFont.base - 31, 255);
    glDeleteLists(largeFont.base - 31, 255);
}

// The fills the first scene makes: the disc into entry 1, static noise into entries 4 to 7.
void FillSharedTextures() {
    DiscGenerator disc;
    FillTexture(*sharedTextures[1], &disc);
    NoiseGenerator noise;
    for (int32_t entry = 4; entry <= 7; ++entry) {
        FillTexture(*sharedTextures[entry], &noise);
    }
}

void BM_ToolkitStartup(benchmark::State& state) {
    if (!DisplayIsOpen() && !OpenPicture(DisplayMode::Offscreen)) {
        state.SkipWithError(DisplayLastError());
        return;
    }
    for (auto _ : state) {
        ResetRand();
        CreateToolkitStartupResources();
        FillSharedTextures();
        glFinish();
        state.PauseTiming();
        ReleaseToolkitResources();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ToolkitStartup)->Unit(benchmark::kMillisecond)->Iterations(5)->MeasureProcessCPUTime();

void BM_NoiseFill512(benchmark::State& state) {
    if (!DisplayIsOpen() && !OpenPicture(DisplayMode::Offscreen)) {
        state.SkipWithError(DisplayLastError());
        return;
    }
    Texture* texture = TextureCreate(512, 512);
    NoiseGenerator noise;
    for (auto _ : state) {
        FillTexture(*texture, &noise);
        glFinish();
    }
    GLuint name = texture->name;
    glDeleteTextures(1, &name);
    delete texture;
}
BENCHMARK(BM_NoiseFill512)->Unit(benchmark::kMillisecond);

void BM_CreateLargeFont(benchmark::State& state) {
    if (!DisplayIsOpen() && !OpenPicture(DisplayMode::Offscreen)) {
        state.SkipWithError(DisplayLastError());
        return;
    }
    for (auto _ : state) {
        BitmapFont font;
        CreateBitmapFont(font, 100);
        glFinish();
        state.PauseTiming();
        glDeleteLists(font.base - 31, 255);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateLargeFont)->Unit(benchmark::kMillisecond);

void BM_CreateSharedTextures(benchmark::State& state) {
    if (!DisplayIsOpen() && !OpenPicture(DisplayMode::Offscreen)) {
        state.SkipWithError(DisplayLastError());
        return;
    }
    for (auto _ : state) {
        for (Texture*& entry : sharedTextures) {
            entry = TextureCreate(512, 512);
        }
        state.PauseTiming();
        for (Texture*& entry : sharedTextures) {
            GLuint name = entry->name;
            glDeleteTextures(1, &name);
            delete entry;
            entry = nullptr;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateSharedTextures)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
