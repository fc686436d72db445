// The overlay's lines and the key list, laid out in window pixels.
#include "shell/study_overlay.h"

#include <algorithm>
#include <cstdio>
#include <string>

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

// Each line's key and what it does, drawn in two columns.
constexpr const char* kKeyList[] = {
    "Space\tpause / resume",      ".  ,\tone frame forward / back (paused)",
    "Right\t5 s forward",         "Left\t5 s back",
    "Page Down\tthe next scene",  "Page Up\tthis scene's start (twice: the one before)",
    "Home\tback to the start",    "Tab\tthis overlay on / off",
    "F1  ?\tthese keys on / off", "Escape\tquit",
};

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

// A line's text up to a tab (or its end), and after it.
struct Columns {
    std::string first;
    std::string second;
};

Columns Split(const char* line) {
    const std::string text = line;
    const size_t tab = text.find('\t');
    return tab == std::string::npos ? Columns{text, ""}
                                    : Columns{text.substr(0, tab), text.substr(tab + 1)};
}

// Draws lines in a panel whose top-left corner is at x, y, the text after a tab in a second
// column; returns the panel's height.
int32_t DrawPanel(const OverlayFont& font, int32_t scale, int32_t x, int32_t y,
                  const char* const* lines, int32_t count) {
    int32_t firstWidth = 0;
    int32_t secondWidth = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Columns columns = Split(lines[i]);
        firstWidth = std::max(firstWidth, OverlayTextWidth(font, columns.first.c_str(), scale));
        secondWidth = std::max(secondWidth, OverlayTextWidth(font, columns.second.c_str(), scale));
    }
    const int32_t padding = kPadding * scale;
    const int32_t gap = secondWidth > 0 ? 2 * padding : 0;
    const int32_t height = count * font.lineHeight * scale + 2 * padding;
    OverlayRect(x, y, firstWidth + gap + secondWidth + 2 * padding, height, kPanel);
    for (int32_t i = 0; i < count; ++i) {
        const Columns columns = Split(lines[i]);
        const int32_t top = y + padding + i * font.lineHeight * scale;
        OverlayText(font, x + padding, top, scale, columns.first.c_str(), kText);
        OverlayText(font, x + padding + firstWidth + gap, top, scale, columns.second.c_str(),
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
