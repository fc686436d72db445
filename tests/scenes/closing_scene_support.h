// Shared by the closing scenes' tests: start-up resources, one frame as the driver draws it, and
// the strict hand-over check.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "core/frame_input.h"
#include "gl_test.h"

// Fonts, feedback, shared textures (disc in entry 1, static noise in 4..7), once per program.
void EnsureClosingSceneResources();

// Drops GL errors left by earlier set-up (opening the window with the test's extension override
// leaves one behind), so that a test only sees the errors its own calls raise.
void DrainGlErrors();

// One normal-mode frame: white clear, identity, the draw routine, the end-of-frame text step.
// Fails the test if the routine leaves the modelview stack unbalanced or raises a GL error.
// Reads the picture back only when asked (long runs skip it). visitOver, when given, receives
// what the routine returned.
Picture DrawNormalFrame(SceneDrawRoutine draw, float step, bool read = true,
                        bool* visitOver = nullptr);

// Count of pixels of colour inside [x0, x1) x [y0, y1).
int CountInRect(const Picture& picture, int x0, int y0, int x1, int y1, Rgb color);

// GL test fixture for one closing scene: resources ready and the scene's Init run.
template <void (*Init)()>
class ClosingSceneTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        Init();
    }
};

// A scene's end-of-frame step does not end the visit with its clock exactly at the limit, and
// ends it as soon as the clock passes it.
template <typename Scene, typename Finish>
void ExpectStrictHandOver(Finish finish, float limit) {
    Scene scene;
    scene.clock = limit;
    EXPECT_FALSE(finish(scene)) << "clock exactly " << limit;
    scene.clock = std::nextafter(limit, 2.0f * limit);
    EXPECT_TRUE(finish(scene)) << "clock just past " << limit;
}
