// The overlay's lines and the key list, laid out in window pixels.
#include "shell/study_overlay.h"

#include <cstdio>

#include "gfx/gfx_constants.h"
#include "shell/music_hooks.h"
#include "shell/show_run.h"

namespace {

constexpr int32_t kMargin = 12;  // window pixels from the window's corner, at scale 1
constexpr int32_t kPadding = 8;  // inside the panel
constexpr int32_t kLineCount = 4;
constexpr int32_t kTextBytes = 96;
// Taller windows get each glyph pixel as a block, so the text keeps its size on the screen.
constexpr int32_t kWindowHeightPerScale = 900;

constexpr Color4 kPanel{0.0f, 0.0f, 0.0f, 0.6f};
constexpr Color4 kText{1.0f, 1.0f, 1.0f, 1.0f};

constexpr const char* kKeyList[] = {
    "Space      pause / resume",      ".  ,       one frame forward / back (paused)",
    "Right      5 s forward",         "Left       5 s back",
    "Page Down  next scene",          "Page Up    start of this scene (twice: the one before)",
    "Home       back to the start",   "Tab        this overlay on / off",
    "F1  ?      these keys on / off", "Escape     quit",
};

// Minutes, seconds and hundredths: "1:23.45".
void FormatTime(double milliseconds, char (&text)[24]) {
    const int32_t hundredths =
        milliseconds > 0.0 && milliseconds < 3.6e9 ? static_cast<int32_t>(milliseconds / 10.0) : 0;
    std::snprintf(text, sizeof text, "%d:%02d.%02d", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
}

// The entry and visit of counter value `counter`: "tumbling rings, visit 3 of 5".
void FormatVisit(int32_t counter, char (&text)[kTextBytes]) {
    const TimelineEntry* entry = SelectScene(counter, false);
    if (entry == nullptr) {
        std::snprintf(text, sizeof text, "no scene");
        return;
    }
    const int32_t visit = (counter - entry->firstCounter) / entry->counterStride + 1;
    const int32_t visits = (entry->lastCounter - entry->firstCounter) / entry->counterStride + 1;
    std::snprintf(text, sizeof text, "%s, visit %d of %d", entry->name, visit, visits);
}

// Draws lines in a panel whose top-left corner is at x, y; returns the panel's height.
int32_t DrawPanel(const OverlayFont& font, int32_t scale, int32_t x, int32_t y,
                  const char* const* lines, int32_t count) {
    int32_t width = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t lineWidth = OverlayTextWidth(font, lines[i], scale);
        width = lineWidth > width ? lineWidth : width;
    }
    const int32_t padding = kPadding * scale;
    const int32_t height = count * font.lineHeight * scale + 2 * padding;
    OverlayRect(x, y, width + 2 * padding, height, kPanel);
    for (int32_t i = 0; i < count; ++i) {
        OverlayText(font, x + padding, y + padding + i * font.lineHeight * scale, scale, lines[i],
                    kText);
    }
    return height;
}

}  // namespace

void DrawStudyOverlay(ShowRun& run, int32_t windowWidth, int32_t windowHeight) {
    Study& study = run.study;
    if (study.font.texture == 0 && !OverlayFontCreate(study.font, kOverlayFontHeight)) {
        return;
    }
    const int32_t scale = windowHeight / kWindowHeightPerScale + 1;
    GlStateSnapshot saved;
    OverlayBegin(saved, windowWidth, windowHeight);
    int32_t y = kMargin * scale;
    if (study.overlayShown) {
        char time[24];
        char total[24];
        FormatTime(run.position.milliseconds, time);
        FormatTime(kShowLengthSeconds * 1000.0, total);
        char lines[kLineCount][kTextBytes];
        std::snprintf(lines[0], kTextBytes, "%s / %s%s", time, total,
                      study.paused ? "   paused" : "");
        FormatVisit(run.position.visit < 0 ? 0 : run.position.visit, lines[1]);
        const double rate = study.frameMilliseconds > 0.0 ? 1000.0 / study.frameMilliseconds : 0.0;
        std::snprintf(lines[2], kTextBytes, "frame %.1f ms, %.1f frames per second",
                      study.drawMilliseconds, rate);
        const SongPositionNow song = MusicNowPlaying();
        if (song.known) {
            std::snprintf(lines[3], kTextBytes, "order %d  pattern %d  row %d  speed %d  tempo %d",
                          song.orderIndex, song.pattern, song.row, song.speed, song.bpm);
        } else {
            std::snprintf(lines[3], kTextBytes, "no sound");
        }
        const char* shown[kLineCount] = {lines[0], lines[1], lines[2], lines[3]};
        y += DrawPanel(study.font, scale, kMargin * scale, y, shown, kLineCount) + kMargin * scale;
    }
    if (study.keysShown) {
        DrawPanel(study.font, scale, kMargin * scale, y, kKeyList,
                  static_cast<int32_t>(sizeof kKeyList / sizeof kKeyList[0]));
    }
    OverlayEnd(saved);
}
