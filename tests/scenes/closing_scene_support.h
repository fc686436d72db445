// Shared by the closing scenes' tests: start-up resources, one frame as the driver draws it, and
// the strict hand-over check.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "gl_test.h"
#include "shell/demo_globals.h"

// Fonts, feedback, shared textures (disc in entry 1, static noise in 4..7), once per program.
void EnsureClosingSceneResources();

// Drops GL errors left by earlier set-up (opening the window with the test's extension override
// leaves one behind), so that a test only sees the errors its own calls raise.
void DrainGlErrors();

// One normal-mode frame: white clear, identity, the draw routine, the end-of-frame text step.
// Fails the test if the routine leaves the modelview stack unbalanced or raises a GL error.
// Reads the picture back only when asked (long runs skip it).
Picture DrawNormalFrame(void (*draw)(), float step, bool read = true);

// Count of pixels of colour inside [x0, x1) x [y0, y1).
int CountInRect(const Picture& picture, int x0, int y0, int x1, int y1, Rgb color);

// GL test fixture for one closing scene: resources ready, the scene's Init run, sceneCounter set
// to the scene's place in the show; the driver's globals put back afterwards.
template <void (*Init)(), int kCounter>
class ClosingSceneTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        Init();
        sceneCounter = kCounter;
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

// A scene's end-of-frame step does nothing with its clock exactly at the limit and, as soon as the
// clock passes it, moves on to the next scene (or, for the last one, asks to quit).
template <typename Scene, typename Finish>
void ExpectStrictHandOver(Finish finish, float limit, int counter, bool quits = false) {
    ResetDemoGlobals();
    sceneCounter = counter;
    Scene scene;
    scene.clock = limit;
    finish(scene);
    EXPECT_EQ(sceneCounter, counter) << "clock exactly " << limit;
    EXPECT_FALSE(quitRequested) << "clock exactly " << limit;
    scene.clock = std::nextafter(limit, 2.0f * limit);
    finish(scene);
    EXPECT_EQ(sceneCounter, quits ? counter : counter + 1) << "clock just past " << limit;
    EXPECT_EQ(quitRequested, quits) << "clock just past " << limit;
    ResetDemoGlobals();
}
