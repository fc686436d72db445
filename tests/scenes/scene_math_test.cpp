// Vector helpers that aim the scenes' cameras, and the static-noise flicker every scene shares.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "scenes/box_fields.h"
#include "scenes/noise_sphere.h"
#include "scenes/scene_math.h"
#include "scenes/sphere_burst.h"
#include "scenes/torus_nest.h"
#include "scenes/tube_carousel.h"
#include "scenes/tumbling_rings.h"

namespace {

TEST(Vec3Math, NormaliseDividesByTheLengthSummedInDouble) {
    const Vec3 cases[][2] = {
        {{3.0f, 4.0f, 0.0f}, {3.0f / 5.0f, 4.0f / 5.0f, 0.0f}},
        {{-400.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}},
        {{2.0f, 2.0f, 1.0f}, {2.0f / 3.0f, 2.0f / 3.0f, 1.0f / 3.0f}},
        {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},  // zero stays zero, no NaN
    };
    for (const auto& [in, out] : cases) {
        Vec3 v = in;
        Vec3Normalize(v);
        EXPECT_TRUE(v.x == out.x && v.y == out.y && v.z == out.z) << in.x << "," << in.y;
    }
    // In float, 1e20^2 overflows and 1e-30^2 underflows; summed in double both are exact.
    EXPECT_EQ(Vec3Length(Vec3{1e20f, 0.0f, 0.0f}), 1e20f);
    EXPECT_NEAR(Vec3Length(Vec3{1e-30f, 1e-30f, 0.0f}), 1.41421356e-30f, 1e-36f);
}

// Every scene binds the next of the four noise frames (shared entries 4..7) each frame, starting
// with entry 5 and wrapping after 7.
TEST(NoiseFlicker, EveryScenesStepsThroughEntries5674FromAFreshState) {
    const std::function<int32_t()> steps[] = {
        [s = std::make_shared<NoiseSphereState>()] { return NoiseSphereNextNoise(*s); },
        [s = TumblingRingsState{}]() mutable { return TumblingRingsNextNoise(s); },
        [s = TubeCarouselState{}]() mutable { return TubeCarouselNextNoise(s); },
        [s = BoxFieldsState{}]() mutable { return BoxFieldsNextNoise(s); },
        [s = SphereBurstState{}]() mutable { return SphereBurstNextNoise(s); },
        [s = TorusNestState{}]() mutable { return TorusNestNextNoise(s); },
    };
    for (size_t scene = 0; scene < std::size(steps); ++scene) {
        for (const int32_t entry : {5, 6, 7, 4, 5, 6}) {
            EXPECT_EQ(steps[scene](), entry) << "scene " << scene;
        }
    }
}

}  // namespace
