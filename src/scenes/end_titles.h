// End titles: camera swings, credit slide, cell covers and glyph noise, separate from drawing.
#pragma once

#include <cstdint>

#include "gfx/gl_state.h"

constexpr int kCoverCells = 25;  // 5 x 5 cells; cell k = 5 * r + c, r horizontal, c vertical

// One growing cover of the screen, cell by cell.
struct CellCover {
    uint8_t fill[kCoverCells] = {};  // 1 where the cell is covered
    int32_t count = 0;               // fill steps taken; keeps rising past the last cell
    float timer = 0.0f;              // time since the last fill step
};

struct EndTitles {
    float clock = 0.0f;        // scene time in frameStep units
    int noiseIndex = 0;        // static-noise frame 0..3 bound this frame
    float slideOffset = 3.0f;  // horizontal offset of the credits in text-space units
    float slideSpeed = 0.3f;
    CellCover black;
    CellCover white;
    Camera camera;
};

extern thread_local EndTitles endTitles;

// Start of a frame: the clock, then the camera target swings in (until 100) or, past 200, out.
void EndTitlesAdvance(EndTitles& scene, float step);

// The credits' slide from the right, decelerating to 0.05 per time unit and stopping once the
// offset is no longer positive (it may end a little below 0).
void EndTitlesSlide(EndTitles& scene, float step);

// One frame of a cover: every time its timer passes 3 the next cell is set, but only cells 0..23;
// the bottom-right cell 24 is never covered.
void CellCoverStep(CellCover& cover, float step);

// The frame's covers: black from clock 330 on, white over it from 350 on.
void EndTitlesCover(EndTitles& scene, float step);

// Ten Rand() bytes, each % 255, into text[0..9] with text[10] = 0; the string ends at the first
// zero byte. All ten numbers are drawn whatever the bytes are.
void GlyphNoise(char (&text)[11]);

// End of a frame: true once the clock passes 580, the end of the show.
bool EndTitlesFinishFrame(const EndTitles& scene);
