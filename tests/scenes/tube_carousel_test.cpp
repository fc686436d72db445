// Tube carousel: orbiting camera, the blocky phase, GL state left behind.
#include "scenes/tube_carousel.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "scenes/tumbling_rings.h"

namespace {

TEST(TubeCarouselBlockyPhase, OnWhileTheTensDigitIsOdd) {
    // Later visits: starting at 70 or 90 begins blocky, at 60 or 80 sharp.
    const std::pair<float, bool> cases[] = {{0.0f, false},   {9.999f, false}, {10.0f, true},
                                            {19.5f, true},   {20.0f, false},  {99.0f, true},
                                            {100.5f, false}, {61.0f, false},  {71.0f, true},
                                            {81.0f, false},  {91.0f, true}};
    for (const auto& [clock, blocky] : cases) {
        EXPECT_EQ(TubeCarouselBlocky(clock), blocky) << clock;
    }
}

double Length(const Vec3& v) {
    return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}

TEST(TubeCarouselCamera, DistanceStepsEveryThreeUnitsWhileTheDirectionGlides) {
    for (int s = 0; s < 40; ++s) {
        const double expected = 100.0 * std::sin(s / 3.14159) + 200.0;
        const Vec3 a = TubeCarouselEye(3.0f * s);
        const Vec3 b = TubeCarouselEye(3.0f * s + 2.9f);
        EXPECT_NEAR(Length(a), expected, 1e-3) << s;
        EXPECT_NEAR(Length(b), expected, 1e-3) << s;
        EXPECT_NE(a.x, b.x) << "the direction keeps moving within a step";
    }
    // Clock 0: direction (0, 200, -300) scaled to the distance 200.
    const Vec3 start = TubeCarouselEye(0.0f);
    const double unit = std::sqrt(200.0 * 200.0 + 300.0 * 300.0);
    EXPECT_NEAR(start.x, 0.0, 1e-4);
    EXPECT_NEAR(start.y, 200.0 * 200.0 / unit, 1e-3);
    EXPECT_NEAR(start.z, -200.0 * 300.0 / unit, 1e-3);
    // A quarter orbit (0.2 * clock / 3.14159 = pi / 2) looks from +x, from above.
    const Vec3 side = TubeCarouselEye(static_cast<float>(3.14159 * 3.14159 / 2.0 / 0.2));
    EXPECT_GT(side.x, 0.0f);
    EXPECT_NEAR(side.z, 0.0, 0.5);
    EXPECT_GT(side.y, 0.0f);
}

class TubeCarouselDrawTest : public GlTest {};

TEST_F(TubeCarouselDrawTest, SharpFrameLeavesBlendingOffTexturingOnAndBlockyOneTheViewportWhole) {
    if (smallFont.base == 0) {
        CreateToolkitStartupResources();
    }
    TumblingRingsInit();  // fills the shared noise textures
    TubeCarouselInit();
    const TubeCarouselState saved = tubeCarousel;
    tubeCarousel.clock = 4.0f;
    FrameInput frame;
    frame.frameStep = 1.0f;
    glEnable(GL_BLEND);
    glLoadIdentity();
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    EXPECT_FALSE(TubeCarouselDraw(frame));
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    tubeCarousel.clock = 14.0f;  // a blocky frame draws small and must give the whole view back
    glLoadIdentity();
    TubeCarouselDraw(frame);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    tubeCarousel = saved;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

}  // namespace
