// Torus nest: seven concentric wire and noise-textured tori spinning about a diagonal axis.
#include "scenes/torus_nest.h"

#include <cmath>

#include "gfx/gl_state.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// The scene's single-precision constants: two slightly different divisors so that the camera's
// x and z sway out of step.
constexpr float kSwayTurnX = 6.28298f;
constexpr float kSwayTurnZ = 6.28318f;
constexpr float kVisitLength = 20.0f;  // a visit ends once the clock passes this

thread_local Camera camera;
thread_local Mesh rings[kTorusNestRings];
// The rings never change shape, so the outlined ones are recorded once (RecordMeshLines).
thread_local GLuint ringLines[kTorusNestRings] = {};

}  // namespace

thread_local TorusNestState torusNest;

Vec3 TorusNestEye(float clock) {
    const float z = (SinF(clock / kSwayTurnZ) + 1.0f) * 50.0f;
    const float x = (SinF(clock / kSwayTurnX) + 1.0f) * 50.0f;
    return Vec3{x, 0.0f, z};
}

int32_t TorusNestNextNoise(TorusNestState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

float TorusNestRingAngle(float clock, int32_t ring) {
    return static_cast<float>(ring + 2) * clock;
}

bool TorusNestRingIsSolid(int32_t ring) {
    return ring % 2 == 1;
}

bool TorusNestVisitEnds(TorusNestState& state) {
    if (state.clock > kVisitLength) {
        state.clock = 0.0f;
        return true;
    }
    return false;
}

void TorusNestInit() {
    CameraSet(camera, 100.0f, 0.0f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    for (int32_t i = 0; i < kTorusNestRings; ++i) {
        BuildTorus(rings[i], 16, 32, 50.0f + 20.0f * static_cast<float>(i), 10.0f);
        PrepareDeform(rings[i]);
        PrepareTopFirst(rings[i]);
        if (!TorusNestRingIsSolid(i)) {
            ringLines[i] = RecordMeshLines(ringLines[i], &rings[i], 1);
        }
    }
}

bool TorusNestDraw(const FrameInput& frame) {
    TorusNestState& state = torusNest;
    state.clock = state.clock + frame.frameStep;

    const Vec3 eye = TorusNestEye(state.clock);
    camera.eyeX = eye.x;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    const int32_t entry = TorusNestNextNoise(state);
    EnableCap(GL_TEXTURE_2D);
    bool opaque = false;
    if (Texture* noise = sharedTextures[entry]) {
        BindTexture(*noise);
        opaque = TextureOpaque(noise->name);
    }

    // The camera sits inside the outer rings, which overlap each other and themselves: drawn top
    // first, the hidden layers are not textured.
    const bool topFirst = TopFirstKeepsPicture(opaque);
    if (topFirst) {
        BeginTopFirst();
    }
    for (int32_t n = 0; n < kTorusNestRings; ++n) {
        const int32_t i = topFirst ? kTorusNestRings - 1 - n : n;
        glPushMatrix();
        glRotatef(TorusNestRingAngle(state.clock, i), 0.0f, 1.0f, 1.0f);
        if (TorusNestRingIsSolid(i)) {
            if (topFirst) {
                DrawMeshTopFirst(rings[i]);
            } else {
                DrawMesh(rings[i]);
            }
        } else if (topFirst) {
            // The recorded outline, untextured as it was recorded.
            DisableCap(GL_TEXTURE_2D);
            DrawMeshLinesTopFirst(rings[i]);
            EnableCap(GL_TEXTURE_2D);
        } else {
            CallMeshLines(ringLines[i], &rings[i], 1);
        }
        glPopMatrix();
    }
    if (topFirst) {
        EndTopFirst();
    }

    return TorusNestVisitEnds(state);
}

void TorusNestStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, torusNest);
    AddStateBlock(blocks, camera);
}
