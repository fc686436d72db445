// Box fields: a textured and a wire field of heaving cubes under a circling camera, with a caption.
#include "scenes/box_fields.h"

#include <cmath>

#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// The scene's single-precision constants.
constexpr float kCameraTurn = 6.28318f;  // divisor of the camera angle
constexpr float kWaveTurn = 6.283184f;   // divided by the column index for the wave's row phase
constexpr float kVisitLength = 7.0f;     // the visits end at cumulative multiples of this
constexpr int32_t kFieldSize = 5;

thread_local Camera camera;
thread_local Mesh cube;

}  // namespace

thread_local BoxFieldsState boxFields;

void BoxFieldsTick(BoxFieldsState& state, float step) {
    state.clock = state.clock + step;
    state.drift = state.drift + 0.5f * step;
}

Vec3 BoxFieldsEye(const BoxFieldsState& state) {
    const float a = (state.drift + state.clock) / kCameraTurn;
    return Vec3{300.0f * SinF(a), 100.0f, -500.0f * CosF(a)};
}

int32_t BoxFieldsNextNoise(BoxFieldsState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

bool BoxFieldsCubeHeight(float clock, int32_t row, int32_t column, float& height) {
    // Column 0 divides by zero and its height is not a number; its cubes are skipped, which is
    // what such a translation shows anyway (nothing), without handing a NaN to OpenGL.
    if (column == 0) {
        return false;
    }
    const float phase = kWaveTurn / static_cast<float>(column);
    height = 40.0f * SinF(phase * static_cast<float>(row) + 0.2f * clock);
    return true;
}

bool BoxFieldsVisitEnds(BoxFieldsState& state) {
    if (state.clock > kVisitLength * static_cast<float>(state.visits + 1)) {
        state.visits = state.visits + 1;
        return true;
    }
    return false;
}

void BoxFieldsInit() {
    CameraSet(camera, 100.0f, 100.0f, 500.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    BuildBox(cube, 25.0f, 25.0f, 25.0f);
    PrepareDeform(cube);
}

namespace {

// One field of cubes: row j at x = origin + spacing * j, column k at z = origin + spacing * k.
void DrawField(float clock, float origin, float spacing, bool solid) {
    for (int32_t j = 0; j < kFieldSize; ++j) {
        const float x = origin + spacing * static_cast<float>(j);
        for (int32_t k = 0; k < kFieldSize; ++k) {
            const float z = origin + spacing * static_cast<float>(k);
            float y = 0.0f;
            if (!BoxFieldsCubeHeight(clock, j, k, y)) {
                continue;
            }
            glPushMatrix();
            glTranslatef(x, y, z);
            if (solid) {
                DrawMesh(cube);
            } else {
                DrawMeshLines(cube);
            }
            glPopMatrix();
        }
    }
}

}  // namespace

bool BoxFieldsDraw(const FrameInput& frame) {
    BoxFieldsState& state = boxFields;
    BoxFieldsTick(state, frame.frameStep);

    const Vec3 eye = BoxFieldsEye(state);
    camera.eyeX = eye.x;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    if (Texture* noise = sharedTextures[BoxFieldsNextNoise(state)]) {
        BindTexture(*noise);
    }
    EnableCap(GL_TEXTURE_2D);
    DisableCap(GL_BLEND);

    DrawField(state.clock, 500.0f, -100.0f, true);
    DrawField(state.clock, -500.0f, 100.0f, false);

    // Deliberately left off: the rest of the show is drawn in painter's order.
    glDisable(GL_DEPTH_TEST);

    PushTextSpace();
    EnableCap(GL_TEXTURE_2D);
    SetSphereMapping(true);
    SetTextPosition(smallFont, -1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "mystery of LIFE. left.");
    glPopMatrix();

    return BoxFieldsVisitEnds(state);
}

void BoxFieldsStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, boxFields);
    AddStateBlock(blocks, camera);
}
